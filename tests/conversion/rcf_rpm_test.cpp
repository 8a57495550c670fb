#include "rcf_rpm.h"

#include "number_text.h"

#include <gtest/gtest.h>

#include <string>

namespace tornevo {
namespace {

constexpr bool Cm = false;
constexpr bool Inches = true;
constexpr bool FromRcf = true;
constexpr bool FromRpm = false;

struct Case {
    const char* radius;
    const char* value;
    bool inches;
    bool fromRcf;
};

std::string Describe(const Case& c)
{
    return std::string("radius \"") + c.radius + (c.inches ? "\" in" : "\" cm") + ", value \"" + c.value
           + (c.fromRcf ? "\" from RCF" : "\" from RPM");
}

Answer Compute(const Case& c) { return ComputeAnswer({c.radius, c.value, c.inches, c.fromRcf}); }

TEST(ComputeAnswer, ConvertsBothWays)
{
    const struct {
        Case in;
        const char* answer;
    } cases[] = {
        {{"6", "3000", Cm, FromRpm}, " 604"},
        {{"10", "1.118", Cm, FromRcf}, " 100"},
        {{"8.5", "14000", Cm, FromRpm}, " 18626"},
        {{"15", "5000", Cm, FromRcf}, " 5460"},
        {{"9,5", "1000", Cm, FromRpm}, " 101"}, // the radius reads as 9
        {{" 1 0 ", "1 . 118", Cm, FromRcf}, " 100"},
        {{"10", "438000", Cm, FromRpm}, " 21448159"},
        // Inches are converted to centimetres first.
        {{"6", "300", Inches, FromRpm}, " 15"},
        {{"1", "1000", Inches, FromRcf}, " 5934"},
        // A radius that reads as 0 gives 0 from RPM.
        {{"", "3000", Cm, FromRpm}, " 0"},
        {{"abc", "3000", Cm, FromRpm}, " 0"},
        {{"0", "1E154", Cm, FromRpm}, " 0"},
        // Signs.
        {{"-6", "3000", Cm, FromRpm}, "-604"},
        {{"6", "-3000", Cm, FromRpm}, " 604"},
        {{"-10", "-1.118", Cm, FromRcf}, " 100"},
        {{"5", "0", Cm, FromRcf}, " 0"},
        {{"-5", "0", Cm, FromRcf}, " 0"}, // the quotient is -0.0, which is not below 0
        {{"-5", "-0", Cm, FromRcf}, " 0"},
        {{"10", "0", Cm, FromRpm}, " 0"},
        {{"-1", "1", Cm, FromRpm}, " 0"}, // -0.00001118 is written as 0, never "-0"
        // Tiny answers round to 0; a tiny square still counts.
        {{"1E300", "1E-160", Cm, FromRpm}, " 0"},
        {{"1E300", "1E-146", Cm, FromRpm}, " 1118"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Describe(c.in));
        const Answer answer = Compute(c.in);
        EXPECT_EQ(answer.text, c.answer);
        EXPECT_EQ(answer.quantity, c.in.fromRcf ? Quantity::Rpm : Quantity::Rcf);
    }
}

// Each case names the failure of the first step that fails: reading the radius, reading the
// value, the inch conversion, then the formula's steps in order, and last the rounding.
TEST(ComputeAnswer, FailsAtTheFirstFailingStep)
{
    const struct {
        Case in;
        FailureKind kind;
    } cases[] = {
        // Division by zero: a radius that reads as 0 from RCF.
        {{"", "5", Cm, FromRcf}, FailureKind::DivisionByZero},
        {{"abc", "5", Cm, FromRcf}, FailureKind::DivisionByZero},
        {{"0", "-5", Inches, FromRcf}, FailureKind::DivisionByZero},
        // 0 / 0 reports the division by zero too: the radius is what needs correcting.
        {{"0", "0", Cm, FromRcf}, FailureKind::DivisionByZero},
        {{"", "", Cm, FromRcf}, FailureKind::DivisionByZero},
        // Invalid argument: the root of a negative quotient.
        {{"-5", "100", Cm, FromRcf}, FailureKind::InvalidArgument},
        {{"5", "-100", Cm, FromRcf}, FailureKind::InvalidArgument},
        {{"5", "-1E-300", Inches, FromRcf}, FailureKind::InvalidArgument},
        // Overflow while reading a text comes before anything the numbers would cause.
        {{"1E400", "1", Cm, FromRpm}, FailureKind::Overflow},
        {{"", "1E400", Cm, FromRcf}, FailureKind::Overflow},
        {{"-5", "1E400", Cm, FromRcf}, FailureKind::Overflow},
        {{"0", "-1E400", Cm, FromRcf}, FailureKind::Overflow},
        // The inch step overflows even when the value would give 0.
        {{"1E308", "0", Inches, FromRpm}, FailureKind::Overflow},
        {{"1E308", "0", Inches, FromRcf}, FailureKind::Overflow},
        {{"-1E308", "-5", Inches, FromRcf}, FailureKind::Overflow},
        // The square overflows before the product with a zero radius is formed.
        {{"0", "1E200", Cm, FromRpm}, FailureKind::Overflow},
        {{"-5", "1E200", Cm, FromRpm}, FailureKind::Overflow},
        // A quotient of -infinity is an overflow, not a negative number.
        {{"1E-300", "-1E300", Cm, FromRcf}, FailureKind::Overflow},
        {{"1E-30", "1E300", Cm, FromRcf}, FailureKind::Overflow},
        // The product overflows.
        {{"1E300", "1E10", Cm, FromRpm}, FailureKind::Overflow},
        // The answer is a finite double outside the int32 range.
        {{"10", "5000000", Cm, FromRpm}, FailureKind::Overflow},
        {{"-10", "5000000", Cm, FromRpm}, FailureKind::Overflow},
        {{"1E-300", "1E-10", Cm, FromRcf}, FailureKind::Overflow},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Describe(c.in));
        try {
            const Answer answer = Compute(c.in);
            ADD_FAILURE() << "answered \"" << answer.text << "\"";
        } catch (const CalculationFailure& failure) {
            EXPECT_EQ(failure.kind(), c.kind) << failure.what();
        }
    }
}

// Cases that a build keeping intermediates in wider registers (x87 on 32-bit x86) gets
// wrong: every build rounds each step of the formula to double.
TEST(ComputeAnswer, RoundsEachStepToDouble)
{
    const struct {
        Case in;
        const char* outcome; // the answer's text, or the failure's
    } cases[] = {
        // 1.118e-5 * 13 rounds down: 3633.4999999999995 rather than 3633.5.
        {{"13", "5000", Cm, FromRpm}, " 3633"},
        // The product underflows to 0 in double, though not in a wider exponent range.
        {{"1E-320", "1", Cm, FromRcf}, "Division by zero"},
        // 2147483647.4999998 in double steps, 2147483647.5 (beyond the int32 range) when wider.
        {{"4017", "218671.96879489", Cm, FromRpm}, " 2147483647"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Describe(c.in));
        try {
            EXPECT_EQ(Compute(c.in).text, c.outcome);
        } catch (const CalculationFailure& failure) {
            EXPECT_STREQ(failure.what(), c.outcome);
        }
    }
}

// Just either side of the int32 limit, from RPM with a radius that makes the product exactly 1,
// so that the answer is the square of the value: 2147483647.4957 and 2147483647.5049.
TEST(ComputeAnswer, Int32EdgeOfTheAnswer)
{
    const char* const radius = "89445.43828264758497316636851520572450805008944543828264758497";
    ASSERT_EQ(RcfFactor * TextToNumber(radius), 1.0);
    EXPECT_EQ(Compute({radius, "46340.9500064", Cm, FromRpm}).text, " 2147483647");
    EXPECT_EQ(Compute({radius, "-46340.9500064", Cm, FromRpm}).text, " 2147483647");
    try {
        Compute({radius, "46340.9500065", Cm, FromRpm});
        ADD_FAILURE() << "no failure";
    } catch (const CalculationFailure& failure) {
        EXPECT_EQ(failure.kind(), FailureKind::Overflow);
    }
}

} // namespace
} // namespace tornevo
