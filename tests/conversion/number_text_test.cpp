#include "number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <string>

namespace tornevo {
namespace {

struct Reading {
    std::string text;
    double expected;
};

void ExpectReadings(std::initializer_list<Reading> readings)
{
    for (const Reading& reading : readings) {
        SCOPED_TRACE("text \"" + reading.text + "\"");
        EXPECT_EQ(TextToNumber(reading.text), reading.expected);
    }
}

FailureKind KindOf(auto&& action)
{
    try {
        action();
    } catch (const CalculationFailure& failure) {
        return failure.kind();
    }
    ADD_FAILURE() << "no CalculationFailure was thrown";
    return FailureKind::InvalidArgument;
}

void ExpectOverflow(std::initializer_list<std::string> texts)
{
    for (const std::string& text : texts) {
        SCOPED_TRACE("text \"" + text.substr(0, 60) + "\"");
        EXPECT_EQ(KindOf([&] { TextToNumber(text); }), FailureKind::Overflow);
    }
}

constexpr double DenormMin = std::numeric_limits<double>::denorm_min();
constexpr double Largest = std::numeric_limits<double>::max();

TEST(TextToNumber, BlanksAreIgnoredWhereverTheyStand)
{
    ExpectReadings({
        {"", 0}, {"   ", 0}, {" \t\n ", 0},
        {"30 00", 3000}, {" 1 2 . 5 ", 12.5}, {"1\t2\n3", 123},
        {"- 5", -5}, {"1 e 3", 1000}, {"2 E - 1", 0.2}, {"& H F F", 255},
        // Only space, tab and line feed are blanks.
        {"1\r2", 1}, {"\r5", 0}, {"1\xC2\xA0" "2", 1}, {"1\v2", 1},
    });
}

TEST(TextToNumber, Signs)
{
    ExpectReadings({
        {"-5", -5}, {"+5", 5}, {"+ 7.25", 7.25}, {"-.5", -0.5}, {"5-", 5},
        {"-", 0}, {"+", 0}, {"--5", 0}, {"+-5", 0}, {"-+5", 0}, {"-abc", 0},
    });
    EXPECT_TRUE(std::signbit(TextToNumber("-0")));
}

TEST(TextToNumber, DecimalsAndWhereReadingStops)
{
    ExpectReadings({
        {"6", 6}, {"1.118", 1.118}, {"0.1", 0.1}, {".5", 0.5}, {"5.", 5}, {".", 0},
        {"00012", 12}, {"0.000", 0}, {"1.2.3", 1.2},
        {"3,000", 3}, {"6,5", 6}, {"12.5 cm", 12.5}, {"12.5cm", 12.5},
        {"abc", 0}, {"x5", 0}, {"$5", 0}, {"\xE2\x82\xAC" "5", 0}, {"inf", 0}, {"nan", 0},
        {"infinity", 0}, {"0x10", 0}, {"5%", 5},
        {"123456789012345678901234567890", 1.2345678901234568e29},
        {"9007199254740993", 9007199254740992.0}, // a tie between doubles: to even
        {"9007199254740993.000000000000000000001", 9007199254740994.0},
    });
}

TEST(TextToNumber, Exponents)
{
    ExpectReadings({
        {"3E3", 3000}, {"3e3", 3000}, {"1E+2", 100}, {"2.5E-3", 0.0025}, {".5E1", 5},
        {"1E0010", 1e10}, {"5.e1", 50}, {"1e1e1", 10},
        // An E without digits after it is not an exponent.
        {"3E", 3}, {"3E+", 3}, {"3E-", 3}, {"3E-x", 3}, {"3Ex", 3}, {"E5", 0}, {".E5", 0},
        {"3D3", 3}, // D is not an exponent letter
        {"1.7976931348623157E308", Largest},
        {"2.2250738585072014E-308", std::numeric_limits<double>::min()},
        {"4.9406564584124654E-324", DenormMin},
        {"2.4703282292062328E-324", DenormMin}, // just above half the smallest subnormal
        {"2.4703282292062327E-324", 0},         // just below it
        {"1E-400", 0}, {"-1E-400", 0}, {"1E-99999999999999999999999999", 0},
        {"0E99999999999999999999999999", 0}, {"0.000E400", 0},
        {"0." + std::string(500, '0') + "1E800", 1e299},
        {"1" + std::string(500, '0') + "E-800", 1e-300},
    });
}

// Half the smallest subnormal, 2^-1075, written out in full takes 752 significant digits:
// 5^1075 x 10^-1075. Exactly half rounds to the even neighbour, 0; any digit above it, however
// far out, rounds up.
TEST(TextToNumber, HalfwayPointsWrittenInFull)
{
    std::string fivePower = "1"; // decimal digits, least significant first
    for (int i = 0; i < 1075; ++i) {
        int carry = 0;
        for (char& digit : fivePower) {
            carry += (digit - '0') * 5;
            digit = static_cast<char>('0' + carry % 10);
            carry /= 10;
        }
        for (; carry; carry /= 10)
            fivePower.push_back(static_cast<char>('0' + carry % 10));
    }
    const std::string half(fivePower.rbegin(), fivePower.rend());
    ASSERT_EQ(half.size(), 752u);
    ExpectReadings({
        {half + "E-1075", 0},
        {half + std::string(100, '0') + "1E-1176", DenormMin},
        {half + std::string(100, '0') + "E-1175", 0},
        {"-" + half + "9E-1076", -DenormMin},
    });
}

TEST(TextToNumber, BeyondTheDoubleRangeOverflows)
{
    ExpectOverflow({
        "1E309", "-1E309", "1.7976931348623159E308", "0.0000000001E319",
        "1E99999999999999999999999999", "1" + std::string(400, '0'),
        "&H1" + std::string(256, '0'), "&O1" + std::string(342, '0'),
    });
    // Just below the overflow threshold it still rounds to the largest double.
    EXPECT_EQ(TextToNumber("1.7976931348623158E308"), Largest);
}

TEST(TextToNumber, RadixPrefixes)
{
    ExpectReadings({
        {"&HFFFF", -1}, {"&hffff", -1}, {"&HFF", 255}, {"&H7FFF", 32767}, {"&H8000", -32768},
        {"&H0000FFFF", -1}, {"&O17", 15}, {"&o777", 511}, {"&O177777", -1}, {"&O100000", -32768},
        // Beyond 16 bits the digits are a 32-bit two's-complement value, then a plain one.
        {"&H10000", 65536}, {"&HFFFFFFFF", -1}, {"&H80000000", -2147483648.0},
        {"&O37777777777", -1}, {"&H100000000", 4294967296.0},
        {"&H20000000000001", 9007199254740992.0}, {"&H20000000000003", 9007199254740996.0},
        // No digits, digits beyond the radix, and prefixes that are not one.
        {"&H", 0}, {"&HG", 0}, {"&Hz", 0}, {"&O8", 0}, {"&O78", 7}, {"&HFF.5", 255}, {"&HFFE2", -30},
        {"&", 0}, {"&X5", 0}, {"&5", 0}, {"-&H5", 0}, {"&H-5", 0},
    });
}

TEST(RoundToLong, RoundsHalvesToEven)
{
    const struct {
        double value;
        std::int32_t expected;
    } cases[] = {
        {0.5, 0}, {1.5, 2}, {2.5, 2}, {3.5, 4}, {-0.5, 0}, {-1.5, -2}, {-2.5, -2}, {-3.5, -4},
        {2.72, 3}, {-2.72, -3}, {0.49999999999999994, 0}, {-0.49999999999999994, 0},
        {0.5000000000000001, 1}, {-0.5000000000000001, -1}, {-0.0, 0}, {1e-300, 0}, {-1e-300, 0},
        {2147483647.0, 2147483647}, {2147483647.4999998, 2147483647},
        {2147483646.5, 2147483646}, {-2147483648.0, -2147483648}, {std::nextafter(-2147483648.5, 0.0), -2147483648},
        {-2147483648.5, -2147483648}, // the even neighbour is in range
        {-2147483647.5, -2147483648},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "value " << std::hexfloat << c.value);
        EXPECT_EQ(RoundToLong(c.value), c.expected);
    }
}

TEST(RoundToLong, OutsideTheInt32RangeOverflows)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (const double value : {2147483647.5, 2147483648.0, std::nextafter(-2147483648.5, -inf), -2147483649.0,
                               1e300, -1e300, inf, -inf, nan}) {
        SCOPED_TRACE(testing::Message() << "value " << value);
        EXPECT_EQ(KindOf([&] { RoundToLong(value); }), FailureKind::Overflow);
    }
}

TEST(LongToText, SpaceOrMinusThenDigits)
{
    const struct {
        std::int32_t value;
        const char* expected;
    } cases[] = {
        {0, " 0"}, {1, " 1"}, {604, " 604"}, {10, " 10"}, {-1, "-1"}, {-15, "-15"},
        {2147483647, " 2147483647"}, {-2147483647 - 1, "-2147483648"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LongToText(c.value), c.expected);
}

TEST(CalculationFailure, NamesItsKind)
{
    const struct {
        FailureKind kind;
        const char* message;
    } cases[] = {
        {FailureKind::Overflow, "Overflow"},
        {FailureKind::DivisionByZero, "Division by zero"},
        {FailureKind::InvalidArgument, "Invalid argument"},
    };
    for (const auto& c : cases) {
        const CalculationFailure failure(c.kind);
        const std::exception& asException = failure;
        EXPECT_EQ(failure.kind(), c.kind);
        EXPECT_STREQ(asException.what(), c.message);
    }
}

} // namespace
} // namespace tornevo
