#pragma once

#include <exception>

namespace tornevo {

// The three ways a calculation can fail. The window reports the kind to the user.
enum class FailureKind { Overflow, DivisionByZero, InvalidArgument };

class CalculationFailure : public std::exception {
public:
    explicit CalculationFailure(FailureKind kind);
    FailureKind kind() const noexcept;
    // "Overflow", "Division by zero" or "Invalid argument".
    const char* what() const noexcept override;

private:
    FailureKind kind_;
};

} // namespace tornevo
