#pragma once

#include "toolkit/image.h"
#include "toolkit/object.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace tk {

// The pixels of a 32-bit image as the drawing writes them: spans and
// blocks of an opaque colour, always clipped to the image.
struct Raster {
    std::uint32_t* pixels = nullptr;
    std::ptrdiff_t stride = 0;  // pixels a row
    int width = 0;
    int height = 0;

    static Raster Of(Image& image)
    {
        return {image.Bits(), image.Stride(), image.IsNull() ? 0 : image.Width(), image.IsNull() ? 0 : image.Height()};
    }

    // Fills [x0, x1] of row y, clipped to the image.
    void Span(int y, int x0, int x1, std::uint32_t colour) const
    {
        if (y < 0 || y >= height)
            return;
        x0 = std::max(x0, 0);
        x1 = std::min(x1, width - 1);
        if (x0 <= x1)
            std::fill(pixels + y * stride + x0, pixels + y * stride + x1 + 1, colour);
    }
    // Fills the device rectangle [left, right) x [top, bottom), clipped to
    // the image.
    void Fill(const Rect& r, std::uint32_t colour) const { Block(r.left, r.right - 1, r.top, r.bottom - 1, colour); }
    // Fills columns [x0, x1] from row y0 to row y1, clipped to the image.
    void Block(int x0, int x1, int y0, int y1, std::uint32_t colour) const
    {
        x0 = std::max(x0, 0);
        x1 = std::min(x1, width - 1);
        y0 = std::max(y0, 0);
        y1 = std::min(y1, height - 1);
        if (x0 > x1 || y0 > y1)
            return;
        std::uint32_t* row = pixels + y0 * stride + x0;
        if (x0 == 0 && x1 == width - 1 && stride == width) {
            // Whole rows: one run, which the library fills fastest when the
            // colour's four bytes are alike (white).
            const std::ptrdiff_t count = static_cast<std::ptrdiff_t>(y1 - y0 + 1) * stride;
            if ((colour & 0xFFu) * 0x01010101u == colour)
                std::memset(row, static_cast<int>(colour & 0xFFu), static_cast<std::size_t>(count) * sizeof colour);
            else
                std::fill(row, row + count, colour);
            return;
        }
        for (; y0 <= y1; ++y0, row += stride)
            std::fill(row, row + (x1 - x0 + 1), colour);
    }
};

} // namespace tk
