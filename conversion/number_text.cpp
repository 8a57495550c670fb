#include "number_text.h"

#include "nearest_double.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace tornevo {

namespace {

[[noreturn]] void Fail(FailureKind kind) { throw CalculationFailure(kind); }

// Walks the text one character at a time, stepping over spaces, tabs and line feeds
// wherever they stand, so that "30 00" reads like "3000". Each character is visited once.
class BlankSkippingCursor {
public:
    explicit BlankSkippingCursor(std::string_view text) : text_(text) { skipBlanks(); }

    bool atEnd() const { return pos_ == text_.size(); }
    char peek() const { return atEnd() ? '\0' : text_[pos_]; }
    void advance()
    {
        ++pos_;
        skipBlanks();
    }
    bool take(char wanted)
    {
        if (atEnd() || text_[pos_] != wanted)
            return false;
        advance();
        return true;
    }
    bool takeLetter(char upper) { return take(upper) || take(static_cast<char>(upper - 'A' + 'a')); }

private:
    void skipBlanks()
    {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\n'))
            ++pos_;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigitValue(char c)
{
    if (IsDecimalDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Reads the digits after "&H" or "&O". Values that fit in 16 bits are a 16-bit two's
// complement number (&HFFFF is -1), values that fit in 32 bits a 32-bit one (&HFFFFFFFF
// is -1, as the classic integer literals read); anything longer is the plain, unsigned
// value, rounded to the nearest double.
double ReadRadixNumber(BlankSkippingCursor& cursor, int bitsPerDigit)
{
    const int radix = 1 << bitsPerDigit;
    std::string bits; // the value in binary, leading zeros dropped
    std::uint64_t small = 0;
    for (int digit; (digit = HexDigitValue(cursor.peek())) >= 0 && digit < radix; cursor.advance()) {
        for (int bit = bitsPerDigit - 1; bit >= 0; --bit) {
            const bool one = (digit >> bit) & 1;
            if (one || !bits.empty())
                bits.push_back(one ? '1' : '0');
        }
        if (bits.size() <= 32)
            small = (small << bitsPerDigit) | static_cast<std::uint64_t>(digit);
    }
    if (bits.size() <= 16)
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(small));
    if (bits.size() <= 32)
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(small));

    // 2^1024 and beyond overflow; below it the rounding decides.
    const double value = bits.size() > 1024 ? HUGE_VAL : NearestDouble(bits, 2, 0);
    if (std::isinf(value))
        Fail(FailureKind::Overflow);
    return value;
}

// An exponent this large already overflows or rounds to zero whatever the digits; clamping
// it keeps every sum below in range however long the text is.
constexpr std::int64_t ExponentClamp = 1'000'000'000'000;
// A magnitude below 10^-400 rounds to zero and one of 10^400 or more overflows; between
// them the rounding of the numeral decides.
constexpr std::int64_t DecimalExponentGuard = 400;

double ReadDecimalNumber(BlankSkippingCursor& cursor)
{
    bool negative = false;
    if (cursor.take('-'))
        negative = true;
    else
        cursor.take('+');

    // The value is 0.DIGITS x 10^pointPosition, once leading zeros are dropped.
    std::string digits;
    std::int64_t pointPosition = 0;
    bool sawDigit = false;
    for (; IsDecimalDigit(cursor.peek()); cursor.advance()) {
        sawDigit = true;
        if (digits.empty() && cursor.peek() == '0')
            continue;
        digits.push_back(cursor.peek());
        ++pointPosition;
    }
    if (cursor.take('.')) {
        for (; IsDecimalDigit(cursor.peek()); cursor.advance()) {
            sawDigit = true;
            if (digits.empty() && cursor.peek() == '0') {
                --pointPosition;
                continue;
            }
            digits.push_back(cursor.peek());
        }
    }
    if (!sawDigit)
        return 0.0;

    // An exponent counts only when a digit follows the E and its sign: "3E" reads as 3.
    // The cursor cannot step back, so the E is taken only after looking past it.
    std::int64_t exponent = 0;
    if (cursor.peek() == 'E' || cursor.peek() == 'e') {
        BlankSkippingCursor lookahead = cursor;
        lookahead.advance();
        bool negativeExponent = false;
        if (lookahead.take('-'))
            negativeExponent = true;
        else
            lookahead.take('+');
        if (IsDecimalDigit(lookahead.peek())) {
            for (; IsDecimalDigit(lookahead.peek()); lookahead.advance())
                exponent = std::min(exponent * 10 + (lookahead.peek() - '0'), ExponentClamp);
            if (negativeExponent)
                exponent = -exponent;
            cursor = lookahead;
        }
    }

    while (!digits.empty() && digits.back() == '0')
        digits.pop_back();
    if (digits.empty()) // a zero mantissa stays zero whatever the exponent
        return negative ? -0.0 : 0.0;

    // The magnitude lies in [10^(decimalExponent-1), 10^decimalExponent).
    const std::int64_t decimalExponent = pointPosition + exponent;
    if (decimalExponent > DecimalExponentGuard)
        Fail(FailureKind::Overflow);
    if (decimalExponent < -DecimalExponentGuard)
        return negative ? -0.0 : 0.0;

    // Digits past the 800th only tell whether the value lies a little above the others: no
    // halfway point between two doubles has more than 767 significant digits, so one nonzero
    // digit in their place rounds the same way (the last digit is not 0).
    constexpr std::size_t KeptDigits = 800;
    if (digits.size() > KeptDigits) {
        digits.resize(KeptDigits);
        digits.push_back('1');
    }
    const double magnitude =
        NearestDouble(digits, 10, static_cast<int>(decimalExponent - static_cast<std::int64_t>(digits.size())));
    if (std::isinf(magnitude))
        Fail(FailureKind::Overflow);
    return negative ? -magnitude : magnitude;
}

} // namespace

double TextToNumber(std::string_view text)
{
    BlankSkippingCursor cursor(text);
    if (cursor.peek() == '&') {
        BlankSkippingCursor afterAmpersand = cursor;
        afterAmpersand.advance();
        if (afterAmpersand.takeLetter('H'))
            return ReadRadixNumber(afterAmpersand, 4);
        if (afterAmpersand.takeLetter('O'))
            return ReadRadixNumber(afterAmpersand, 3);
        return 0.0;
    }
    return ReadDecimalNumber(cursor);
}

std::int32_t RoundToLong(double value)
{
    constexpr double lowest = std::numeric_limits<std::int32_t>::min();
    constexpr double highest = std::numeric_limits<std::int32_t>::max();
    // Also turns away NaN and the infinities, for which every comparison below is meaningless.
    if (!(value >= lowest - 1.0 && value <= highest + 1.0))
        Fail(FailureKind::Overflow);

    // Rounds half to even without relying on the floating-point rounding mode.
    const double floor = std::floor(value);
    const double fraction = value - floor; // exact in this range
    double rounded = floor;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2.0) != 0.0))
        rounded = floor + 1.0;

    if (rounded < lowest || rounded > highest)
        Fail(FailureKind::Overflow);
    return static_cast<std::int32_t>(rounded);
}

std::string LongToText(std::int32_t value)
{
    char buffer[16];
    buffer[0] = ' ';
    char* const start = value < 0 ? buffer : buffer + 1; // to_chars writes the minus sign itself
    const auto [end, error] = std::to_chars(start, std::end(buffer), value);
    return std::string(buffer, end);
}

} // namespace tornevo
