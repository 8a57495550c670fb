#include "rcf_rpm.h"

#include "number_text.h"

#include <cmath>

namespace tornevo {

namespace {

[[noreturn]] void Fail(FailureKind kind) { throw CalculationFailure(kind); }

// Every intermediate is checked as it is formed, so the first step that goes wrong
// names the failure, whatever later steps would have made of an infinity.
double Finite(double value)
{
    if (!std::isfinite(value))
        Fail(FailureKind::Overflow);
    return value;
}

double RcfToRpm(double radiusCm, double rcf)
{
    const double d = RcfFactor * radiusCm;
    if (d == 0.0) {
        // Converting 0 with a zero radius (0 / 0) also reports a division by zero:
        // the radius is what the user has to correct, and this names it.
        Fail(FailureKind::DivisionByZero);
    }
    const double q = Finite(rcf / d);
    if (q < 0.0) // -0.0 is not below zero: a zero value over a negative radius gives 0
        Fail(FailureKind::InvalidArgument);
    return std::sqrt(q);
}

double RpmToRcf(double radiusCm, double rpm)
{
    const double p = RcfFactor * radiusCm;
    const double s = Finite(rpm * rpm);
    return Finite(p * s);
}

} // namespace

Answer ComputeAnswer(const CalculationInputs& inputs)
{
    double radius = TextToNumber(inputs.radiusText);
    const double value = TextToNumber(inputs.valueText);
    if (inputs.radiusInInches)
        radius = Finite(radius * CmPerInch);

    if (inputs.fromRcf)
        return {LongToText(RoundToLong(RcfToRpm(radius, value))), Quantity::Rpm};
    return {LongToText(RoundToLong(RpmToRcf(radius, value))), Quantity::Rcf};
}

} // namespace tornevo
