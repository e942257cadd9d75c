// The canvas as the plane and the windows use it: pen state that persists,
// exact pixels without antialiasing, discs for wide points, safe clipping.

#include "toolkit/color.h"
#include "toolkit/form.h"
#include "toolkit/paintbox.h"

#include "support/design_pixels.h"

#include <gtest/gtest.h>

#include <limits>
#include <cmath>
#include <random>
#include <vector>

using namespace tk;

namespace {

// A 100 x 100 design surface: the paint box of a window, at the device
// scale the tests run at, or a canvas of its own held at the given scale.
struct Surface {
    Form form;
    PaintBox box{form};
    Image image;
    Canvas own;
    Canvas& c;
    Surface() : c(box.GetCanvas())
    {
        box.SetBounds(0, 0, 100, 100);
        Clear();
    }
    explicit Surface(double scale) : c(own)
    {
        const DeviceGrid grid(scale);
        image = Image(grid.EdgeClamped(100), grid.EdgeClamped(100));
        own.Attach(&image, nullptr, scale);
        Clear();
    }
    void Clear()
    {
        c.SetBrushColor(clWhite);
        c.FillRect({0, 0, 100, 100});
    }
    int Count(TColor colour, int x0 = 0, int y0 = 0, int x1 = 100, int y1 = 100)
    {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                n += c.Pixel(x, y) == colour;
        return n;
    }
};

} // namespace

TEST(Canvas, ThinLinesLieExactlyOnTheirColumnAndRow)
{
    Surface s;
    s.c.SetPenColor(clBlack);
    s.c.MoveTo(30, -200);
    s.c.LineTo(30, 300);
    s.c.MoveTo(-5, 60);
    s.c.LineTo(105, 60);
    EXPECT_EQ(s.Count(clBlack, 30, 0, 31, 100), 100);
    EXPECT_EQ(s.Count(clBlack, 0, 60, 100, 61), 100);
    EXPECT_EQ(s.Count(clBlack), 199) << "nothing but the two lines";
}

TEST(Canvas, AZeroLengthLineWithAWidePenIsADiscCentredOnThePixel)
{
    Surface window;
    window.c.SetPenColor(clRed);
    window.c.SetPenWidth(5);
    window.c.MoveTo(50, 50);
    window.c.LineTo(50, 50);
    EXPECT_TRUE(design_test::IsDisc(design_test::InkOf(window.c, clRed, {0, 0, 100, 100}), window.c.Grid(), 5,
                                    {50, 50}));
    // Its exact pixels at one device pixel per design pixel.
    Surface s(1);
    s.c.SetPenColor(clRed);
    s.c.SetPenWidth(5);
    s.c.MoveTo(50, 50);
    s.c.LineTo(50, 50);
    EXPECT_EQ(s.Count(clRed), 21) << "a 5x5 square without its corners";
    EXPECT_EQ(s.Count(clRed, 48, 48, 53, 53), 21);
    for (int d = -2; d <= 2; ++d) {
        EXPECT_EQ(s.c.Pixel(50 + d, 50), clRed);
        EXPECT_EQ(s.c.Pixel(50, 50 + d), clRed);
    }
    EXPECT_EQ(s.c.Pixel(48, 48), clWhite);
    EXPECT_EQ(s.c.Pixel(52, 52), clWhite);
}

TEST(Canvas, PenColourAndWidthPersistAcrossOperations)
{
    Surface s;
    s.c.SetPenColor(clAqua);
    s.c.SetPenWidth(2);
    s.c.MoveTo(10, 10);
    s.c.LineTo(10, 90);
    EXPECT_EQ(s.c.PenColor(), clAqua);
    EXPECT_EQ(s.c.PenWidth(), 2);
    s.c.LineTo(90, 90);
    EXPECT_EQ(s.c.PenPos(), (Point{90, 90}));
    // A wide pen covers two rows along the horizontal leg.
    EXPECT_EQ(s.Count(clAqua, 20, 85, 80, 95), 2 * 60);
}

