#include "failure.h"

namespace tornevo {

CalculationFailure::CalculationFailure(FailureKind kind) : kind_(kind) {}

FailureKind CalculationFailure::kind() const noexcept { return kind_; }

const char* CalculationFailure::what() const noexcept
{
    switch (kind_) {
    case FailureKind::Overflow: return "Overflow";
    case FailureKind::DivisionByZero: return "Division by zero";
    case FailureKind::InvalidArgument: return "Invalid argument";
    }
    return "Calculation failure";
}

} // namespace tornevo
