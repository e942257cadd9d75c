#include "activities/focal_curve.h"
#include "support/curve_check.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>

using activities::FocalCurveInput;
using activities::FociAligned;
using activities::TraceFocalCurve;
using namespace curvecheck;

namespace {

struct FocalCase {
    const char* name;
    FocalCurveInput in; // F1, F2, kind (1 sum, 2 difference), value
    std::int32_t grid;
};
void PrintTo(const FocalCase& k, std::ostream* os) { *os << k.name; }

const FocalCase kCases[] = {
    {"SumHorizontal", {{-3, 0}, {3, 0}, 1, 10}, 20},
    {"SumVertical", {{0, -3}, {0, 3}, 1, 10}, 20},
    {"CircleAboutCoincidentFoci", {{1, 1}, {1, 1}, 1, 4}, 20},
    {"SumOffCentreZoomedIn", {{-1, 0.5f}, {1, 0.5f}, 1, 3}, 4},
    {"DifferenceVertical", {{0, -5}, {0, 5}, 2, 6}, 20},
    {"DifferenceHorizontal", {{-5, 2}, {5, 2}, 2, 8}, 20},
    {"DifferenceZoomedOut", {{4, -9}, {4, 3}, 2, 1}, 36},
};

class FocalCurve : public testing::TestWithParam<FocalCase> {};

TEST_P(FocalCurve, DrawsTheWholeVisibleConicAndNothingElse)
{
    const FocalCurveInput& in = GetParam().in;
    const plane::Mapping map(kSize, kSize, GetParam().grid);
    RecordingSink sink;
    TraceFocalCurve(in, map, sink);
    ASSERT_FALSE(sink.ops.empty());
    ASSERT_TRUE(sink.ops.front().move);

    const Comparison cmp = CompareWithCurve(sink.ops, map, [&](double x, double y) {
        const double d1 = std::hypot(x - in.focus1.x, y - in.focus1.y);
        const double d2 = std::hypot(x - in.focus2.x, y - in.focus2.y);
        return (in.distanceKind == 1 ? d1 + d2 : std::fabs(d1 - d2)) - in.distanceValue;
    });
    EXPECT_GT(cmp.truePoints, 100);
    EXPECT_EQ(cmp.stray, 0);
    EXPECT_EQ(cmp.uncovered, 0);

    if (in.distanceKind == 1) {
        EXPECT_EQ(sink.Moves(), 1);
        EXPECT_EQ(sink.ops.back().x, sink.ops.front().x);
        EXPECT_EQ(sink.ops.back().y, sink.ops.front().y);
    } else {
        // Every sample of both branches is drawn, and no line joins them.
        ASSERT_EQ(sink.Moves(), 2);
        EXPECT_TRUE(sink.ops[1000].move);
        EXPECT_EQ(sink.Lines(), 1998);
        const bool vertical = in.focus1.x == in.focus2.x;
        const plane::PixelPoint centre =
            map.ToPixel({(in.focus1.x + in.focus2.x) / 2, (in.focus1.y + in.focus2.y) / 2});
        EXPECT_FALSE(CrossesLine(sink.ops, !vertical, vertical ? centre.y : centre.x));
    }
}

INSTANTIATE_TEST_SUITE_P(Conics, FocalCurve, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<FocalCase>& info) { return info.param.name; });

TEST(FocalCurve, EllipseStartsAndClosesAtItsVertex)
{
    RecordingSink sink;
    TraceFocalCurve({{-3, 0}, {3, 0}, 1, 10}, plane::Mapping(kSize, kSize, 20), sink);
    // Sample 375 of the first pass, t a hair above -5, is the first on the
    // ellipse: the left vertex (pixel 165), just above the axis.
    ASSERT_FALSE(sink.ops.empty());
    EXPECT_TRUE(sink.ops.front().move && sink.ops.front().x == 165 && sink.ops.front().y == 329);
    EXPECT_TRUE(sink.ops.back().x == 165 && sink.ops.back().y == 329);
}

TEST(FocalCurve, EllipseLongerThanTheSampledRangeIsClosedByChordsAtItsEnds)
{
    RecordingSink sink;
    TraceFocalCurve({{-3, 0}, {3, 0}, 1, 99}, plane::Mapping(kSize, kSize, 20), sink);
    // No sample is skipped: 2000 points and the closing line.
    ASSERT_EQ(sink.ops.size(), 2001u);
    EXPECT_EQ(sink.Moves(), 1);
    // The passes meet near t = +GridUnit (pixel 990) across the axis, and the
    // closing line crosses it again near t = -GridUnit (pixel -330).
    const Op& endOfFirst = sink.ops[999];
    const Op& startOfSecond = sink.ops[1000];
    EXPECT_NEAR(endOfFirst.x, 990, 1);
    EXPECT_NEAR(startOfSecond.x, 990, 2);
    EXPECT_TRUE(endOfFirst.y < 330 && startOfSecond.y > 330);
    EXPECT_NEAR(sink.ops[1999].x, -330, 1);
    EXPECT_NEAR(sink.ops[0].x, -330, 2);
    EXPECT_TRUE(sink.ops[1999].y > 330 && sink.ops[0].y < 330);
    EXPECT_EQ(Raster(sink.ops).Count(), 0);
}

TEST(FocalCurve, SumEqualToTheFocalDistanceTracesTheSegmentBetweenTheFoci)
{
    RecordingSink sink;
    TraceFocalCurve({{-3, 0}, {3, 0}, 1, 6}, plane::Mapping(kSize, kSize, 20), sink);
    ASSERT_EQ(sink.Moves(), 1);
    for (const Op& op : sink.ops)
        EXPECT_TRUE(op.y == 330 && op.x >= 231 && op.x <= 429) << op.x << "," << op.y;
    EXPECT_EQ(Raster(sink.ops).Count(), 429 - 231 + 1);
}

TEST(FocalCurve, ConditionsWithoutADrawableCurveDrawNothing)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        const char* what;
        FocalCurveInput in;
    } rows[] = {
        {"sum shorter than F1F2", {{-3, 0}, {3, 0}, 1, 5}},
        {"sum with coincident foci and no length", {{1, 1}, {1, 1}, 1, 0}},
        {"difference equal to F1F2", {{0, -3}, {0, 3}, 2, 6}},
        {"difference longer than F1F2", {{-3, 0}, {3, 0}, 2, 7}},
        {"difference of coincident foci", {{2, 2}, {2, 2}, 2, 4}},
        {"no kind entered", {{-3, 0}, {3, 0}, 0, 10}},
        {"unknown kind", {{-3, 0}, {3, 0}, 3, 10}},
        {"slanted foci", {{1, 2}, {3, 4}, 1, 10}},
        {"undefined focus", {{nan, 0}, {3, 0}, 1, 10}},
    };
    for (const auto& r : rows) {
        RecordingSink sink;
        TraceFocalCurve(r.in, plane::Mapping(kSize, kSize, 20), sink);
        EXPECT_TRUE(sink.ops.empty()) << r.what;
    }
    EXPECT_FALSE(FociAligned({1, 2}, {3, 4}));
    EXPECT_FALSE(FociAligned({1, 2}, {1.0000001f, 3}));
    EXPECT_TRUE(FociAligned({-0.0f, 1}, {0, 7}));
    EXPECT_TRUE(FociAligned({-5, 2}, {5, 2}));
}

} // namespace
