// The rasterizer's rule, with no platform at all: wide pens as the pixels
// within half their width of the segment, 1-pixel lines one pixel a column,
// discs, and safety against any coordinates. Standard C++ only.

#include "toolkit/core/disc_shape.h"
#include "toolkit/core/rasterizer.h"
#include "toolkit/image.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <set>
#include <utility>
#include <vector>

using namespace tk;

namespace {

constexpr std::uint32_t kInk = 0xFF000000u;
constexpr std::uint32_t kPaper = 0xFFFFFFFFu;

using Pixels = std::set<std::pair<int, int>>;  // (x, y)

// An image of `size` pixels inside a border that nothing may touch.
struct Guarded {
    static constexpr int kBorder = 8;
    static constexpr std::uint32_t kGuard = 0xFF123456u;
    int width, height;
    Image whole;
    Raster inner;
    Guarded(int w, int h) : width(w), height(h), whole(w + 2 * kBorder, h + 2 * kBorder, kGuard)
    {
        inner = {whole.Bits() + kBorder * whole.Stride() + kBorder, whole.Stride(), w, h};
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                inner.pixels[y * inner.stride + x] = kPaper;
    }
    Pixels Ink() const
    {
        Pixels p;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (inner.pixels[y * inner.stride + x] == kInk)
                    p.insert({x, y});
        return p;
    }
    int GuardTouched() const
    {
        int n = 0;
        for (int y = 0; y < whole.Height(); ++y)
            for (int x = 0; x < whole.Width(); ++x) {
                const bool inside = x >= kBorder && y >= kBorder && x < kBorder + width && y < kBorder + height;
                n += !inside && whole.Pixel(x, y) != kGuard;
            }
        return n;
    }
};

Pixels Line(int w, double x0, double y0, double x1, double y1, int size = 120)
{
    Guarded g(size, size);
    DrawLine(g.inner, x0, y0, x1, y1, w, kInk);
    EXPECT_EQ(g.GuardTouched(), 0);
    return g.Ink();
}

// The wide rule pixel by pixel, in half pixels and whole numbers: centre
// of pixel i at 2i, an even pen's segment through the pixels' corners.
bool Covers(int w, int x0, int y0, int x1, int y1, int x, int y)
{
    const long long even = w % 2 == 0 ? 1 : 0;
    const long long ax = 2LL * x0 - even, ay = 2LL * y0 - even;
    const long long dx = 2LL * (x1 - x0), dy = 2LL * (y1 - y0);
    const long long px = 2LL * x - ax, py = 2LL * y - ay;
    const long long dd = dx * dx + dy * dy, dot = px * dx + py * dy, ww = 1LL * w * w;
    if (dot <= 0)
        return px * px + py * py <= ww;
    if (dot >= dd)
        return (px - dx) * (px - dx) + (py - dy) * (py - dy) <= ww;
    const long long cross = px * dy - py * dx;
    return cross * cross <= ww * dd;  // small coordinates: no overflow
}

Pixels Disc(int w, int cx, int cy)
{
    Pixels p;
    for (const DiscShape::Row& row : DiscShape(w).rows)
        for (int x = row.first; x <= row.last; ++x)
            p.insert({cx + x, cy + row.dy});
    return p;
}

} // namespace

TEST(WideLines, CoverThePixelsWithinHalfThePenWidthOfTheSegment)
{
    // Short segments (kept shapes), long ones (row spans), both ways round,
    // against the rule evaluated at every pixel.
    std::mt19937 rng(3);
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int i = 0; i < 400; ++i) {
        const int w = i % 5 == 0 ? pick(9, 30) : pick(2, 8);
        const int reach = i % 2 == 0 ? 40 : 110;
        const int x0 = pick(-20, 140), y0 = pick(-20, 140);
        const int x1 = x0 + pick(-reach, reach), y1 = y0 + pick(-reach, reach);
        Pixels expected;
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < 120; ++x)
                if (Covers(w, x0, y0, x1, y1, x, y))
                    expected.insert({x, y});
        ASSERT_EQ(Line(w, x0, y0, x1, y1), expected) << "width " << w << " (" << x0 << ", " << y0 << ") - (" << x1
                                                     << ", " << y1 << ")";
        ASSERT_EQ(Line(w, x1, y1, x0, y0), expected) << "reversed";
    }
}

