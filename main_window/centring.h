#pragma once

namespace tornevo {

struct ScreenPoint {
    int x, y;
    friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

// Top-left corner that centres a window of the given outer size on a screen area; the
// halves are worked out in single precision and a half pixel goes to the even neighbour.
ScreenPoint CentredTopLeft(int screenLeft, int screenTop, int screenWidth, int screenHeight, int outerWidth,
                           int outerHeight);

} // namespace tornevo