TEST(Canvas, RectangleIsFilledAndOutlinedInsideWithThePensWidth)
{
    Surface s;
    s.c.SetBrushColor(clWhite);
    s.c.SetPenColor(clSilver);
    for (int width : {1, 2}) {
        s.c.SetPenWidth(width);
        s.c.Rectangle(0, 0, 100, 100);
        for (int d = 0; d < 3; ++d) {
            const TColor expected = d < width ? clSilver : clWhite;
            EXPECT_EQ(s.c.Pixel(d, 50), expected) << "left, width " << width;
            EXPECT_EQ(s.c.Pixel(99 - d, 50), expected) << "right";
            EXPECT_EQ(s.c.Pixel(50, d), expected) << "top";
            EXPECT_EQ(s.c.Pixel(50, 99 - d), expected) << "bottom";
        }
    }
}

TEST(Canvas, HugeAndOppositeCoordinatesAreClippedSafely)
{
    Surface s;
    constexpr int big = std::numeric_limits<int>::max();
    constexpr int small = std::numeric_limits<int>::min();
    s.c.SetPenColor(clRed);
    s.c.SetPenWidth(2);
    s.c.MoveTo(small, 50);
    s.c.LineTo(big, 50);
    EXPECT_EQ(s.Count(clRed, 0, 49, 100, 51), 200);
    s.c.MoveTo(big, big);
    s.c.LineTo(big, big);  // a disc far away draws nothing
    s.c.MoveTo(small, small);
    s.c.LineTo(big, small);
    EXPECT_EQ(s.Count(clRed), 200);
}

TEST(Canvas, TextRectFillsItsRectangleAndClipsTheText)
{
    Surface s;
    s.c.SetBrushColor(clMoneyGreen);
    s.c.SetFont({"ＭＳ Ｐゴシック", 21, clRed, false});
    s.c.TextRect({10, 5, 60, 25}, 10, 5, "点Ｐ (1.50 , -2.00)");
    EXPECT_GT(s.Count(clRed, 10, 5, 60, 25), 20) << "the text is drawn in the font colour";
    EXPECT_EQ(s.Count(clRed, 60, 0, 100, 100), 0) << "nothing beyond the rectangle";
    EXPECT_EQ(s.Count(clMoneyGreen, 10, 5, 60, 25) + s.Count(clRed, 10, 5, 60, 25), 50 * 20)
        << "opaque: the rest of the rectangle is the brush colour";
    s.c.TextRect({10, 5, 60, 25}, 10, 5, "");
    EXPECT_EQ(s.Count(clMoneyGreen), 50 * 20) << "an empty text blanks the rectangle";
}

namespace {

// The rasterizer's rule, pixel by pixel, on a design surface held at a
// device scale: a wide pen covers the device pixels whose centres lie within
// half its width of the segment laid at the pen coordinates (centres and
// ends in half pixels, so that every comparison is exact); a 1-pixel pen
// one pixel a column (a row where steeper).
bool RuleCovers(const DeviceGrid& g, int designWidth, Point a, Point b, int x, int y)
{
    const int w = g.PenWidth(designWidth);
    const double ax = g.PenCoordinate(a.x, designWidth), ay = g.PenCoordinate(a.y, designWidth);
    const double bx = g.PenCoordinate(b.x, designWidth), by = g.PenCoordinate(b.y, designWidth);
    if (w == 1) {
        if ((x == ax && y == ay) || (x == bx && y == by))
            return true;
        // One pixel a column from the left end (a row from the top end where
        // steeper): the segment's offset there, half a pixel further on
        // where it falls.
        const bool steep = std::fabs(by - ay) > std::fabs(bx - ax);
        const double along0 = steep ? std::min(ay, by) : std::min(ax, bx), along1 = steep ? std::max(ay, by) : std::max(ax, bx);
        const double across0 = steep ? (ay < by ? ax : bx) : (ax < bx ? ay : by);
        const double across1 = steep ? (ay < by ? bx : ax) : (ax < bx ? by : ay);
        const double k = (steep ? y : x) - along0;
        if (k < 0 || (steep ? y : x) > along1)
            return false;
        // In whole numbers: offset floor((2k + 1) * rise / (2 * run)), or
        // floor(2k * rise / (2 * run)) where it rises.
        const auto rise = static_cast<long long>(across1 - across0), run = static_cast<long long>(along1 - along0);
        if (run == 0)
            return (steep ? x : y) == across0;
        const long long n = (2 * static_cast<long long>(k) + (rise >= 0 ? 1 : 0)) * rise, d = 2 * run;
        const long long offset = n / d - (n % d != 0 && n < 0 ? 1 : 0);
        return (steep ? x : y) == across0 + static_cast<double>(offset);
    }
    const double even = w % 2 == 0 ? 1 : 0;
    const double px = 2.0 * x - (2 * ax - even), py = 2.0 * y - (2 * ay - even);
    const double dx = 2 * (bx - ax), dy = 2 * (by - ay), dd = dx * dx + dy * dy;
    const double dot = px * dx + py * dy;
    if (dot <= 0)
        return px * px + py * py <= w * w;
    if (dot >= dd)
        return (px - dx) * (px - dx) + (py - dy) * (py - dy) <= w * w;
    const double cross = px * dy - py * dx;
    return cross * cross <= w * w * dd;
}

} // namespace

