#pragma once

#include "raster.h"

#include <cstdint>

namespace tk {

// Lines and discs of an opaque pen, in whole device pixels, written
// straight into an image. One rule, computed in integers, so that every
// compiler and platform gives the same pixels:
//
// Positions are pen coordinates (DeviceGrid::PenCoordinate): a pen of odd
// width at (x, y) is centred on the centre of pixel (x, y), a pen of even
// width on that pixel's top-left corner.
//
// - A pen of width w >= 2 covers the pixels whose centres lie within w / 2
//   of the segment, a centre at exactly w / 2 included (between whole pen
//   coordinates no centre ever lies there: the distances' parities differ):
//   round caps, and the joins of a polyline follow from its consecutive
//   segments. A segment of length zero is the disc of DiscShape.
// - A pen of width 1 covers one pixel a column, or a row where the segment
//   is steeper than 45 degrees. With the ends at pixels (x0, y0) and
//   (x1, y1), x0 < x1, |y1 - y0| <= x1 - x0 and s = (y1 - y0) / (x1 - x0),
//   column x0 + k takes row y0 + floor((k + 1/2) * s) where the segment
//   falls (s >= 0) and y0 + floor(k * s) where it rises; with the axes
//   swapped where it is steeper. Both ends are drawn, the pixels are
//   connected, a segment gives the same pixels either way round, and lines
//   along a row or a column are exactly that row or column. Of the aliased 1-pixel lines QPainter
//   draws, this is the rule that agrees with most (docs/PERFORMANCE.md).
//
// Coordinates of any size are safe: a segment reaching more than 2^20
// pixels beyond the image is cut there first (in floating point, its cut
// ends then rounded to whole pixels), and NaN or infinite coordinates draw
// nothing. Pens wider than 2^20 pixels are drawn 2^20 wide.
void DrawLine(const Raster& raster, double x0, double y0, double x1, double y1, int width, std::uint32_t colour);
// The disc of a pen of the width at a pen coordinate: the segment of length
// zero.
void DrawDisc(const Raster& raster, double x, double y, int width, std::uint32_t colour);

} // namespace tk
