#include "rasterizer.h"

#include "clip.h"
#include "disc_shape.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace tk {

namespace {

using i64 = std::int64_t;
using u64 = std::uint64_t;

// How far beyond the image a segment is kept as it is, and the widest pen.
constexpr double kFar = 1 << 20;
constexpr int kWidest = 1 << 20;

i64 FloorHalf(i64 v) { return v >> 1; }  // arithmetic shift: floor(v / 2)
i64 CeilHalf(i64 v) { return -((-v) >> 1); }
i64 FloorDiv(i64 n, i64 d)  // d > 0
{
    const i64 q = n / d;
    return (n % d != 0 && n < 0) ? q - 1 : q;
}

// Whether c * c <= a * b for a, b >= 0, in 128 bits made of 64-bit halves.
bool SquareAtMost(i64 c, i64 a, i64 b)
{
    const auto mul = [](u64 x, u64 y, u64& hi, u64& lo) {
        const u64 x0 = x & 0xFFFFFFFFu, x1 = x >> 32, y0 = y & 0xFFFFFFFFu, y1 = y >> 32;
        const u64 p00 = x0 * y0, p01 = x0 * y1, p10 = x1 * y0, p11 = x1 * y1;
        const u64 mid = (p00 >> 32) + (p01 & 0xFFFFFFFFu) + (p10 & 0xFFFFFFFFu);
        lo = (p00 & 0xFFFFFFFFu) | (mid << 32);
        hi = p11 + (p01 >> 32) + (p10 >> 32) + (mid >> 32);
    };
    const u64 m = static_cast<u64>(c < 0 ? -c : c);
    u64 lh, ll, rh, rl;
    mul(m, m, lh, ll);
    mul(static_cast<u64>(a), static_cast<u64>(b), rh, rl);
    return lh < rh || (lh == rh && ll <= rl);
}

// The pen's segment in half pixels: pixel i's centre at 2i. Every product
// below stays within 64 bits for the coordinates Place lets through.
struct Capsule {
    i64 ax, ay, bx, by, dx, dy, dd, w, ww;

    // Pixels (x0, y0) and (x1, y1) are the pen coordinates of the ends.
    Capsule(i64 x0, i64 y0, i64 x1, i64 y1, int width)
    {
        const i64 even = width % 2 == 0 ? 1 : 0;
        ax = 2 * x0 - even, ay = 2 * y0 - even, bx = 2 * x1 - even, by = 2 * y1 - even;
        dx = bx - ax, dy = by - ay;
        dd = dx * dx + dy * dy;
        w = width;
        ww = w * w;
    }

    i64 TopRow() const { return CeilHalf(std::min(ay, by) - w); }
    i64 BottomRow() const { return FloorHalf(std::max(ay, by) + w); }

    // Whether the centre of pixel (i, j) lies within w / 2 of the segment.
    bool Covers(i64 i, i64 j) const
    {
        const i64 rx = 2 * i - ax, ry = 2 * j - ay;
        const i64 dot = rx * dx + ry * dy;
        if (dot <= 0)
            return rx * rx + ry * ry <= ww;
        if (dot >= dd) {
            const i64 ex = rx - dx, ey = ry - dy;
            return ex * ex + ey * ey <= ww;
        }
        return SquareAtMost(rx * dy - ry * dx, ww, dd);
    }