TEST(Canvas, LinesCoverThePixelsOfTheRuleAtEveryRatio)
{
    // Short steps as a curve draws them (kept shapes), long lines (spans
    // row by row), lines along a row or column and lines reaching off the
    // surface, each alone on the surface and compared pixel by pixel.
    std::mt19937 rng(7);
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (double ratio : {1.0, 1.5, 2.0, 2.5}) {
        for (int i = 0; i < 150; ++i) {
            Surface s(ratio);
            const DeviceGrid& g = s.c.Grid();
            const int width = pick(1, 5);
            const int reach = i % 3 == 0 ? 13 : 80;
            const Point a{pick(-10, 110), pick(-10, 110)};
            Point b{a.x + pick(-reach, reach), a.y + pick(-reach, reach)};
            if (i % 10 == 1)
                b.y = a.y;
            if (i % 10 == 2)
                b.x = a.x;
            if (a == b)
                continue;  // a disc, checked on its own
            s.c.SetPenColor(clRed);
            s.c.SetPenWidth(width);
            s.c.MoveTo(a.x, a.y);
            s.c.LineTo(b.x, b.y);
            int differing = 0;
            for (int y = 0; y < s.c.DeviceHeight(); ++y)
                for (int x = 0; x < s.c.DeviceWidth(); ++x)
                    differing += (s.c.DevicePixel(x, y) == clRed) != RuleCovers(g, width, a, b, x, y);
            ASSERT_EQ(differing, 0) << "ratio " << ratio << " width " << width << " (" << a.x << ", " << a.y
                                    << ") - (" << b.x << ", " << b.y << ")";
        }
    }
}

// ---------------------------------------------------------------- device pixels

namespace {

constexpr double kRatios[] = {1, 1.25, 1.4, 1.5, 1.75, 2, 2.5, 3};

// A 100 x 100 design surface held at a device pixel ratio.
struct ScaledSurface {
    Image image;
    Canvas c;
    explicit ScaledSurface(double ratio)
    {
        const DeviceGrid grid(ratio);
        image = Image(grid.EdgeClamped(100), grid.EdgeClamped(100));
        c.Attach(&image, nullptr, ratio);
    }
    // The lengths of the runs of `colour` along device row (or column) k.
    std::vector<int> Runs(bool row, int k, TColor colour)
    {
        std::vector<int> runs;
        bool in = false;
        for (int i = 0; i < c.DeviceWidth(); ++i) {
            const bool on = (row ? c.DevicePixel(i, k) : c.DevicePixel(k, i)) == colour;
            if (on && !in)
                runs.push_back(0);
            if (on)
                ++runs.back();
            in = on;
        }
        return runs;
    }
};

} // namespace

