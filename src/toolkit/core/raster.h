#pragma once

#include <algorithm>
#include <cstddef>

class QImage;

namespace tk {

// The pixels of a 32-bit image while a painter draws on it: the canvas
// writes spans of an opaque colour straight into them, which is what
// QPainter's aliased fills and strokes amount to.
struct Raster {
    // Null when the image is not written directly.
    unsigned* pixels = nullptr;
    std::ptrdiff_t stride = 0;  // pixels a row
    int width = 0;
    int height = 0;

    // Takes the pixels of an image of 32 bits a pixel; they stay where they
    // are until the painter drawing on it ends. False for other formats.
    bool Take(QImage& image);

    // Fills [x0, x1] of row y, clipped to the image.
    void Span(int y, int x0, int x1, unsigned colour) const
    {
        if (y < 0 || y >= height)
            return;
        x0 = std::max(x0, 0);
        x1 = std::min(x1, width - 1);
        if (x0 <= x1)
            std::fill(pixels + y * stride + x0, pixels + y * stride + x1 + 1, colour);
    }
    // Fills columns [x0, x1] from row y0 to row y1, clipped to the image.
    void Block(int x0, int x1, int y0, int y1, unsigned colour) const
    {
        x0 = std::max(x0, 0);
        x1 = std::min(x1, width - 1);
        y0 = std::max(y0, 0);
        y1 = std::min(y1, height - 1);
        if (x0 > x1)
            return;
        for (unsigned* row = pixels + y0 * stride + x0; y0 <= y1; ++y0, row += stride)
            std::fill(row, row + (x1 - x0 + 1), colour);
    }
};

} // namespace tk
