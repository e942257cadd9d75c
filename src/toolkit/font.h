#pragma once

#include "color.h"

#include <string>

namespace tk {

// A control's font: face, character height in pixels, colour and weight.
// The face names are the ones the windows were designed with; the
// application maps them onto installed substitutes.
struct Font {
    std::string name = "ＭＳ Ｐゴシック";
    int height = 12;
    TColor color = clWindowText;
    bool bold = false;
};

// Points at 96 dots per inch to a character height in pixels (16 pt is 21 px).
int PointsToPixels(int points);

} // namespace tk