TEST(DeviceGrid, DesignPixelsTileTheDevicePixelsAndClicksFindThem)
{
    for (double ratio : kRatios) {
        const DeviceGrid g(ratio);
        EXPECT_EQ(g.DesignExtent(g.EdgeClamped(660)), 660) << ratio;
        for (int x = -50; x < 700; ++x) {
            const int from = g.EdgeClamped(x), to = g.EdgeClamped(x + 1);
            ASSERT_GE(to - from, static_cast<int>(ratio)) << "ratio " << ratio << " design pixel " << x;
            ASSERT_LE(to - from, static_cast<int>(std::ceil(ratio)));
            for (int d = from; d < to; ++d)
                ASSERT_EQ(g.DesignPixelAt(d), x) << "ratio " << ratio << " device pixel " << d;
            // A pen of every width lies within a device pixel of its design place.
            for (int w : {1, 2, 5}) {
                const double at = g.PenCoordinate(x, w);
                const double centre = (w % 2 == 1 ? x + 0.5 : x) * ratio;
                const double drawn = g.PenWidth(w) % 2 == 1 ? at + 0.5 : at;
                ASSERT_LE(std::fabs(drawn - centre), 0.5 + 1e-9) << "ratio " << ratio << " width " << w;
            }
        }
        EXPECT_EQ(g.PenWidth(1), std::max(1, static_cast<int>(std::floor(ratio + 1e-9))));
    }
    EXPECT_EQ(DeviceGrid(std::numeric_limits<double>::quiet_NaN()).Scale(), 1.0);
    EXPECT_LE(DeviceGrid(1.5).DesignPixelAt(1e300), 1 << 29) << "huge positions are held, not overflowed";
}

TEST(Canvas, EveryLineKindHasOneDeviceWidthAtEveryRatio)
{
    for (double ratio : kRatios) {
        ScaledSurface s(ratio);
        const DeviceGrid& g = s.c.Grid();
        // Grid-like lines every 7 design pixels, right across.
        s.c.SetPenColor(clSilver);
        s.c.SetPenWidth(1);
        for (int k = 3; k < 100; k += 7) {
            s.c.MoveTo(k, -100);
            s.c.LineTo(k, 200);
            s.c.MoveTo(-100, k);
            s.c.LineTo(200, k);
        }
        const int between = g.EdgeClamped(5);
        for (bool row : {true, false})
            for (int run : s.Runs(row, between, clSilver))
                EXPECT_EQ(run, g.PenWidth(1)) << "ratio " << ratio;
        // Short 2-pixel steps as a curve draws them, and a long segment.
        ScaledSurface t(ratio);
        t.c.SetPenColor(clRed);
        t.c.SetPenWidth(2);
        t.c.MoveTo(10, 20);
        for (int x = 11; x < 90; ++x)
            t.c.LineTo(x, 20);
        t.c.MoveTo(60, 30);
        t.c.LineTo(60, 95);
        for (int x = 12; x < 88; x += 5)
            EXPECT_EQ(t.Runs(false, g.EdgeClamped(x), clRed), std::vector<int>{g.PenWidth(2)}) << "ratio " << ratio;
        for (int y = 40; y < 90; y += 5)
            EXPECT_EQ(t.Runs(true, g.EdgeClamped(y), clRed), std::vector<int>{g.PenWidth(2)}) << "ratio " << ratio;
    }
}

