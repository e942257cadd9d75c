#include "disc_shape.h"

#include <memory>

namespace tk {

DiscShape::DiscShape(int w) : width(w)
{
    const double r2 = w * w / 4.0;
    const double offset = (w % 2 == 1) ? 0.0 : 0.5;
    for (int y = -w; y <= w; ++y) {
        const double cy = y + offset;
        int lo = 1, hi = 0;
        for (int x = -w; x <= w; ++x) {
            const double cx = x + offset;
            if (cx * cx + cy * cy <= r2) {
                if (lo > hi)
                    lo = x;
                hi = x;
            }
        }
        if (lo <= hi)
            rows.push_back({y, lo, hi});
    }
}

const DiscShape& DiscOfWidth(int width)
{
    constexpr int kKept = 64;
    static std::unique_ptr<DiscShape> kept[kKept];
    static DiscShape other;
    if (width >= 0 && width < kKept) {
        if (!kept[width])
            kept[width] = std::make_unique<DiscShape>(width);
        return *kept[width];
    }
    if (other.width != width)
        other = DiscShape(width);
    return other;
}

} // namespace tk