    // The covered pixels of row j within columns [lo, hi]: the row of a
    // convex shape, so one span. Floating point only estimates its ends;
    // Covers decides every pixel.
    bool Row(i64 j, i64 lo, i64 hi, i64& first, i64& last) const
    {
        const double inf = HUGE_VAL;
        double left = inf, right = -inf;
        const auto disc = [&](i64 cx, i64 cy) {
            const i64 e = 2 * j - cy;
            const i64 h2 = ww - e * e;
            if (h2 >= 0) {
                const double h = std::sqrt(static_cast<double>(h2));
                left = std::min(left, static_cast<double>(cx) - h);
                right = std::max(right, static_cast<double>(cx) + h);
            }
        };
        disc(ax, ay);
        disc(bx, by);
        if (dd > 0) {
            // Between the ends: the band along the segment within its two
            // perpendiculars through the ends.
            const i64 e = 2 * j - ay;
            double bl = -inf, br = inf, sl = -inf, sr = inf;
            if (dy != 0) {
                const double reach = static_cast<double>(w) * std::sqrt(static_cast<double>(dd));
                const double c = static_cast<double>(e) * static_cast<double>(dx);
                const double u = (c - reach) / static_cast<double>(dy), v = (c + reach) / static_cast<double>(dy);
                bl = static_cast<double>(ax) + std::min(u, v), br = static_cast<double>(ax) + std::max(u, v);
            } else if (std::abs(e) > w) {
                bl = inf, br = -inf;
            }
            if (dx != 0) {
                const double c = static_cast<double>(e) * static_cast<double>(dy);
                const double u = -c / static_cast<double>(dx), v = (static_cast<double>(dd) - c) / static_cast<double>(dx);
                sl = static_cast<double>(ax) + std::min(u, v), sr = static_cast<double>(ax) + std::max(u, v);
            } else if (e * dy < 0 || e * dy > dd) {
                sl = inf, sr = -inf;
            }
            const double l = std::max(bl, sl), r = std::min(br, sr);
            if (l <= r) {
                left = std::min(left, l);
                right = std::max(right, r);
            }
        }
        if (!(left <= right))
            return false;
        // Held next to the columns asked for before any integer conversion.
        const double lo2 = 2.0 * static_cast<double>(lo) - 4, hi2 = 2.0 * static_cast<double>(hi) + 4;
        i64 f = static_cast<i64>(std::ceil(std::clamp(left, lo2, hi2) / 2));
        i64 l = static_cast<i64>(std::floor(std::clamp(right, lo2, hi2) / 2));
        f = std::clamp(f, lo, hi + 1);
        l = std::clamp(l, lo - 1, hi);
        while (f > lo && Covers(f - 1, j))
            --f;
        while (f <= hi && f <= l + 1 && !Covers(f, j))
            ++f;
        while (l < hi && Covers(l + 1, j))
            ++l;
        while (l >= f && !Covers(l, j))
            --l;
        if (f > l)
            return false;
        first = f, last = l;
        return true;
    }
};

// The segment's ends as whole pixels within reach of the image, or false
// when nothing of it can show.
bool Place(const Raster& r, double x0, double y0, double x1, double y1, int width, i64 out[4])
{
    if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1))
        return false;
    const double far = kFar + width;
    const double hiX = r.width + far, hiY = r.height + far;
    const auto near = [&](double x, double y) { return x >= -far && y >= -far && x <= hiX && y <= hiY; };
    if (!near(x0, y0) || !near(x1, y1)) {
        if (!ClipSegment(x0, y0, x1, y1, -far, hiX, hiY))
            return false;
    }
    const double v[4] = {x0, y0, x1, y1};
    for (int k = 0; k < 4; ++k) {
        // Mostly whole already (pen coordinates), and within reach here.
        const auto whole = static_cast<i64>(v[k]);
        out[k] = static_cast<double>(whole) == v[k] ? whole : static_cast<i64>(std::floor(v[k] + 0.5));
    }
    return true;
}

// The pixels of short wide segments, kept by width and vector: a curve
// drawn in short steps repeats the same few vectors thousands of times, and
// the rule gives a segment moved by whole pixels the same pixels moved.
class Stamps {
public:
    static constexpr int kMinWidth = 2;
    static constexpr int kMaxWidth = 8;
    static constexpr int kReach = 40;

    struct Row {
        std::int16_t first, last;  // first > last: none
    };
    struct Stamp {
        std::int16_t top = 0;
        std::int16_t count = 0;
        std::int32_t offset = -1;
    };

    static bool Fits(int width, i64 dx, i64 dy)
    {
        return width >= kMinWidth && width <= kMaxWidth && dx >= -kReach && dx <= kReach && dy >= -kReach &&
               dy <= kReach;
    }

    // The stamp of the segment (0, 0) -> (dx, dy); rows_ holds its rows.
    const Stamp& Find(int width, int dx, int dy)
    {
        std::vector<Stamp>& table = tables_[width - kMinWidth];
        if (table.empty())
            table.resize(kSide * kSide);
        Stamp& s = table[static_cast<std::size_t>(dy + kReach) * kSide + static_cast<std::size_t>(dx + kReach)];
        if (s.offset < 0)
            Make(s, width, dx, dy);
        return s;
    }
    const Row* Rows(const Stamp& s) const { return rows_.data() + s.offset; }

private:
    static constexpr std::size_t kSide = 2 * kReach + 1;

