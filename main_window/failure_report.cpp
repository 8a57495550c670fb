#include "failure_report.h"

namespace tornevo {

std::string_view FailureKindText(FailureKind kind)
{
    return CalculationFailure(kind).what();
}

std::string_view LikelyCause(FailureKind kind)
{
    switch (kind) {
    case FailureKind::Overflow: return "A number typed in, or the answer, is too large.";
    case FailureKind::DivisionByZero: return "The radius reads as zero.";
    case FailureKind::InvalidArgument: return "The radius and the value to convert have opposite signs.";
    }
    return {};
}

} // namespace tornevo
