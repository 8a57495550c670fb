#pragma once

#include "form_layout.h"

namespace tornevo::form {

// What a dialog font measures, in pixels at 96 DPI (a toolkit that measures in device
// pixels at another DPI divides by DPI / 96 first): its average character width and its
// line height (ascent plus descent).
struct FontMeasure {
    double averageCharWidth;
    double lineHeight;
};

// How much the form grows for the dialog font in use, the way dialog units work on
// Windows: horizontal measures scale with the character width, vertical ones with the
// line height, each relative to the font the twips layout was drawn for, and never
// below 1, so a smaller font never shrinks a control below its designed size.
struct Scale {
    double horizontal = 1.0;
    double vertical = 1.0;
    friend bool operator==(const Scale&, const Scale&) = default;
};

Scale DialogScale(FontMeasure font, FontMeasure drawnFor);

struct PixelRect {
    int left, top, width, height;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// A place in twips as device pixels at `pixelsPerInch` (96 gives twips / 15), grown by
// `scale`. Edges are rounded, not sizes, so controls that meet in twips meet in pixels.
PixelRect ToPixels(Twips place, Scale scale, double pixelsPerInch = 96.0);

} // namespace tornevo::form