TEST(WideLines, OddPensAreCentredOnPixelsEvenPensOnCorners)
{
    // Along a row at pen coordinate y = 50: an odd pen of w covers the rows
    // 50 - (w - 1) / 2 to 50 + (w - 1) / 2; an even pen of w the rows
    // 50 - w / 2 to 50 + w / 2 - 1. The round caps reach as far.
    for (int w = 2; w <= 9; ++w) {
        const Pixels p = Line(w, 30, 50, 70, 50);
        const int up = w % 2 == 1 ? (w - 1) / 2 : w / 2, down = w % 2 == 1 ? (w - 1) / 2 : w / 2 - 1;
        int top = 1000, bottom = -1, left = 1000, right = -1;
        for (const auto& [x, y] : p) {
            top = std::min(top, y), bottom = std::max(bottom, y);
            left = std::min(left, x), right = std::max(right, x);
        }
        EXPECT_EQ(top, 50 - up) << "width " << w;
        EXPECT_EQ(bottom, 50 + down) << "width " << w;
        EXPECT_EQ(left, 30 - up) << "width " << w;
        EXPECT_EQ(right, 70 + down) << "width " << w;
        for (int x = 30; x <= 70; ++x)
            for (int y = 50 - up; y <= 50 + down; ++y)
                ASSERT_TRUE(p.count({x, y})) << "width " << w << ": the band is whole";
        // The same along a column.
        const Pixels q = Line(w, 50, 30, 50, 70);
        EXPECT_TRUE(q.count({50 - up, 50}) && q.count({50 + down, 50}) && !q.count({50 - up - 1, 50}) &&
                    !q.count({50 + down + 1, 50}))
            << "width " << w;
    }
    // Centres just inside and just outside half the width: a 3-4-5 segment
    // of a 5-pixel pen, its perpendicular at the middle.
    const Pixels p = Line(5, 40, 40, 70, 80);
    EXPECT_TRUE(p.count({55 + 3, 60})) << "2.4 pixels from the segment";
    EXPECT_FALSE(p.count({55 + 1, 60 - 3})) << "2.6 pixels from it";
    EXPECT_TRUE(p.count({55 - 3, 60}));
    EXPECT_FALSE(p.count({55 - 1, 60 + 3}));
}

TEST(WideLines, ASegmentOfLengthZeroIsTheDisc)
{
    // The kept disc shapes below 64 pixels, the rule itself above.
    for (int w : {1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 63, 64, 65, 70}) {
        const Pixels disc = Disc(w, 60, 60);
        EXPECT_EQ(Line(w, 60, 60, 60, 60), disc) << "width " << w;
        Guarded g(120, 120);
        DrawDisc(g.inner, 60, 60, w, kInk);
        EXPECT_EQ(g.Ink(), disc) << "width " << w;
    }
}

