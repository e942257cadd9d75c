#include "plane/mapping.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace plane;

TEST(Roundoff, HalvesGoAwayFromZero)
{
    const struct {
        long double in;
        std::int32_t out;
    } rows[] = {{0.5L, 1},   {-0.5L, -1}, {-0.32L, 0},         {2.5L, 3},   {-2.5L, -3},
                {2.49L, 2},  {0.0L, 0},   {-0.0L, 0},          {329.5L, 330}, {-1.5L, -2},
                {1e-30L, 0}, {659.99L, 660}, {0.49999999L, 0}, {-0.50001L, -1}};
    for (const auto& r : rows)
        EXPECT_EQ(Roundoff(r.in), r.out) << static_cast<double>(r.in);
}

TEST(Roundoff, NonFiniteAndHugeValuesNeverReachAnIntegerConversion)
{
    constexpr auto max = std::numeric_limits<std::int32_t>::max();
    constexpr auto min = std::numeric_limits<std::int32_t>::min();
    EXPECT_EQ(Roundoff(std::numeric_limits<long double>::quiet_NaN()), 0);
    EXPECT_EQ(Roundoff(std::numeric_limits<long double>::infinity()), max);
    EXPECT_EQ(Roundoff(-std::numeric_limits<long double>::infinity()), min);
    EXPECT_EQ(Roundoff(1e300L), max);
    EXPECT_EQ(Roundoff(-1e300L), min);
    EXPECT_EQ(Roundoff(2147483646.6L), max);
    EXPECT_EQ(Roundoff(-2147483648.4L), min);
    EXPECT_EQ(Roundoff(2147483646.4L), 2147483646);
}

TEST(Zoom, ScrollPositionsGiveTheGridUnitsOfTheZoomTable)
{
    const int table[][2] = {{0, 36},  {2, 35},  {25, 28}, {48, 21}, {49, 20}, {50, 20},
                            {51, 20}, {52, 19}, {75, 12}, {99, 4},  {100, 4}};
    for (const auto& row : table)
        EXPECT_EQ(GridUnitForPosition(row[0]), row[1]) << "position " << row[0];
    for (int pos = 0; pos <= 100; ++pos) {
        EXPECT_GE(GridUnitForPosition(pos), 4);
        EXPECT_LE(GridUnitForPosition(pos), 36);
        if (pos > 0) {
            EXPECT_LE(GridUnitForPosition(pos), GridUnitForPosition(pos - 1)) << "zoom must not step back";
        }
    }
}

TEST(Mapping, PlanePointsLandOnTheirPixels)
{
    const Mapping m(660, 660, 20);
    EXPECT_EQ(m.ZahyotoDot({0, 0}), (RealPixel{330, 330}));
    EXPECT_EQ(m.ZahyotoDot({10, 10}), (RealPixel{660, 0}));
    EXPECT_EQ(m.ZahyotoDot({-10, -10}), (RealPixel{0, 660}));
    EXPECT_EQ(m.ZahyotoDot({1, 0}), (RealPixel{363, 330}));
    EXPECT_EQ(m.ZahyotoDot({0, 1}), (RealPixel{330, 297}));
    EXPECT_EQ(Mapping::ZahyoRtoPoint({329.5f, -0.5f}), (PixelPoint{330, -1}));
    EXPECT_EQ(Mapping(660, 660, 4).ToPixel({1, -1}), (PixelPoint{495, 495}));
    EXPECT_EQ(Mapping(660, 660, 36).ToPixel({18, 0}), (PixelPoint{660, 330}));
}

TEST(Mapping, PixelsMapBackExactlyAtEveryZoom)
{
    EXPECT_EQ(Mapping(660, 660, 20).DottoZahyo({363, 297}), (RealPoint{1, 1}));
    for (int gu = 4; gu <= 36; ++gu) {
        const Mapping m(660, 660, gu);
        EXPECT_EQ(m.DottoZahyo({330, 330}), (RealPoint{0, 0})) << gu;
        // Every pixel maps to a plane point that maps back onto the same pixel.
        for (int px = 0; px <= 660; px += 7) {
            const RealPoint p = m.DottoZahyo({static_cast<float>(px), static_cast<float>(660 - px)});
            EXPECT_EQ(m.ToPixel(p), (PixelPoint{px, 660 - px})) << "zoom " << gu << " pixel " << px;
        }
    }
}

TEST(Mapping, ReadsTheSurfaceSize)
{
    const Mapping m(200, 100, 10);
    EXPECT_EQ(m.ZahyotoDot({0, 0}), (RealPixel{100, 50}));
    EXPECT_EQ(m.ZahyotoDot({5, 5}), (RealPixel{200, 0}));
}

TEST(Distance, TrueAndSquared)
{
    EXPECT_EQ(Distance({0, 0}, {3, 4}), 5.0f);
    EXPECT_EQ(SquaredDistance({0, 0}, {3, 4}), 25.0f);
    EXPECT_EQ(Distance({-1, -1}, {-1, -1}), 0.0f);
    // Computed in extended precision and rounded once.
    EXPECT_EQ(Distance({0, 0}, {1, 1}), static_cast<float>(std::sqrt(2.0L)));
}
