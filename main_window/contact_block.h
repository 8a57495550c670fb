#pragma once

#include <string>

namespace tornevo {

// The maker's contact lines, each ending in a line feed, then the notice line ending
// with the year in four digits.
std::string ContactBlock(int year);

} // namespace tornevo
