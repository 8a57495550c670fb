#pragma once

#include "failure.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tornevo {

// Reads the number at the start of free text (UTF-8). Blanks anywhere are ignored,
// "&H"/"&O" start a hexadecimal or octal whole number, the period is the only decimal
// separator whatever the locale, and reading stops at the first character that cannot
// continue the number; text with no digits reads as 0. The decimal value is rounded
// correctly to the nearest double.
// Throws CalculationFailure(Overflow) when the number lies beyond the range of a double.
double TextToNumber(std::string_view text);

// Rounds to the nearest whole number, halves to the even neighbour.
// Throws CalculationFailure(Overflow) outside the 32-bit signed range, and for NaN.
std::int32_t RoundToLong(double value);

// Decimal digits with a leading space for zero and positive values, a minus sign otherwise.
std::string LongToText(std::int32_t value);

} // namespace tornevo
