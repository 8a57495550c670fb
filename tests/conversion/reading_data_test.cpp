// Reading numbers against independent sources: a published table of numerals with their
// correctly rounded doubles, the C library's reader on random numerals, a comma-decimal
// locale, and texts of several megabytes.
#include "number_text.h"
#include "rcf_rpm.h"

#include <gtest/gtest.h>

#include <charconv>
#include <chrono>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <initializer_list>
#include <locale>
#include <random>
#include <stdexcept>
#include <string>

namespace tornevo {
namespace {

#ifdef TORNEVO_SHORT_TESTS
constexpr int RandomNumerals = 20'000;
#else
constexpr int RandomNumerals = 200'000;
#endif

// std::bit_cast, which the WebAssembly build's standard library lacks.
template <class To, class From>
To BitCast(const From& from)
{
    static_assert(sizeof(To) == sizeof(From));
    To to;
    std::memcpy(&to, &from, sizeof to);
    return to;
}

// What TextToNumber makes of a text: the bits of the double, or the failure.
std::string Outcome(std::string_view text)
{
    try {
        char hex[17];
        const auto bits = BitCast<std::uint64_t>(TextToNumber(text));
        std::snprintf(hex, sizeof hex, "%016llX", static_cast<unsigned long long>(bits));
        return hex;
    } catch (const CalculationFailure& failure) {
        return failure.what();
    }
}

std::string ExpectedOutcome(double value)
{
    if (std::isinf(value))
        return "Overflow";
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llX", static_cast<unsigned long long>(BitCast<std::uint64_t>(value)));
    return hex;
}

// Puts back the C and C++ locales as they were.
class LocaleGuard {
public:
    LocaleGuard() : cLocale_(std::setlocale(LC_ALL, nullptr)) {}
    ~LocaleGuard()
    {
        std::locale::global(cppLocale_);
        std::setlocale(LC_ALL, cLocale_.c_str());
    }

private:
    std::string cLocale_;
    std::locale cppLocale_;
};

TEST(TextToNumber, ReadsEveryNumeralOfTheParseNumberTable)
{
    std::ifstream table(TORNEVO_F64_DATA);
    ASSERT_TRUE(table) << "cannot open " << TORNEVO_F64_DATA;
    int numerals = 0;
    int mismatches = 0;
    for (std::string line; std::getline(table, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        const auto tab = line.find('\t');
        const auto secondTab = line.find('\t', tab + 1);
        ASSERT_EQ(tab, 16u) << line;
        std::uint64_t bits = 0;
        ASSERT_EQ(std::from_chars(line.data(), line.data() + tab, bits, 16).ptr, line.data() + tab) << line;
        const std::string numeral = line.substr(tab + 1, secondTab - tab - 1);
        ++numerals;
        const std::string expected = ExpectedOutcome(BitCast<double>(bits));
        const std::string actual = Outcome(numeral);
        if (actual != expected && ++mismatches <= 10)
            ADD_FAILURE() << "\"" << numeral << "\" read as " << actual << ", expected " << expected;
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(numerals, 16868) << "the table was not read to its end";
}

// Random well-formed numerals, with blanks scattered through them and text after them,
// must read exactly as the C library reads the bare numeral in the "C" locale.
TEST(TextToNumber, AgreesWithTheCLibraryOnRandomNumerals)
{
    LocaleGuard guard;
    ASSERT_TRUE(std::setlocale(LC_ALL, "C"));
    std::mt19937_64 random(20261207);
    auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    auto digits = [&](int count) {
        std::string run;
        for (int i = 0; i < count; ++i)
            run.push_back(static_cast<char>('0' + below(10)));
        return run;
    };
    auto runLength = [&] { return below(4) == 0 ? below(40) : below(8); };
    const char* const signs[] = {"", "+", "-"};
    const char blanks[] = {' ', '\t', '\n'};
    const char* const tails[] = {"", ",5", " cm", "x", "%", ",000", "\r9"};

    int mismatches = 0;
    for (int i = 0; i < RandomNumerals; ++i) {
        std::string numeral = signs[below(3)];
        std::string mantissa = digits(runLength());
        if (below(2)) {
            mantissa += '.';
            mantissa += digits(runLength());
        }
        if (mantissa.find_first_of("0123456789") == std::string::npos)
            mantissa += digits(1 + below(3));
        numeral += mantissa;
        if (below(2)) {
            numeral += "eE"[below(2)];
            numeral += signs[below(3)];
            numeral += below(4) == 0 ? std::to_string(280 + below(60)) : digits(1 + below(3));
        }

        char* end = nullptr;
        const double oracle = std::strtod(numeral.c_str(), &end);
        ASSERT_EQ(end, numeral.c_str() + numeral.size()) << numeral;

        std::string text;
        for (const char c : numeral) {
            while (below(5) == 0)
                text += blanks[below(3)];
            text += c;
        }
        text += tails[below(7)];

        const std::string expected = ExpectedOutcome(oracle);
        const std::string actual = Outcome(text);
        if (actual != expected && ++mismatches <= 10)
            ADD_FAILURE() << "\"" << text << "\" read as " << actual << ", expected " << expected;
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(TextToNumber, IgnoresACommaDecimalLocale)
{
    LocaleGuard guard;
    // German as glibc names it, then as the Windows C runtime does.
    const char* name = nullptr;
    for (const char* candidate : {"de_DE.UTF-8", "German_Germany.1252"}) {
        if (std::setlocale(LC_ALL, candidate)) {
            name = candidate;
            break;
        }
    }
    if (!name)
        GTEST_SKIP() << "no German locale is installed (scripts/install-deps generates de_DE.UTF-8)";
    // MinGW's C++ library opens no named locale; the C locale alone is then in force.
    try {
        std::locale::global(std::locale(name));
    } catch (const std::runtime_error&) {
    }
    // The locale is in force: the C library now takes the comma as the decimal separator.
    // musl (the WebAssembly build's C library) accepts the name but keeps the period.
    if (std::string_view(std::localeconv()->decimal_point) == ".")
        GTEST_SKIP() << "this C library has no locale with a comma as the decimal separator";
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    ASSERT_EQ(std::strtod("6,5", nullptr), 6.5);

    const struct {
        const char* text;
        double expected;
    } cases[] = {{"6.5", 6.5}, {"6,5", 6}, {"1.118", 1.118}, {"3.000", 3}, {"1.5E3", 1500}, {"1.000,5", 1}};
    for (const auto& c : cases)
        EXPECT_EQ(TextToNumber(c.text), c.expected) << c.text;
    EXPECT_EQ(LongToText(1234567), " 1234567");
    EXPECT_EQ(ComputeAnswer({"10", "1.118", false, true}).text, " 100");
}

// A 5 MB paste reads in one pass. A quadratic reader would take hours on these texts, so the
// bound is generous enough for sanitizer and coverage builds on a busy machine.
TEST(TextToNumber, ReadsMegabytesInLinearTime)
{
    constexpr std::size_t Half = 2'500'000;
    std::string zeros; // "0 0 0 ...", 5 MB
    for (std::size_t i = 0; i < Half; ++i)
        zeros += "0 ";
    const std::string exponent = std::to_string(Half);

    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(TextToNumber("1" + zeros + "E-" + exponent), 1.0);
    EXPECT_EQ(TextToNumber("-." + zeros + "5 E " + std::to_string(Half + 1)), -5.0);
    EXPECT_EQ(TextToNumber(std::string(2 * Half, ' ') + "42"), 42.0);
    EXPECT_EQ(TextToNumber("0" + std::string(2 * Half, '0') + "7.25"), 7.25);
    EXPECT_EQ(TextToNumber("&H" + zeros + "F F F F"), -1.0);
    EXPECT_EQ(Outcome("9" + zeros), "Overflow");
    EXPECT_EQ(Outcome("&HF" + zeros), "Overflow");
    EXPECT_EQ(Outcome("1E" + std::string(2 * Half, '9')), "Overflow");
    EXPECT_EQ(Outcome("1E-" + std::string(2 * Half, '9')), ExpectedOutcome(0.0));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_LT(elapsed, std::chrono::seconds(20));
}

} // namespace
} // namespace tornevo
