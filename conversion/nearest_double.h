#pragma once

#include <string_view>

namespace tornevo {

// The double nearest to the whole number written in `digits` (base `radix`, 2 to 10, '0' to
// '9') times 10^powerOfTen, halves to the even neighbour. Infinity when it rounds beyond the
// largest double, zero when it rounds below the smallest subnormal. Exact for any number of
// digits; the work grows with the digits and the power of ten, so callers bound both.
double NearestDouble(std::string_view digits, unsigned radix, int powerOfTen);

} // namespace tornevo