TEST(Canvas, DiscsAreRoundAndCentredAtEveryRatio)
{
    for (double ratio : kRatios) {
        for (int width : {2, 5}) {
            ScaledSurface s(ratio);
            const DeviceGrid& g = s.c.Grid();
            s.c.SetPenColor(clMaroon);
            s.c.SetPenWidth(width);
            s.c.MoveTo(50, 40);
            s.c.LineTo(50, 40);
            int left = 1 << 20, right = -1, top = 1 << 20, bottom = -1, count = 0;
            for (int y = 0; y < s.c.DeviceHeight(); ++y)
                for (int x = 0; x < s.c.DeviceWidth(); ++x)
                    if (s.c.DevicePixel(x, y) == clMaroon) {
                        left = std::min(left, x), right = std::max(right, x);
                        top = std::min(top, y), bottom = std::max(bottom, y);
                        ++count;
                    }
            const int d = g.PenWidth(width);
            EXPECT_EQ(right - left + 1, d) << "ratio " << ratio;
            EXPECT_EQ(bottom - top + 1, d) << "ratio " << ratio;
            EXPECT_NEAR(count, 3.14159 * d * d / 4, d) << "ratio " << ratio << ": round, not square";
            const double cx = (width % 2 == 1 ? 50.5 : 50) * ratio, cy = (width % 2 == 1 ? 40.5 : 40) * ratio;
            EXPECT_LE(std::fabs((left + right + 1) / 2.0 - cx), 0.5 + 1e-9) << "ratio " << ratio;
            EXPECT_LE(std::fabs((top + bottom + 1) / 2.0 - cy), 0.5 + 1e-9) << "ratio " << ratio;
        }
    }
}

TEST(Canvas, PolylinesAreTheUnionOfTheirSegmentsAtEveryRatio)
{
    // Many lines over each other: every segment, whatever path draws it,
    // covers exactly its own pixels of the rule, so the picture is their
    // union, in the order drawn.
    std::mt19937 rng(11);
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (double ratio : kRatios) {
        ScaledSurface s(ratio);
        const DeviceGrid& g = s.c.Grid();
        std::vector<TColor> expected(static_cast<std::size_t>(s.c.DeviceWidth() * s.c.DeviceHeight()), clWhite);
        const TColor colours[] = {clRed, clBlue, clLime};
        for (int i = 0; i < 60; ++i) {
            const int width = pick(1, 4);
            const Point a{pick(-3, 102), pick(-3, 102)};
            const Point b{a.x + pick(-30, 30), a.y + pick(-30, 30)};
            if (a == b)
                continue;
            const TColor colour = colours[i % 3];
            s.c.SetPenColor(colour);
            s.c.SetPenWidth(width);
            s.c.MoveTo(a.x, a.y);
            s.c.LineTo(b.x, b.y);
            for (int y = 0; y < s.c.DeviceHeight(); ++y)
                for (int x = 0; x < s.c.DeviceWidth(); ++x)
                    if (RuleCovers(g, width, a, b, x, y))
                        expected[static_cast<std::size_t>(y * s.c.DeviceWidth() + x)] = colour;
        }
        int differing = 0;
        for (int y = 0; y < s.c.DeviceHeight(); ++y)
            for (int x = 0; x < s.c.DeviceWidth(); ++x)
                differing += s.c.DevicePixel(x, y) != expected[static_cast<std::size_t>(y * s.c.DeviceWidth() + x)];
        EXPECT_EQ(differing, 0) << "ratio " << ratio;
    }
}

// A screen smaller than the design shows it at fewer device pixels than
// design pixels.
constexpr double kShrinkRatios[] = {0.5, 0.75, 0.78125, 0.8, 0.9375};

TEST(DeviceGrid, BelowOneAPressSelectsADesignPixelDrawnUnderThePointer)
{
    for (double ratio : kShrinkRatios) {
        const DeviceGrid g(ratio);
        int last = g.DesignPixelAt(0);
        for (int d = 0; d < g.EdgeClamped(660); ++d) {
            const int x = g.DesignPixelAt(d);
            // What the program draws at the design pixel a press selects,
            // a marker say, lies on the pressed device pixel.
            ASSERT_EQ(g.CentrePixel(x), d) << "ratio " << ratio << " device pixel " << d;
            ASSERT_GE(x, last) << "ratio " << ratio << ": presses further right select pixels further right";
            ASSERT_LE(x - last, static_cast<int>(std::ceil(1 / ratio)) + 1) << "ratio " << ratio;
            last = x;
        }
        EXPECT_EQ(g.PenWidth(1), 1) << "ratio " << ratio;
        EXPECT_GE(g.PenWidth(2), 1) << "ratio " << ratio;
        EXPECT_GE(g.DesignExtent(g.EdgeClamped(660)), 660) << "ratio " << ratio << ": no design column left out";
    }
}

