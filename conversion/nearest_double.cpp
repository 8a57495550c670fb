#include "nearest_double.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

namespace tornevo {

namespace {

// A whole number of any size: 32-bit words, least significant first, no leading zero word.
class Natural {
public:
    explicit Natural(std::uint32_t value = 0)
    {
        if (value)
            words_.push_back(value);
    }

    bool isZero() const { return words_.empty(); }

    int bitLength() const
    {
        if (words_.empty())
            return 0;
        int bits = 32 * static_cast<int>(words_.size() - 1);
        for (std::uint32_t top = words_.back(); top; top >>= 1)
            ++bits;
        return bits;
    }

    void multiplyAdd(std::uint32_t factor, std::uint32_t addend)
    {
        std::uint64_t carry = addend;
        for (std::uint32_t& word : words_) {
            carry += std::uint64_t{word} * factor;
            word = static_cast<std::uint32_t>(carry);
            carry >>= 32;
        }
        if (carry)
            words_.push_back(static_cast<std::uint32_t>(carry));
    }

    void multiplyByPowerOfTen(int power)
    {
        for (; power >= 9; power -= 9)
            multiplyAdd(1'000'000'000, 0);
        for (; power > 0; --power)
            multiplyAdd(10, 0);
    }

    void shiftLeft(int bits)
    {
        const std::size_t whole = static_cast<std::size_t>(bits / 32);
        const std::size_t size = words_.size();
        words_.resize(size + whole + 1);
        // From the top down, so that each word is read before it is overwritten.
        auto word = [&](std::size_t i, std::size_t below) -> std::uint64_t { return i >= below ? words_[i - below] : 0; };
        for (std::size_t i = words_.size(); i-- > 0;) {
            const std::uint64_t pair = word(i, whole) << 32 | word(i, whole + 1);
            words_[i] = static_cast<std::uint32_t>((pair << (bits % 32)) >> 32);
        }
        trim();
    }

    // this -= smaller, where smaller <= this.
    void subtract(const Natural& smaller)
    {
        std::int64_t borrow = 0;
        for (std::size_t i = 0; i < words_.size(); ++i) {
            std::int64_t difference = std::int64_t{words_[i]} - borrow - (i < smaller.words_.size() ? smaller.words_[i] : 0);
            borrow = difference < 0;
            words_[i] = static_cast<std::uint32_t>(difference + (borrow << 32));
        }
        trim();
    }

    friend bool operator>=(const Natural& a, const Natural& b)
    {
        if (a.words_.size() != b.words_.size())
            return a.words_.size() > b.words_.size();
        return !std::lexicographical_compare(a.words_.rbegin(), a.words_.rend(), b.words_.rbegin(), b.words_.rend());
    }

private:
    void trim()
    {
        while (!words_.empty() && words_.back() == 0)
            words_.pop_back();
    }

    std::vector<std::uint32_t> words_;
};

double FromBits(std::uint64_t bits)
{
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

constexpr std::uint64_t InfinityBits = 0x7FF0'0000'0000'0000;
// The last bit of a subnormal is worth 2^-1074.
constexpr int SmallestExponent = -1074;

// Rounds numerator / denominator, both nonzero.
double NearestDoubleToQuotient(Natural numerator, Natural denominator)
{
    // Scale by 2^shift so that the quotient has 54 or 55 bits: the double's 53, one to round
    // on, and one that estimating from bit lengths may add. Below the normal range fewer
    // bits are kept, down to the one worth 2^-1074.
    const int shift = std::min(54 - (numerator.bitLength() - denominator.bitLength()), 1 - SmallestExponent);
    if (shift > 0)
        numerator.shiftLeft(shift);
    else
        denominator.shiftLeft(-shift);

    // Long division, one bit at a time, the remainder doubling as the divisor stays put.
    denominator.shiftLeft(54);
    std::uint64_t quotient = 0;
    for (int bit = 54; bit >= 0; --bit) {
        quotient <<= 1;
        if (numerator >= denominator) {
            numerator.subtract(denominator);
            quotient |= 1;
        }
        numerator.shiftLeft(1);
    }
    bool inexact = !numerator.isZero();
    int exponent = 1 - shift; // of the mantissa's last bit, once the rounding bit is dropped
    if (quotient >> 54) {
        inexact = inexact || (quotient & 1);
        quotient >>= 1;
        ++exponent;
    }
    std::uint64_t mantissa = quotient >> 1;
    if ((quotient & 1) && (inexact || (mantissa & 1)))
        ++mantissa;

    // mantissa x 2^exponent, with the mantissa below 2^52 only for subnormals (exponent
    // -1074) and at most 2^53 after rounding up. Adding the mantissa to the shifted exponent
    // carries its leading bit into the exponent field, which makes every case the same sum.
    const std::uint64_t bits = (static_cast<std::uint64_t>(exponent - SmallestExponent) << 52) + mantissa;
    return FromBits(std::min(bits, InfinityBits));
}

} // namespace

double NearestDouble(std::string_view digits, unsigned radix, int powerOfTen)
{
    Natural numerator;
    for (const char digit : digits)
        numerator.multiplyAdd(radix, static_cast<std::uint32_t>(digit - '0'));
    if (numerator.isZero())
        return 0.0;

    // Small enough to be exact as doubles, so one correctly rounded operation gives the answer.
    constexpr double ExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                           1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (numerator.bitLength() <= 53 && powerOfTen >= -22 && powerOfTen <= 22) {
        double whole = 0;
        for (const char digit : digits)
            whole = whole * radix + (digit - '0');
        return powerOfTen >= 0 ? whole * ExactPowersOfTen[powerOfTen] : whole / ExactPowersOfTen[-powerOfTen];
    }

    Natural denominator(1);
    if (powerOfTen >= 0)
        numerator.multiplyByPowerOfTen(powerOfTen);
    else
        denominator.multiplyByPowerOfTen(-powerOfTen);
    return NearestDoubleToQuotient(std::move(numerator), std::move(denominator));
}

} // namespace tornevo