    void Make(Stamp& s, int width, int dx, int dy)
    {
        const Capsule c(0, 0, dx, dy, width);
        const i64 bound = kReach + kMaxWidth;
        s.offset = static_cast<std::int32_t>(rows_.size());
        s.top = static_cast<std::int16_t>(c.TopRow());
        for (i64 j = c.TopRow(); j <= c.BottomRow(); ++j) {
            i64 f = 1, l = 0;
            if (!c.Row(j, -bound, bound, f, l))
                f = 1, l = 0;
            rows_.push_back({static_cast<std::int16_t>(f), static_cast<std::int16_t>(l)});
        }
        s.count = static_cast<std::int16_t>(rows_.size() - static_cast<std::size_t>(s.offset));
    }

    std::vector<Stamp> tables_[kMaxWidth - kMinWidth + 1];
    std::vector<Row> rows_;
};

Stamps sharedStamps;

// A short wide segment from pixel (x, y), within reach of the image.
void Stamp(const Raster& r, int x, int y, int dx, int dy, int width, std::uint32_t colour)
{
    const Stamps::Stamp& s = sharedStamps.Find(width, dx, dy);
    const Stamps::Row* rows = sharedStamps.Rows(s);
    y += s.top;
    for (int k = 0; k < s.count; ++k)
        r.Span(y + k, x + rows[k].first, x + rows[k].last, colour);
}

void WideSegment(const Raster& r, const i64 p[4], int width, std::uint32_t colour)
{
    const i64 dx = p[2] - p[0], dy = p[3] - p[1];
    if (Stamps::Fits(width, dx, dy)) {
        // Within reach of the image (Place), so within an int.
        Stamp(r, static_cast<int>(p[0]), static_cast<int>(p[1]), static_cast<int>(dx), static_cast<int>(dy), width,
              colour);
        return;
    }
    const Capsule c(p[0], p[1], p[2], p[3], width);
    const i64 top = std::max<i64>(c.TopRow(), 0), bottom = std::min<i64>(c.BottomRow(), r.height - 1);
    if (top > bottom)
        return;
    i64 j = top;
    if (dx == 0) {
        // Along a column: the rows beside the segment share one span.
        const i64 from = std::max(top, CeilHalf(std::min(c.ay, c.by))),
                  to = std::min(bottom, FloorHalf(std::max(c.ay, c.by)));
        for (; j < from; ++j) {
            i64 f, l;
            if (c.Row(j, 0, r.width - 1, f, l))
                r.Span(static_cast<int>(j), static_cast<int>(f), static_cast<int>(l), colour);
        }
        if (from <= to) {
            const i64 f = std::max<i64>(CeilHalf(c.ax - c.w), 0), l = std::min<i64>(FloorHalf(c.ax + c.w), r.width - 1);
            if (f <= l)
                r.Block(static_cast<int>(f), static_cast<int>(l), static_cast<int>(from), static_cast<int>(to), colour);
            j = to + 1;
        }
    }
    for (; j <= bottom; ++j) {
        i64 f, l;
        if (c.Row(j, 0, r.width - 1, f, l))
            r.Span(static_cast<int>(j), static_cast<int>(f), static_cast<int>(l), colour);
    }
}

// The offsets of a 1-pixel line from its left end's row, column by column
// from `k`, the line running `along` > 0 columns and `across` rows (|across|
// <= along): floor((2k + 1) * across / (2 * along)) where it falls, floor(2k
// * across / (2 * along)) where it rises, stepped without dividing.
class ThinSteps {
public:
    ThinSteps(i64 k, i64 along, i64 across) : step_(2 * across), d_(2 * along)
    {
        const i64 n = (2 * k + (across >= 0 ? 1 : 0)) * across;
        q_ = FloorDiv(n, d_);
        r_ = n - q_ * d_;
    }
    i64 Offset() const { return q_; }
    void Next()
    {
        r_ += step_;
        if (r_ >= d_)
            r_ -= d_, ++q_;
        else if (r_ < 0)
            r_ += d_, --q_;
    }

private:
    i64 step_, d_, q_ = 0, r_ = 0;
};

