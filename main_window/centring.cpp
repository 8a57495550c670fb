#include "centring.h"

#include <cmath>

namespace tornevo {

ScreenPoint CentredTopLeft(int screenLeft, int screenTop, int screenWidth, int screenHeight, int outerWidth,
                           int outerHeight)
{
    const float left = (float(screenWidth) - float(outerWidth)) / 2.0f;
    const float top = (float(screenHeight) - float(outerHeight)) / 2.0f;
    return {screenLeft + int(std::lrint(left)), screenTop + int(std::lrint(top))};
}

} // namespace tornevo