TEST(Canvas, BelowOneEveryDesignLineAndDiscShows)
{
    for (double ratio : kShrinkRatios) {
        // Each 1-pixel line alone on the surface: none vanishes, and each is
        // one device pixel wide on its centre's device pixel.
        for (int k = 0; k < 100; ++k) {
            ScaledSurface s(ratio);
            const DeviceGrid& g = s.c.Grid();
            s.c.SetPenColor(clSilver);
            s.c.SetPenWidth(1);
            s.c.MoveTo(k, -100);
            s.c.LineTo(k, 200);
            s.c.MoveTo(-100, k);
            s.c.LineTo(200, k);
            const int at = DeviceGrid::Clamp(g.CentrePixel(k));
            const int across = at == 0 ? s.c.DeviceWidth() - 1 : 0;
            ASSERT_EQ(s.Runs(true, across, clSilver), std::vector<int>{1}) << "ratio " << ratio << " column " << k;
            ASSERT_EQ(s.Runs(false, across, clSilver), std::vector<int>{1}) << "ratio " << ratio << " row " << k;
            ASSERT_EQ(s.c.DevicePixel(at, across), clSilver) << "ratio " << ratio << " column " << k;
            ASSERT_EQ(s.c.Pixel(k, 50), clSilver) << "ratio " << ratio << " column " << k;
        }
        // Discs of the markers' width stay round and on their pixel.
        ScaledSurface s(ratio);
        s.c.SetPenColor(clMaroon);
        s.c.SetPenWidth(5);
        s.c.MoveTo(50, 40);
        s.c.LineTo(50, 40);
        EXPECT_EQ(s.c.Pixel(50, 40), clMaroon) << "ratio " << ratio;
        EXPECT_EQ(s.Runs(true, DeviceGrid::Clamp(s.c.Grid().CentrePixel(40)), clMaroon),
                  std::vector<int>{s.c.Grid().PenWidth(5)})
            << "ratio " << ratio;
        // A text of the strip's 16 pixels is still set, in a font of the
        // device's height.
        ScaledSurface t(ratio);
        t.c.SetBrushColor(clWhite);
        Font f = t.c.GetFont();
        f.height = 16;
        f.color = clBlack;
        t.c.SetFont(f);
        t.c.TextRect({0, 0, 100, 30}, 2, 2, "P(1.00, 2.00)");
        int ink = 0;
        for (int y = 0; y < t.c.DeviceHeight(); ++y)
            for (int x = 0; x < t.c.DeviceWidth(); ++x)
                ink += t.c.DevicePixel(x, y) == clBlack;
        EXPECT_GT(ink, 30) << "ratio " << ratio;
    }
}

TEST(DeviceGrid, EveryDevicePixelOfAThinLineSelectsItsDesignPixel)
{
    // Ratios whose design pixels are of two widths, the narrow ones
    // narrower than the rounded ratio: 1920 x 1200, 2560 x 1440 and
    // 3840 x 2160 screens among them.
    for (double ratio : {1.25, 1.40625, 1.5, 1.5625, 1.75, 1.875, 2.083984375, 2.5, 2.8125, 3.3, 3.75}) {
        const DeviceGrid g(ratio);
        const int pen = g.PenWidth(1);
        EXPECT_EQ(pen, static_cast<int>(ratio)) << "ratio " << ratio << ": as wide as the narrowest design pixel";
        for (int x = -40; x < 700; ++x) {
            // The pixels an aliased pen of this width covers at its coordinate.
            const double at = g.PenCoordinate(x, 1);
            const int first = static_cast<int>(at) - pen / 2, last = first + pen - 1;
            for (int d = first; d <= last; ++d)
                ASSERT_EQ(g.DesignPixelAt(d), x) << "ratio " << ratio << " design pixel " << x << " device " << d;
        }
    }
}