void ThinSegment(const Raster& r, i64 x0, i64 y0, i64 x1, i64 y1, std::uint32_t colour)
{
    if (x0 == x1) {
        // Along a column, as the grid draws most.
        if (x0 >= 0 && x0 < r.width)
            r.Block(static_cast<int>(x0), static_cast<int>(x0), static_cast<int>(std::clamp<i64>(std::min(y0, y1), -1, r.height)),
                    static_cast<int>(std::clamp<i64>(std::max(y0, y1), -1, r.height)), colour);
        return;
    }
    if (std::abs(x1 - x0) < std::abs(y1 - y0)) {
        // Steeper than 45 degrees: one pixel a row, from the top end.
        if (y0 > y1)
            std::swap(x0, x1), std::swap(y0, y1);
        const i64 first = std::max<i64>(y0, 0), last = std::min<i64>(y1, r.height - 1);
        if (first > last)
            return;
        ThinSteps steps(first - y0, y1 - y0, x1 - x0);
        for (i64 y = first; y <= last; ++y, steps.Next()) {
            const i64 x = x0 + steps.Offset();
            if (x >= 0 && x < r.width)
                r.pixels[y * r.stride + x] = colour;
        }
        return;
    }
    if (x0 > x1)
        std::swap(x0, x1), std::swap(y0, y1);
    if ((y0 < 0 && y1 < 0) || (y0 >= r.height && y1 >= r.height))
        return;
    const i64 first = std::max<i64>(x0, 0), last = std::min<i64>(x1, r.width - 1);
    if (first > last)
        return;
    if (y0 == y1) {
        r.Span(static_cast<int>(y0), static_cast<int>(first), static_cast<int>(last), colour);
        return;
    }
    // Runs of one row are written as spans.
    ThinSteps steps(first - x0, x1 - x0, y1 - y0);
    i64 runStart = first, runRow = y0 + steps.Offset();
    for (i64 x = first + 1; x <= last; ++x) {
        steps.Next();
        const i64 y = y0 + steps.Offset();
        if (y != runRow) {
            r.Span(static_cast<int>(runRow), static_cast<int>(runStart), static_cast<int>(x - 1), colour);
            runStart = x, runRow = y;
        }
    }
    r.Span(static_cast<int>(runRow), static_cast<int>(runStart), static_cast<int>(last), colour);
}

} // namespace

void DrawLine(const Raster& raster, double x0, double y0, double x1, double y1, int width, std::uint32_t colour)
{
    if (raster.width <= 0 || raster.height <= 0)
        return;
    width = std::clamp(width, 1, kWidest);
    // A curve's step: short, between whole pen coordinates near the image
    // (NaN fails every comparison and takes the long way).
    constexpr double kNear = 1 << 16;
    if (width >= Stamps::kMinWidth && width <= Stamps::kMaxWidth && x0 >= -kNear && x0 <= kNear && y0 >= -kNear &&
        y0 <= kNear && x1 >= -kNear && x1 <= kNear && y1 >= -kNear && y1 <= kNear) {
        const auto ax = static_cast<int>(x0), ay = static_cast<int>(y0), bx = static_cast<int>(x1),
                   by = static_cast<int>(y1);
        if (ax == x0 && ay == y0 && bx == x1 && by == y1 && (ax != bx || ay != by) &&
            Stamps::Fits(width, bx - ax, by - ay)) {
            Stamp(raster, ax, ay, bx - ax, by - ay, width, colour);
            return;
        }
    }
    i64 p[4];
    if (!Place(raster, x0, y0, x1, y1, width, p))
        return;
    if (width == 1)
        ThinSegment(raster, p[0], p[1], p[2], p[3], colour);
    else if (p[0] == p[2] && p[1] == p[3])
        DrawDisc(raster, static_cast<double>(p[0]), static_cast<double>(p[1]), width, colour);
    else
        WideSegment(raster, p, width, colour);
}

void DrawDisc(const Raster& raster, double x, double y, int width, std::uint32_t colour)
{
    if (raster.width <= 0 || raster.height <= 0)
        return;
    width = std::clamp(width, 1, kWidest);
    i64 p[4];
    if (!Place(raster, x, y, x, y, width, p))
        return;
    constexpr int kShaped = 64;  // the widths whose shapes are kept
    if (width < kShaped) {
        const DiscShape& d = DiscOfWidth(width);
        const int cx = static_cast<int>(p[0]), cy = static_cast<int>(p[1]);
        for (const DiscShape::Row& row : d.rows)
            raster.Span(cy + row.dy, cx + row.first, cx + row.last, colour);
        return;
    }
    WideSegment(raster, p, width, colour);
}

} // namespace tk
