#include "activities/ratio_curve.h"
#include "support/curve_check.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>

using activities::RatioCurveInput;
using activities::TraceRatioCurve;
using namespace curvecheck;

namespace {

enum class Shape { Parabola, Ellipse, Hyperbola };

struct RatioCase {
    const char* name;
    RatioCurveInput in; // PF, PH, line kind, F, c
    std::int32_t grid;
    Shape shape;
    int lines; // LineTo calls, or -1 where they depend on the band of the ellipse
};
void PrintTo(const RatioCase& k, std::ostream* os) { *os << k.name; }

const float kRootNine = static_cast<float>(std::sqrt(9.0L));
const float kRootTwo = static_cast<float>(std::sqrt(2.0L));

const RatioCase kCases[] = {
    {"ParabolaLineX", {1, 1, 1, {2, 0}, 0}, 20, Shape::Parabola, 999},
    {"EllipseLineX", {1, 2, 1, {2, 0}, 0}, 20, Shape::Ellipse, -1},
    {"HyperbolaLineX", {2, 1, 1, {2, 0}, 0}, 20, Shape::Hyperbola, 1998},
    {"ParabolaLineY", {1, 1, 2, {0, 2}, 0}, 20, Shape::Parabola, 999},
    {"EllipseLineY", {1, 2, 2, {0, 2}, 0}, 20, Shape::Ellipse, -1},
    {"HyperbolaLineY", {2, 1, 2, {0, 2}, 0}, 20, Shape::Hyperbola, 1998},
    {"RootNineToThreeIsAParabola", {kRootNine, 3, 1, {2, 0}, 0}, 20, Shape::Parabola, 999},
    {"ParabolaOffCentreZoomedIn", {4, 4, 1, {1, 2}, -3}, 4, Shape::Parabola, 999},
    {"EllipseOffCentreZoomedOut", {1, 3, 2, {-2, -3}, 1}, 36, Shape::Ellipse, -1},
    {"HyperbolaRootTwoAnyOtherKindIsLineY", {kRootTwo, 1, 0, {0, 1}, -2}, 12, Shape::Hyperbola, 1998},
    // Longer than the sampled range: no sample is skipped, and the halves are
    // joined by chords beyond the plane's edges.
    {"EllipseCutBySampledRange", {8, 9, 2, {0, 3}, 0}, 4, Shape::Ellipse, 2000},
};

class RatioCurve : public testing::TestWithParam<RatioCase> {};

TEST_P(RatioCurve, DrawsTheWholeVisibleConicAndNothingElse)
{
    const RatioCase& k = GetParam();
    const plane::Mapping map(kSize, kSize, k.grid);
    RecordingSink sink;
    TraceRatioCurve(k.in, map, sink);
    ASSERT_FALSE(sink.ops.empty());
    ASSERT_TRUE(sink.ops.front().move);

    const bool lineX = k.in.lineKind == 1;
    const double e = static_cast<double>(k.in.ratioPF) / k.in.ratioPH;
    const double c = k.in.lineConst;
    const Comparison cmp = CompareWithCurve(sink.ops, map, [&](double x, double y) {
        return std::hypot(x - k.in.focus.x, y - k.in.focus.y) - e * std::fabs((lineX ? x : y) - c);
    });
    EXPECT_GT(cmp.truePoints, 100);
    EXPECT_EQ(cmp.stray, 0);
    EXPECT_EQ(cmp.uncovered, 0);

    // Along the line, the samples stay within -GridUnit..+GridUnit.
    for (const Op& op : sink.ops)
        EXPECT_LE(std::abs((lineX ? op.y : op.x) - kSize / 2), kSize + 1);
    if (k.lines >= 0) {
        EXPECT_EQ(sink.Lines(), k.lines);
    }
    if (k.shape == Shape::Hyperbola) {
        ASSERT_EQ(sink.Moves(), 2);
        EXPECT_TRUE(sink.ops[1000].move);
        // No line crosses the centre, halfway between the vertices.
        const double fa = lineX ? k.in.focus.x : k.in.focus.y;
        const double centre = (fa - e * e * c) / (1 - e * e) * kSize / k.grid;
        EXPECT_FALSE(CrossesLine(sink.ops, lineX, lineX ? kSize / 2.0 + centre : kSize / 2.0 - centre));
    } else {
        EXPECT_EQ(sink.Moves(), 1);
    }
    if (k.shape == Shape::Ellipse) {
        EXPECT_EQ(sink.ops.back().x, sink.ops.front().x);
        EXPECT_EQ(sink.ops.back().y, sink.ops.front().y);
    }
}

INSTANTIATE_TEST_SUITE_P(Conics, RatioCurve, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<RatioCase>& info) { return info.param.name; });

TEST(RatioCurve, ConditionsWithoutADrawablePointDrawNothing)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        const char* what;
        RatioCurveInput in;
        std::int32_t grid;
    } rows[] = {
        {"ellipse beyond the sampled range", {1, 2, 1, {1, 9}, 0}, 4},
        {"parabola with F on the line x = c", {1, 1, 1, {2, 5}, 2}, 20},
        {"parabola with F on the line y = c", {3, 3, 2, {3, -1}, -1}, 20},
        {"parabola about an undefined focus", {1, 1, 1, {nan, 0}, 0}, 20},
        {"ellipse about an undefined focus", {1, 2, 2, {0, nan}, 0}, 20},
        {"hyperbola about an undefined focus", {2, 1, 1, {nan, nan}, 0}, 20},
        {"pixels beyond a float's range", {1, 1, 1, {3e38f, 0}, 0}, 4},
        {"coefficients beyond a float's range", {3e38f, 1e-38f, 1, {2, 0}, 0}, 20},
    };
    for (const auto& r : rows) {
        RecordingSink sink;
        TraceRatioCurve(r.in, plane::Mapping(kSize, kSize, r.grid), sink);
        EXPECT_TRUE(sink.ops.empty()) << r.what;
    }
}

} // namespace
