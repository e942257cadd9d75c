#include "clip.h"

#include <algorithm>

namespace tk {

bool ClipSegment(double& x0, double& y0, double& x1, double& y1, double lo, double hiX, double hiY)
{
    double t0 = 0.0, t1 = 1.0;
    int edge0 = -1, edge1 = -1;  // the edge each end is cut at, if any
    const double dx = x1 - x0, dy = y1 - y0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0 - lo, hiX - x0, y0 - lo, hiY - y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0)
                return false;
            continue;
        }
        const double r = q[i] / p[i];
        if (p[i] < 0.0) {
            if (r > t0)
                t0 = r, edge0 = i;
        } else if (r < t1) {
            t1 = r, edge1 = i;
        }
        if (t0 > t1)
            return false;
    }
    // A cut end lies on its edge exactly, the other coordinate found from
    // the edge rather than from the fraction of the way: the fraction of a
    // segment between huge coordinates keeps too few digits to place it.
    const double edges[4] = {lo, hiX, lo, hiY};
    const auto cut = [&](int edge, double& x, double& y) {
        const double at = edges[edge];
        if (edge < 2) {
            x = at;
            y = std::clamp(y0 + (at - x0) * (dy / dx), lo, hiY);
        } else {
            y = at;
            x = std::clamp(x0 + (at - y0) * (dx / dy), lo, hiX);
        }
    };
    double nx0 = x0, ny0 = y0, nx1 = x1, ny1 = y1;
    if (edge0 >= 0)
        cut(edge0, nx0, ny0);
    if (edge1 >= 0)
        cut(edge1, nx1, ny1);
    x0 = nx0, y0 = ny0, x1 = nx1, y1 = ny1;
    return true;
}

} // namespace tk
