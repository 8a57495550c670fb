// libFuzzer target for the conversion core. Input layout: byte 0 picks the units (bit 0: inches)
// and the direction (bit 1: from RCF); byte 1 picks where the rest splits into the radius text
// and the value text. Every contract violation aborts with a message.
#include "number_text.h"
#include "rcf_rpm.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

namespace {

using namespace tornevo;

[[noreturn]] void Broken(const char* what, std::string_view detail)
{
    std::fprintf(stderr, "contract broken: %s [%.*s]\n", what, static_cast<int>(std::min<std::size_t>(detail.size(), 200)),
                 detail.data());
    std::abort();
}

#define CHECK(condition, detail)                                                                                       \
    do {                                                                                                               \
        if (!(condition))                                                                                              \
            Broken(#condition, detail);                                                                                \
    } while (false)

struct Reading {
    bool overflow = false;
    double value = 0;
    bool operator==(const Reading& other) const
    {
        return overflow == other.overflow && std::memcmp(&value, &other.value, sizeof value) == 0;
    }
};

// TextToNumber returns a finite double or fails with Overflow; nothing else.
Reading Read(std::string_view text)
{
    try {
        const double value = TextToNumber(text);
        CHECK(std::isfinite(value), text);
        return {false, value};
    } catch (const CalculationFailure& failure) {
        CHECK(failure.kind() == FailureKind::Overflow, text);
        return {true, 0};
    } catch (...) {
        Broken("TextToNumber threw something other than CalculationFailure", text);
    }
}

std::string WithoutBlanks(std::string_view text)
{
    std::string stripped;
    for (const char c : text)
        if (c != ' ' && c != '\t' && c != '\n')
            stripped.push_back(c);
    return stripped;
}

// A plain decimal numeral ("-12.5e-3"), which the standard library's reader takes whole: its
// correctly rounded double must be what TextToNumber reads, to the bit.
void CheckAgainstTheStandardReader(std::string_view text)
{
    const std::string numeral = WithoutBlanks(text);
    const std::size_t exponent = numeral.find_first_of("eE");
    const auto plain = [](std::string_view part, const char* allowed) {
        return part.find_first_not_of(allowed) == std::string_view::npos;
    };
    if (numeral.empty() || numeral[0] == '+' || !plain(numeral.substr(0, exponent), "-.0123456789")
        || (exponent != std::string::npos && !plain(numeral.substr(exponent + 1), "-+0123456789")))
        return;
    double expected = 0;
    const auto [end, error] = std::from_chars(numeral.data(), numeral.data() + numeral.size(), expected);
    if (end != numeral.data() + numeral.size() || error != std::errc())
        return; // not a whole numeral, or beyond a double's range (whose two sides it does not tell apart)
    CHECK(Read(text) == (Reading{false, expected}), text);
}

// A space or a minus, then digits without leading zeros; at most 11 characters; reads back
// as a 32-bit value that LongToText writes the same way.
std::int32_t CheckAnswerText(const std::string& text)
{
    CHECK(text.size() >= 2 && text.size() <= 11, text);
    CHECK(text[0] == ' ' || text[0] == '-', text);
    CHECK(std::all_of(text.begin() + 1, text.end(), [](char c) { return c >= '0' && c <= '9'; }), text);
    CHECK(text[1] != '0' || text == " 0", text);
    std::int64_t value = 0;
    const char* const digitsEnd = text.data() + text.size();
    CHECK(std::from_chars(text.data() + 1, digitsEnd, value).ptr == digitsEnd, text);
    if (text[0] == '-')
        value = -value;
    CHECK(value >= std::numeric_limits<std::int32_t>::min() && value <= std::numeric_limits<std::int32_t>::max(), text);
    CHECK(LongToText(static_cast<std::int32_t>(value)) == text, text);
    return static_cast<std::int32_t>(value);
}

void CheckCalculation(std::string_view radiusText, std::string_view valueText, bool inches, bool fromRcf)
{
    const Reading radius = Read(radiusText);
    const Reading value = Read(valueText);
    try {
        const Answer answer = ComputeAnswer({radiusText, valueText, inches, fromRcf});
        CHECK(!radius.overflow && !value.overflow, "answered although a text overflows");
        CHECK(answer.quantity == (fromRcf ? Quantity::Rpm : Quantity::Rcf), answer.text);
        const std::int32_t shown = CheckAnswerText(answer.text);
        if (fromRcf)
            CHECK(shown >= 0, answer.text);
        else
            CHECK(shown == 0 || (shown < 0) == (radius.value < 0), answer.text);
    } catch (const CalculationFailure& failure) {
        // The texts are read first, so their overflow comes before any other failure.
        if (radius.overflow || value.overflow)
            CHECK(failure.kind() == FailureKind::Overflow, failure.what());
        // Only the root of a quotient divides or asks for a root.
        if (failure.kind() != FailureKind::Overflow)
            CHECK(fromRcf, failure.what());
    } catch (...) {
        Broken("ComputeAnswer threw something other than CalculationFailure", radiusText);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view all(reinterpret_cast<const char*>(data), size);

    // Blanks anywhere do not change what a text reads as.
    CHECK(Read(all) == Read(WithoutBlanks(all)), all);
    CheckAgainstTheStandardReader(all);

    if (size < 2)
        return 0;
    const bool inches = data[0] & 1;
    const bool fromRcf = data[0] & 2;
    const std::string_view texts = all.substr(2);
    const std::size_t split = data[1] % (texts.size() + 1);
    CheckCalculation(texts.substr(0, split), texts.substr(split), inches, fromRcf);
    return 0;
}
