#include "dialog_scale.h"

#include <algorithm>
#include <cmath>

namespace tornevo::form {

Scale DialogScale(FontMeasure font, FontMeasure drawnFor)
{
    const auto ratio = [](double measure, double reference) {
        return reference > 0.0 && measure > reference ? measure / reference : 1.0;
    };
    return {ratio(font.averageCharWidth, drawnFor.averageCharWidth), ratio(font.lineHeight, drawnFor.lineHeight)};
}

PixelRect ToPixels(Twips place, Scale scale, double pixelsPerInch)
{
    const double perTwipX = pixelsPerInch / 1440.0 * scale.horizontal;
    const double perTwipY = pixelsPerInch / 1440.0 * scale.vertical;
    const auto edge = [](int twips, double perTwip) { return int(std::lround(twips * perTwip)); };
    const int left = edge(place.left, perTwipX);
    const int top = edge(place.top, perTwipY);
    return {left, top, edge(place.left + place.width, perTwipX) - left,
            edge(place.top + place.height, perTwipY) - top};
}

} // namespace tornevo::form