TEST(ThinLines, OnePixelAColumnBothEndsTheSameEitherWayRound)
{
    // From (10, 10) to (22, 12), falling by 1/6 a column: column 10 + k
    // takes row 10 + floor((k + 1/2) / 6).
    Pixels falls;
    for (int x = 10; x <= 15; ++x)
        falls.insert({x, 10});
    for (int x = 16; x <= 21; ++x)
        falls.insert({x, 11});
    falls.insert({22, 12});
    EXPECT_EQ(Line(1, 10, 10, 22, 12), falls);
    EXPECT_EQ(Line(1, 22, 12, 10, 10), falls);
    // From (10, 12) to (22, 10), rising: row 12 + floor(-k / 6).
    Pixels rises;
    rises.insert({10, 12});
    for (int x = 11; x <= 16; ++x)
        rises.insert({x, 11});
    for (int x = 17; x <= 22; ++x)
        rises.insert({x, 10});
    EXPECT_EQ(Line(1, 10, 12, 22, 10), rises);
    // Steeper: the same with the axes swapped.
    Pixels steep;
    for (const auto& [x, y] : falls)
        steep.insert({y, x});
    EXPECT_EQ(Line(1, 10, 10, 12, 22), steep);

    std::mt19937 rng(5);
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int i = 0; i < 500; ++i) {
        const int x0 = pick(0, 119), y0 = pick(0, 119), x1 = pick(0, 119), y1 = pick(0, 119);
        const Pixels p = Line(1, x0, y0, x1, y1);
        ASSERT_EQ(Line(1, x1, y1, x0, y0), p) << "reversed";
        ASSERT_TRUE(p.count({x0, y0}) && p.count({x1, y1})) << "both ends";
        // One pixel a column (or a row), connected, no more.
        const int along = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
        ASSERT_EQ(static_cast<int>(p.size()), along + 1);
        for (const auto& [x, y] : p) {
            bool neighbour = along == 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    neighbour = neighbour || ((dx || dy) && p.count({x + dx, y + dy}));
            ASSERT_TRUE(neighbour) << "(" << x0 << ", " << y0 << ") - (" << x1 << ", " << y1 << ")";
        }
    }
    // Along a row or a column, exactly that row or column.
    Pixels row, column;
    for (int k = 5; k <= 100; ++k)
        row.insert({k, 40}), column.insert({40, k});
    EXPECT_EQ(Line(1, 100, 40, 5, 40), row);
    EXPECT_EQ(Line(1, 40, 5, 40, 100), column);
}

TEST(Safety, HugeAndNonFiniteCoordinatesAreCutOrDropped)
{
    const double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
    for (int w : {1, 2, 3}) {
        // Right across, from far beyond both sides: the band only.
        const Pixels p = Line(w, -1e300, 60, 1e300, 60);
        EXPECT_EQ(static_cast<int>(p.size()), 120 * w) << "width " << w;
        const Pixels q = Line(w, 60, -3e9, 60, 5e12);
        EXPECT_EQ(static_cast<int>(q.size()), 120 * w) << "width " << w;
        // Nothing for what cannot be placed.
        for (double bad : {inf, -inf, nan}) {
            EXPECT_TRUE(Line(w, bad, 10, 50, 50).empty());
            EXPECT_TRUE(Line(w, 10, 10, 50, bad).empty());
            Guarded g(120, 120);
            DrawDisc(g.inner, bad, 5, w, kInk);
            EXPECT_TRUE(g.Ink().empty());
        }
        // Far off the surface: nothing, and far diagonals through it still
        // one connected stroke.
        EXPECT_TRUE(Line(w, 1e15, 1e15, 2e15, -1e15).empty());
        EXPECT_FALSE(Line(w, -1e18, -1e18, 1e18, 1e18).empty());
    }
    // A pen wider than any surface fills it.
    Guarded g(50, 40);
    DrawLine(g.inner, 10, 10, 30, 20, std::numeric_limits<int>::max(), kInk);
    EXPECT_EQ(static_cast<int>(g.Ink().size()), 50 * 40);
    EXPECT_EQ(g.GuardTouched(), 0);
}

TEST(Safety, NothingIsWrittenOutsideTheImage)
{
    std::mt19937 rng(9);
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    Guarded g(37, 23);
    const double far[] = {-1e9, -70000, -1, 0, 36, 37, 1e7};
    for (int i = 0; i < 3000; ++i) {
        const int w = pick(1, 12);
        const auto coordinate = [&](int size) {
            return i % 4 == 0 ? far[pick(0, 6)] : static_cast<double>(pick(-30, size + 30));
        };
        if (i % 7 == 0)
            DrawDisc(g.inner, coordinate(37), coordinate(23), w, kInk);
        else
            DrawLine(g.inner, coordinate(37), coordinate(23), coordinate(37), coordinate(23), w, kInk);
    }
    EXPECT_EQ(g.GuardTouched(), 0);
    EXPECT_FALSE(g.Ink().empty());
}
