#pragma once

// What a user sees in design pixels, whatever the device scale the tests run
// at (Qt's own scaling times the design scale): what a surface shows is
// measured in its device pixels against what a pen of a design width gives
// there. A single design pixel of a surface is read with Canvas::Pixel, at
// the device pixel at its centre; a press on a design pixel lands on a whole
// device pixel inside it (tk::drive::Click).

#include "toolkit/canvas.h"
#include "toolkit/device_grid.h"
#include "toolkit/image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace design_test {

// The device pixels of one colour within a design rectangle of a canvas:
// how many, and their bounds (inclusive).
struct Ink {
    int count = 0;
    int left = 1 << 29, top = 1 << 29, right = -1, bottom = -1;
    int Width() const { return right - left + 1; }
    int Height() const { return bottom - top + 1; }
};

inline Ink InkOf(const tk::Canvas& c, tk::TColor colour, const tk::Rect& design)
{
    const tk::DeviceGrid& g = c.Grid();
    const int left = std::max(0, g.EdgeClamped(design.left));
    const int right = std::min(c.DeviceWidth(), g.EdgeClamped(design.right));
    const int top = std::max(0, g.EdgeClamped(design.top));
    const int bottom = std::min(c.DeviceHeight(), g.EdgeClamped(design.bottom));
    Ink ink;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (c.DevicePixel(x, y) == colour) {
                ++ink.count;
                ink.left = std::min(ink.left, x), ink.right = std::max(ink.right, x);
                ink.top = std::min(ink.top, y), ink.bottom = std::max(ink.bottom, y);
            }
    return ink;
}

// How much farther from the true line a line drawn at the grid's scale may
// be found when read back in design pixels: its pen lies within half a
// device pixel of its design place, and the device pixel read for a design
// pixel within half a device pixel of that pixel's centre.
inline double Slack(const tk::DeviceGrid& g) { return g.IsUnit() ? 0 : 1 / g.Scale(); }

// How many device pixels the canvas's disc of a pen of the design width
// covers at the scale (21 for 5 at one device pixel per design pixel).
inline int DiscPixels(const tk::DeviceGrid& g, int designWidth)
{
    tk::Image image(g.EdgeClamped(4 * designWidth), g.EdgeClamped(4 * designWidth));
    tk::Canvas c;
    c.Attach(&image, nullptr, g.Scale());
    c.SetPenColor(tk::clBlack);
    c.SetPenWidth(designWidth);
    c.MoveTo(2 * designWidth, 2 * designWidth);
    c.LineTo(2 * designWidth, 2 * designWidth);
    c.Flush();
    return InkOf(c, tk::clBlack, {0, 0, 4 * designWidth, 4 * designWidth}).count;
}

// Whether the ink is a round disc as wide as a pen of the design width,
// centred on design pixel `at` (a disc of even width on its top-left
// corner), within half a device pixel.
inline ::testing::AssertionResult IsDisc(const Ink& ink, const tk::DeviceGrid& g, int designWidth, tk::Point at)
{
    const int d = g.PenWidth(designWidth);
    const double odd = designWidth % 2 == 1 ? 0.5 : 0;
    const double cx = (at.x + odd) * g.Scale(), cy = (at.y + odd) * g.Scale();
    auto failure = [&] {
        return ::testing::AssertionFailure() << "at scale " << g.Scale() << " the ink spans device pixels " << ink.left
                                             << ".." << ink.right << " x " << ink.top << ".." << ink.bottom << " ("
                                             << ink.count << " pixels), a disc of " << d << " centred on (" << cx
                                             << ", " << cy << ") was expected";
    };
    if (ink.Width() != d || ink.Height() != d)
        return failure() << ": not as wide as the pen";
    if (std::fabs(ink.count - 3.14159 * d * d / 4) > d)
        return failure() << ": not round";
    if (ink.count != DiscPixels(g, designWidth))
        return failure() << ": not the pen's disc, or partly covered";
    if (std::fabs((ink.left + ink.right + 1) / 2.0 - cx) > 0.5 + 1e-9 ||
        std::fabs((ink.top + ink.bottom + 1) / 2.0 - cy) > 0.5 + 1e-9)
        return failure() << ": off centre";
    return ::testing::AssertionSuccess();
}

} // namespace design_test
