#pragma once

#include <vector>

namespace tk {

// The rows of a filled disc as spans around its centre pixel: the pixels
// whose centres lie within half the width of the disc's centre. A disc of
// odd width is centred on its pixel, one of even width on the pixel's
// top-left corner, as an aliased rasteriser centres a pen of that width.
struct DiscShape {
    struct Row {
        int dy, first, last;
    };
    int width = 0;
    std::vector<Row> rows;

    explicit DiscShape(int w = 0);
};

// The shape of a disc of the given width, kept for the widths in use
// (markers and the curve's pen, at every device scale).
const DiscShape& DiscOfWidth(int width);

} // namespace tk
