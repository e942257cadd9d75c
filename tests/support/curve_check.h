#pragma once

// Records what a curve tracer draws, rasterises it onto the 660 x 660 plane
// surface and compares it with the true curve {g = 0}.

#include "plane/mapping.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <vector>

namespace curvecheck {

// A curve as the set {g = 0}.
using Conic = std::function<double(double, double)>;

constexpr int kSize = 660;

struct Op {
    bool move;
    int x, y;
};

struct RecordingSink {
    std::vector<Op> ops;
    void MoveTo(std::int32_t x, std::int32_t y) { ops.push_back({true, x, y}); }
    void LineTo(std::int32_t x, std::int32_t y) { ops.push_back({false, x, y}); }
    long Moves() const { return std::count_if(ops.begin(), ops.end(), [](const Op& op) { return op.move; }); }
    long Lines() const { return static_cast<long>(ops.size()) - Moves(); }
};

// The pixels of the recorded polylines that fall on the surface, 1 pixel wide.
struct Raster {
    std::vector<bool> on = std::vector<bool>(kSize * kSize);
    explicit Raster(const std::vector<Op>& ops)
    {
        Op pen{true, 0, 0};
        for (const Op& op : ops) {
            if (op.move)
                pen = op;
            // Bresenham's line from the pen to the point.
            const int dx = std::abs(op.x - pen.x), dy = -std::abs(op.y - pen.y);
            for (int x = pen.x, y = pen.y, err = dx + dy;;) {
                if (x >= 0 && y >= 0 && x < kSize && y < kSize)
                    on[y * kSize + x] = true;
                if (x == op.x && y == op.y)
                    break;
                const int e2 = 2 * err;
                if (e2 >= dy) {
                    err += dy;
                    x += x < op.x ? 1 : -1;
                }
                if (e2 <= dx) {
                    err += dx;
                    y += y < op.y ? 1 : -1;
                }
            }
            pen = op;
        }
    }
    bool At(int x, int y) const { return x >= 0 && y >= 0 && x < kSize && y < kSize && on[y * kSize + x]; }
    long Count() const { return std::count(on.begin(), on.end(), true); }
};

struct Comparison {
    int stray = 0;     // drawn pixels farther than the tolerance from the true curve
    int uncovered = 0; // points of the true curve on the surface with no drawn pixel that near
    int truePoints = 0;
};

// Finds the true curve {g(x, y) = 0} (g in plane units) where g changes sign
// along every half-pixel row and column, and compares the drawing with it.
inline Comparison CompareWithCurve(const std::vector<Op>& ops, const plane::Mapping& map,
                                   const Conic& g, double tol = 2.0)
{
    const double unit = static_cast<double>(map.GridUnit()) / kSize;
    const auto f = [&](double px, double py) { return g((px - kSize / 2.0) * unit, (kSize / 2.0 - py) * unit); };
    const Raster drawn(ops);
    std::vector<bool> near(kSize * kSize);
    Comparison out;
    const auto visit = [&](double px, double py) {
        bool covered = false;
        for (int y = static_cast<int>(py) - 3; y <= static_cast<int>(py) + 3; ++y)
            for (int x = static_cast<int>(px) - 3; x <= static_cast<int>(px) + 3; ++x)
                if (x >= 0 && y >= 0 && x < kSize && y < kSize && std::hypot(x - px, y - py) <= tol) {
                    near[y * kSize + x] = true;
                    covered = covered || drawn.At(x, y);
                }
        if (px >= 0 && py >= 0 && px <= kSize - 1 && py <= kSize - 1) {
            ++out.truePoints;
            out.uncovered += covered ? 0 : 1;
        }
    };
    for (int rows = 0; rows < 2; ++rows)
        for (double across = -2; across <= kSize + 2; across += 0.5) {
            const auto at = [&](double along) { return rows ? f(along, across) : f(across, along); };
            for (double lo = -2, hi = lo + 0.5; hi <= kSize + 2; lo = hi, hi += 0.5) {
                const bool negative = at(lo) < 0;
                if (negative == (at(hi) < 0))
                    continue;
                double a = lo, b = hi;
                for (int i = 0; i < 40; ++i)
                    ((at((a + b) / 2) < 0) == negative ? a : b) = (a + b) / 2;
                rows ? visit(a, across) : visit(across, a);
            }
        }
    for (int i = 0; i < kSize * kSize; ++i)
        out.stray += drawn.on[i] && !near[i] ? 1 : 0;
    return out;
}

// Whether a line joins a point before the pixel line at `split` (on x when
// `onX`, else on y) to one after it.
inline bool CrossesLine(const std::vector<Op>& ops, bool onX, double split)
{
    for (std::size_t i = 1; i < ops.size(); ++i)
        if (!ops[i].move && ((onX ? ops[i - 1].x : ops[i - 1].y) - split) * ((onX ? ops[i].x : ops[i].y) - split) < 0)
            return true;
    return false;
}

} // namespace curvecheck
