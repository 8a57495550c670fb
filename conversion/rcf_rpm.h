#pragma once

#include "failure.h"

#include <string>
#include <string_view>

namespace tornevo {

inline constexpr double CmPerInch = 2.54;
// RCF per centimetre of radius per RPM squared: RCF = RcfFactor * radius (cm) * RPM^2.
inline constexpr double RcfFactor = 1.118e-5;

enum class Quantity { Rcf, Rpm };

struct CalculationInputs {
    std::string_view radiusText;
    std::string_view valueText;
    bool radiusInInches = false;
    bool fromRcf = true;
};

struct Answer {
    std::string text;   // as LongToText writes it, e.g. " 604"
    Quantity quantity;  // what the answer is: Rpm when converting from RCF, Rcf otherwise
};

// Reads both texts, converts an inch radius to centimetres and applies the formula the
// direction selects. Throws CalculationFailure at the first step that fails.
Answer ComputeAnswer(const CalculationInputs& inputs);

} // namespace tornevo
