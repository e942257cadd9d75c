// The two fixed points window as the student uses it: keying F1, F2 and a
// sum or difference, confirming, trying points on the plane, and having the
// ellipse or hyperbola drawn, checked on what the window shows.

#include "activities/syoten_form.h"

#include "support/syoten_driver.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

using namespace activities;
using tk::TColor;

namespace {

const std::string kRefused = "条件に誤りがあります。\r\n距離を再入力して下さい。";
const std::string kDiagonal = "２定点が斜めの場合の描画機能は本プログラムにはありません。\r\n"
                              "２定点が水平または垂直の場合のみ描画機能は使用できます。";

// The pixel of a plane point at the opening zoom, 33 pixels per unit.
tk::Point At(double x, double y)
{
    return {330 + static_cast<int>(std::lround(33 * x)), 330 - static_cast<int>(std::lround(33 * y))};
}

using curvecheck::Conic;

// The ellipse or hyperbola of foci (x1, y1), (x2, y2) as {g = 0}.
Conic Locus(double x1, double y1, double x2, double y2, bool sum, double value)
{
    return [=](double x, double y) {
        const double d1 = std::hypot(x - x1, y - y1), d2 = std::hypot(x - x2, y - y2);
        return (sum ? d1 + d2 : std::fabs(d1 - d2)) - value;
    };
}

struct Window : form_test::SyotenDriver {
    form_test::MessageLog messages;
};

} // namespace

TEST(SyotenWindow, FromTheKeysThroughTrialPointsToTheEllipse)
{
    Window w;
    w.Type("x1 － ３ y1 ０ x2 ３ y2 ０ dist 和＝ １ ０ 決定");
    EXPECT_EQ(w.form.Entry.LblKyori->Caption(), " 和＝１０");
    EXPECT_TRUE(w.messages.texts.empty()) << "10 exceeds |F1F2| = 6";
    EXPECT_EQ(w.Selection(), "00000MMMMM") << "no field stays selected";
    EXPECT_EQ(w.form.Entry.InputTarget, 5);
    EXPECT_EQ(w.PlanePixel(231, 330), tk::clMaroon);
    EXPECT_EQ(w.PlanePixel(429, 330), tk::clMaroon);
    EXPECT_TRUE(w.Shows(plane::kStatusStrip, tk::clRed, ""));

    // Until the plane is clicked a repaint shows neither P nor a readout.
    w.Scroll(tk::drive::BarMenuItem::StepLeft);  // position 50: still 20 units
    EXPECT_EQ(w.CountPlane(tk::clLime), 0);
    EXPECT_EQ(w.CountPlane(tk::clFuchsia) + w.CountPlane(tk::clYellow), 0);
    EXPECT_EQ(w.PlanePixel(231, 330), tk::clMaroon);
    EXPECT_TRUE(w.Shows(plane::kStatusStrip, tk::clRed, ""));

    // P at the top vertex: 5 + 5 = 10.
    w.PressAt(At(0, 4));
    EXPECT_EQ(w.PlanePixel(330, 196), tk::clLime) << "P's dot above where the segments meet";
    EXPECT_TRUE(w.Near({280, 264}, tk::clFuchsia)) << "F1 -> P";
    EXPECT_TRUE(w.Near({380, 264}, tk::clFuchsia)) << "P -> F2";
    EXPECT_EQ(w.CountPlane(tk::clYellow), 0);
    EXPECT_TRUE(w.Shows(plane::kCoordinateRect, tk::clRed, "点Ｐ (0.00 , 4.00)"));
    EXPECT_TRUE(w.Shows(plane::kQuantityRect, tk::clPurple, "距離の和＝10.00 誤差＝0.00"));
    EXPECT_EQ(w.form.Plane.AfterimageCount, 1);
    EXPECT_FALSE(w.form.BtnByoga->Visible()) << "the stored point shows the button only at the next repaint";

    w.PressAt(At(0, 4));
    EXPECT_TRUE(w.form.BtnByoga->Visible());
    w.Type("graph");
    EXPECT_TRUE(w.form.CurveShown);
    const Conic ellipse = Locus(-3, 0, 3, 0, true, 10);
    curvecheck::Comparison c = w.Against(ellipse);
    EXPECT_GT(c.truePoints, 300);
    EXPECT_EQ(c.stray, 0);
    EXPECT_EQ(c.uncovered, 0) << "a closed outline";

    // The zoom redraws the curve at once at the new scale.
    w.Scroll(tk::drive::BarMenuItem::StepRight);
    w.Scroll(tk::drive::BarMenuItem::StepRight);  // position 52: 19 units
    ASSERT_EQ(w.form.Plane.GridUnit, 19);
    c = w.Against(ellipse);
    EXPECT_EQ(c.stray, 0);
    EXPECT_EQ(c.uncovered, 0);

    w.Type("graph");
    EXPECT_FALSE(w.form.CurveShown);
    EXPECT_EQ(w.CountPlane(tk::clRed), 0) << "the second press takes the curve away at once";

    // Every repaint with the matching P stored it once more.
    ASSERT_EQ(w.form.Plane.AfterimageCount, 6);
    for (int k = 1; k <= 6; ++k)
        EXPECT_EQ(w.form.Plane.Afterimage(k), (plane::RealPoint{0, 4}));

    // Confirming again starts the trials over.
    w.Type("graph 決定");
    EXPECT_FALSE(w.form.CurveShown);
    EXPECT_FALSE(w.form.BtnByoga->Visible());
    EXPECT_EQ(w.form.Plane.AfterimageCount, 0);
    EXPECT_EQ(w.CountPlane(tk::clRed) + w.CountPlane(tk::clLime), 0);
    EXPECT_TRUE(w.Shows(plane::kStatusStrip, tk::clRed, ""));
}

// The window's own frame as designed; the two panels lay out their insides.
TEST(SyotenWindow, OpensMaximizedWithItsControlsInPlace)
{
    Window w;
    EXPECT_EQ(w.form.Caption(), "Orvalis（２つの焦点）");
    EXPECT_EQ(w.form.Color(), tk::clMoneyGreen);
    EXPECT_EQ(w.form.GetWindowState(), tk::WindowState::Maximized);
    const struct {
        const tk::Control* control;
        std::array<int, 4> bounds;
    } places[] = {{w.form.PaintBox1.get(), {8, 29, 660, 660}},   {w.form.ScrollBar1.get(), {48, 696, 569, 17}},
                  {w.form.Entry.GroupBox2.get(), {691, 24, 318, 289}}, {w.form.BtnByoga.get(), {691, 336, 321, 51}},
                  {w.form.Entry.Keypad.GroupBox1.get(), {699, 418, 209, 273}},
                  {w.form.BtnSai.get(), {931, 576, 86, 51}},      {w.form.BtnSyuryo.get(), {931, 640, 86, 51}}};
    for (const auto& p : places) {
        const tk::Control& c = *p.control;
        EXPECT_EQ((std::array{c.Left(), c.Top(), c.Width(), c.Height()}), p.bounds) << p.bounds[0];
    }
    EXPECT_EQ(w.form.ScrollBar1->Position(), 51);
    EXPECT_EQ(w.form.BtnByoga->Caption(), "条件を満たすグラフを描く");
    for (const tk::Button* b : {w.form.BtnByoga.get(), w.form.BtnSai.get(), w.form.BtnSyuryo.get()}) {
        const tk::Font& f = b->GetFont();
        EXPECT_EQ(f.name + std::to_string(f.height) + (f.bold ? " bold" : ""), "ＭＳ 明朝21 bold") << b->Caption();
    }
}

struct ReadoutCase {
    const char* name;
    const char* keys;
    tk::Point press;
    const char* coordinates;
    const char* quantity;
    bool matched;
};

void PrintTo(const ReadoutCase& c, std::ostream* os) { *os << c.name; }
class SyotenReadout : public ::testing::TestWithParam<ReadoutCase> {};

TEST_P(SyotenReadout, WritesPAndTheMeasuredDistanceAndColoursTheSegments)
{
    const ReadoutCase& c = GetParam();
    Window w;
    w.Type(c.keys);
    w.PressAt(c.press);
    EXPECT_TRUE(w.Shows(plane::kCoordinateRect, tk::clRed, c.coordinates));
    EXPECT_TRUE(w.Shows(plane::kQuantityRect, tk::clPurple, c.quantity));
    EXPECT_GT(w.CountPlane(c.matched ? tk::clFuchsia : tk::clYellow), 40);
    EXPECT_EQ(w.CountPlane(c.matched ? tk::clYellow : tk::clFuchsia), 0);
    EXPECT_EQ(w.form.Plane.AfterimageCount, c.matched ? 1 : 0);
}

// Foci (-3, 0) and (3, 0) throughout; an error of 0.03 meets a sum but
// misses a difference.
INSTANTIATE_TEST_SUITE_P(
    Clicks, SyotenReadout,
    ::testing::Values(
        ReadoutCase{"SumWithinItsTolerance", "x1 － ３ y1 ０ x2 ３ y2 ０ dist 和＝ １ ０ 決定", {412, 216},
                    "点Ｐ (2.48 , 3.45)", "距離の和＝9.97 誤差＝0.03", true},
        ReadoutCase{"DifferenceOnTheHyperbola", "x1 － ３ y1 ０ x2 ３ y2 ０ dist 差＝ ２ 決定", At(1, 0),
                    "点Ｐ (1.00 , 0.00)", "距離の差＝2.00 誤差＝0.00", true},
        ReadoutCase{"DifferenceBeyondItsTolerance", "x1 － ３ y1 ０ x2 ３ y2 ０ dist 差＝ ３ 決定", {392, 267},
                    "点Ｐ (1.88 , 1.91)", "距離の差＝3.03 誤差＝0.03", false},
        // Before the first confirm F1 and F2 are still (0, 0) and no kind
        // counts as a difference of 0.
        ReadoutCase{"BeforeAnyConfirm", "x1 － ３ y1 ０ x2 ３ y2 ０", At(1, 0), "点Ｐ (1.00 , 0.00)",
                    "距離の差＝0.00 誤差＝0.00", true}),
    [](const auto& info) { return std::string(info.param.name); });

// An entered distance is a whole number, so a keyed condition never misses by
// exactly the tolerance; the boundary is reached before the first distance
// is keyed (0), with F2 placed that far from F1 = P.
TEST(SyotenReadout, AnErrorEqualToTheFloatToleranceIsAMiss)
{
    const struct {
        const char* kind;
        float f2x;
        bool matched;
    } cases[] = {{"和＝", 0.06f, false},
                 {"和＝", std::nextafter(0.06f, 0.0f), true},
                 {"差＝", 0.02f, false},
                 {"差＝", std::nextafter(0.02f, 0.0f), true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.kind) + std::to_string(c.f2x));
        Window w;
        w.Type(std::string("x1 ０ y1 ０ x2 ０ y2 ０ dist ") + c.kind);
        w.form.Focus2 = {c.f2x, 0};
        w.PressAt(At(0, 0));
        EXPECT_EQ(w.form.Plane.AfterimageCount, c.matched ? 1 : 0);
        // The segments from P, drawn over its dot, in the colour of the outcome.
        const tk::Canvas& plane = w.form.PaintBox1->GetCanvas();
        const tk::Rect aroundP{320, 320, 340, 340};
        EXPECT_GT(design_test::InkOf(plane, c.matched ? tk::clFuchsia : tk::clYellow, aroundP).count, 0);
        EXPECT_EQ(design_test::InkOf(plane, c.matched ? tk::clYellow : tk::clFuchsia, aroundP).count, 0);
    }
}

struct WalkCase {
    const char* name;
    const char* keys;
    const char* selection;
    int target;
    int distanceState;
    bool completed;
};

void PrintTo(const WalkCase& c, std::ostream* os) { *os << c.name; }
class SyotenConfirm : public ::testing::TestWithParam<WalkCase> {};

TEST_P(SyotenConfirm, SelectsTheFirstIncompleteFieldOrCompletes)
{
    const WalkCase& c = GetParam();
    Window w;
    w.Type(c.keys);
    EXPECT_EQ(w.Selection(), c.selection);
    EXPECT_EQ(w.form.Entry.InputTarget, c.target);
    EXPECT_EQ(w.form.Fields.DistanceState, c.distanceState);
    EXPECT_TRUE(w.messages.texts.empty());
    // F1 (1, 2) and F2 (3, 4) are marked only by a completion.
    EXPECT_EQ(w.PlanePixel(363, 264) == tk::clMaroon, c.completed);
    EXPECT_EQ(w.PlanePixel(429, 198) == tk::clMaroon, c.completed);
}

INSTANTIATE_TEST_SUITE_P(
    Walk, SyotenConfirm,
    ::testing::Values(WalkCase{"NothingEntered", "決定", "10000RMMMM", 1, 0, false},
                      WalkCase{"F2yEmpty", "x1 １ y1 ２ x2 ３ dist 和＝ ９ 決定", "00010MMMRM", 4, 8, false},
                      WalkCase{"OnlyTheKindChosen", "x1 １ y1 ２ x2 ３ y2 ４ dist 和＝ x1 決定", "00001MMMMR", 5, 1,
                               false},
                      WalkCase{"OneDigitIsComplete", "x1 １ y1 ２ x2 ３ y2 ４ dist 和＝ ９ 決定", "00000MMMMM", 5, 9,
                               true}),
    [](const auto& info) { return std::string(info.param.name); });

// The integer distance against the float |F1F2| with no tolerance: a sum
// must exceed it, a difference stay below it.
TEST(SyotenConfirm, ChecksTheDistanceExactlyAgainstF1F2)
{
    const struct {
        const char* distance;
        const char* foci;
        bool accepted;
    } cases[] = {
        {"和＝ ５", "x1 ０ y1 ０ x2 ３ y2 ４", false}, {"和＝ ６", "x1 ０ y1 ０ x2 ３ y2 ４", true},
        {"差＝ ５", "x1 ０ y1 ０ x2 ３ y2 ４", false}, {"差＝ ４", "x1 ０ y1 ０ x2 ３ y2 ４", true},
        {"和＝ ２", "x1 √ ２ y1 ０ x2 ０ y2 ０", true}, {"和＝ １", "x1 √ ２ y1 ０ x2 ０ y2 ０", false},
        {"差＝ １", "x1 √ ２ y1 ０ x2 ０ y2 ０", true}, {"差＝ ２", "x1 √ ２ y1 ０ x2 ０ y2 ０", false},
        {"和＝ １", "x1 １ y1 １ x2 １ y2 １", true},    {"差＝ １", "x1 １ y1 １ x2 １ y2 １", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.foci) + " " + c.distance);
        Window w;
        // The distance first, so that F2's y is the target when the box opens.
        w.Type(std::string("dist ") + c.distance + " " + c.foci);
        const std::string label = w.form.Entry.LblKyori->Caption();
        std::string whileOpen;
        w.messages.whileOpen = [&] { whileOpen = w.Selection() + std::to_string(w.form.Entry.InputTarget); };
        w.Type("決定");
        if (c.accepted) {
            EXPECT_TRUE(w.messages.texts.empty());
            EXPECT_EQ(w.Selection(), "00000MMMMM");
            continue;
        }
        ASSERT_EQ(w.messages.texts, std::vector<std::string>{kRefused});
        EXPECT_EQ(whileOpen, "00000MMMMM4") << "the distance is selected only once the box is closed";
        EXPECT_EQ(w.Selection(), "00001MMMMR");
        EXPECT_EQ(w.form.Entry.InputTarget, 5);
        EXPECT_EQ(w.form.Fields.DistanceState, 9);
        EXPECT_EQ(w.form.Entry.LblKyori->Caption(), label);
        const tk::Canvas& plane = w.form.PaintBox1->GetCanvas();
        EXPECT_EQ(design_test::InkOf(plane, tk::clMaroon, {0, 0, 660, 660}).count,
                  design_test::DiscPixels(plane.Grid(), 5) * (std::string(c.foci) == "x1 １ y1 １ x2 １ y2 １" ? 1 : 2))
            << "F1 and F2 stay marked";
        w.Type("決定");
        EXPECT_EQ(w.messages.texts.size(), 2u) << "unchanged conditions are refused again";
    }
}

struct CurveCase {
    const char* name;
    const char* keys;
    tk::Point onCurve;
    double x1, y1, x2, y2;
    bool sum;
    double value;
    bool closest = false;  // at the closest zoom, 4 units across
};

void PrintTo(const CurveCase& c, std::ostream* os) { *os << c.name; }
class SyotenCurve : public ::testing::TestWithParam<CurveCase> {};

TEST_P(SyotenCurve, TheGraphButtonDrawsTheTrueConic)
{
    const CurveCase& c = GetParam();
    Window w;
    if (c.closest)
        w.Scroll(tk::drive::BarMenuItem::RightEnd);
    w.Type(c.keys);
    w.PressAt(c.onCurve);
    w.PressAt(c.onCurve);
    w.Type("graph");
    EXPECT_TRUE(w.messages.texts.empty());
    const curvecheck::Comparison cmp = w.Against(Locus(c.x1, c.y1, c.x2, c.y2, c.sum, c.value));
    EXPECT_GT(cmp.truePoints, 200);
    EXPECT_EQ(cmp.stray, 0) << "nothing off the curve: the branches are not joined";
    EXPECT_EQ(cmp.uncovered, 0) << "no gap";
}

INSTANTIATE_TEST_SUITE_P(
    Conics, SyotenCurve,
    ::testing::Values(
        CurveCase{"EllipseOfVerticalFoci", "x1 ０ y1 － ３ x2 ０ y2 ３ dist 和＝ １ ０ 決定", At(0, 5), 0, -3, 0, 3, true,
                  10},
        CurveCase{"HyperbolaOfVerticalFoci", "x1 ０ y1 － ５ x2 ０ y2 ５ dist 差＝ ６ 決定", At(0, 3), 0, -5, 0, 5,
                  false, 6},
        CurveCase{"HyperbolaOfHorizontalFoci", "x1 － ５ y1 ２ x2 ５ y2 ２ dist 差＝ ８ 決定", At(4, 2), -5, 2, 5, 2,
                  false, 8},
        CurveCase{"CircleOfOneFocus", "x1 １ y1 １ x2 １ y2 １ dist 和＝ ４ 決定", At(3, 1), 1, 1, 1, 1, true, 4},
        // Both branches end on the line x = 1 in view: no line joins them there.
        CurveCase{"HyperbolaBranchesEndInView", "x1 － ３ y1 － １ x2 － ３ y2 １ dist 差＝ １ 決定", {240, 82}, -3, -1,
                  -3, 1, false, 1, true}),
    [](const auto& info) { return std::string(info.param.name); });

// At the closest zoom (4 units) the circle of radius 5 about (0, 5) is
// sampled only for 1 < y <= 9; the line that closes it crosses the plane at
// y = 1, and nothing of the circle itself is in view.
TEST(SyotenCurve, ASumLongerThanTheSampledRangeIsClosedByAChord)
{
    Window w;
    w.Scroll(tk::drive::BarMenuItem::RightEnd);
    ASSERT_EQ(w.form.Plane.GridUnit, 4);
    w.Type("x1 ０ y1 ５ x2 ０ y2 ５ dist 和＝ １ ０ 決定");
    w.PressPlane(330, 330);  // the origin, 5 from the focus
    w.PressPlane(330, 330);
    w.Type("graph");
    int inBand = 0, columns = 0;
    for (int x = 0; x < 660; ++x) {
        const int before = inBand;
        for (int y = 160; y <= 170; ++y)
            inBand += w.PlanePixel(x, y) == tk::clRed ? 1 : 0;
        columns += inBand > before ? 1 : 0;
    }
    EXPECT_EQ(columns, 660) << "the chord at y = 1 (row 165) crosses the whole plane";
    EXPECT_EQ(w.CountPlane(tk::clRed), inBand) << "and nothing else is drawn";
}

// For diagonal foci every repaint while the curve is on raises the message
// and draws nothing. Closing the box neither repaints the plane (the message
// does not come back by itself) nor counts as an activation (no reset).
TEST(SyotenDiagonal, EachRepaintWithTheCurveOnRaisesTheMessage)
{
    Window w;
    w.Type("x1 １ y1 ２ x2 ３ y2 ４ dist 和＝ ５ 決定");
    w.PressPlane(408, 302);  // (2.36, 0.85): the sum is 5.00
    w.PressPlane(408, 302);
    ASSERT_TRUE(w.messages.texts.empty());
    const TColor pen = w.form.Plane.Canvas().PenColor();
    w.Type("graph");
    EXPECT_EQ(w.messages.texts, std::vector<std::string>{kDiagonal});
    EXPECT_TRUE(w.form.CurveShown);
    EXPECT_EQ(w.CountPlane(tk::clRed), 0);
    EXPECT_EQ(w.form.Plane.Canvas().PenColor(), pen);
    w.PressPlane(300, 300);
    EXPECT_EQ(w.messages.texts.size(), 2u);
    w.Scroll(tk::drive::BarMenuItem::StepRight);
    EXPECT_EQ(w.messages.texts.size(), 3u);

    // The real box, closed with OK as soon as it is up.
    tk::Application::Instance().SetMessageHandler({});
    std::vector<std::string> shown;
    const tk::drive::Ticker closer(10, [&] {
        if (const auto box = tk::drive::ModalBox()) {
            shown.push_back(box->text);
            tk::drive::AcceptBox();
        }
    });
    const int resets = w.form.ResetCount;
    w.PressPlane(300, 300);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "２定点が斜めの場合の描画機能は本プログラムにはありません。\n"
                        "２定点が水平または垂直の場合のみ描画機能は使用できます。");
    tk::drive::Wait(200);
    EXPECT_EQ(shown.size(), 1u);
    EXPECT_EQ(w.form.ResetCount, resets);
    w.Type("graph");
    w.PressPlane(300, 300);
    EXPECT_FALSE(w.form.CurveShown);
    EXPECT_EQ(shown.size(), 1u) << "the curve is off";
}

// The graph button is still offered when a trial point met conditions that
// the confirm key refused; no false curve is drawn for them.
TEST(SyotenOpenCases, RefusedConditionsDrawNoFalseCurve)
{
    const struct {
        const char* keys;
        tk::Point match;
        bool segment;  // the sum equal to |F1F2|: its locus is the segment F1F2
    } cases[] = {
        {"x1 － √ ２ y1 ０ x2 √ ７ y2 ０ dist 和＝ ４ 決定", {354, 330}, false},  // |F1F2| = 4.0599...
        {"x1 － ３ y1 ０ x2 ３ y2 ０ dist 差＝ ６ 決定", At(5, 0), false},
        {"x1 － ３ y1 ０ x2 ３ y2 ０ dist 和＝ ６ 決定", At(0, 0), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        Window w;
        w.Type(c.keys);
        ASSERT_EQ(w.messages.texts, std::vector<std::string>{kRefused});
        w.PressAt(c.match);
        w.PressAt(c.match);
        w.Type("graph");
        EXPECT_TRUE(w.form.CurveShown);
        EXPECT_EQ(w.messages.texts.size(), 1u);
        if (!c.segment) {
            EXPECT_EQ(w.CountPlane(tk::clRed), 0);
            continue;
        }
        int onSegment = 0;
        for (int y = 328; y <= 332; ++y)
            for (int x = 229; x <= 431; ++x)
                onSegment += w.PlanePixel(x, y) == tk::clRed ? 1 : 0;
        EXPECT_GT(onSegment, 190);
        EXPECT_EQ(w.CountPlane(tk::clRed), onSegment);
    }
}

TEST(SyotenReset, RetryEmptiesTheEntryAndKeepsTheValuesAndThePicture)
{
    Window w;
    w.Type("x1 － ３ y1 ０ x2 ３ y2 ０ dist 和＝ １ ０ 決定");
    w.PressAt(At(0, 4));
    w.PressAt(At(0, 4));
    w.Type("graph");
    ASSERT_GT(w.CountPlane(tk::clRed), 0);
    const std::vector<TColor> before = w.PlaneImage();

    w.Type("再試行");
    const entry::SyotenFields& f = w.form.Fields;
    EXPECT_EQ(w.Selection(), "10000RMMMM");
    EXPECT_EQ(w.form.Entry.InputTarget, 1);
    for (int field = 1; field <= entry::kFieldCount; ++field)
        EXPECT_EQ(w.form.Entry.FieldLabel(field).Caption() + std::to_string(w.form.Entry.FieldState(field)), "0");
    EXPECT_EQ(f.DistancePrefix, "");
    EXPECT_EQ(w.form.PointPSet, 0);
    EXPECT_EQ(w.form.Plane.AfterimageCount, 0);
    EXPECT_FALSE(w.form.CurveShown);
    EXPECT_FALSE(w.form.BtnByoga->Visible());
    EXPECT_EQ(w.form.GetCanvas().GetFont().height, 21) << "16 points";
    // The values stay; only the states say they are not entered.
    EXPECT_EQ(f.DistanceKind, 1);
    EXPECT_EQ(f.DistanceValue, 10);
    EXPECT_EQ(w.form.Focus1, (plane::RealPoint{-3, 0}));
    EXPECT_EQ(w.form.Focus2, (plane::RealPoint{3, 0}));
    // Nothing is redrawn until the next click, which shows the bare grid and P.
    EXPECT_TRUE(w.PlaneImage() == before);
    EXPECT_TRUE(w.Shows(plane::kQuantityRect, tk::clPurple, "距離の和＝10.00 誤差＝0.00"));
    w.PressPlane(300, 300);
    EXPECT_GT(w.CountPlane(tk::clLime), 0);
    EXPECT_EQ(w.CountPlane(tk::clRed) + w.CountPlane(tk::clMaroon) + w.CountPlane(tk::clFuchsia), 0);
    EXPECT_TRUE(w.Shows(plane::kCoordinateRect, tk::clRed, "点Ｐ (0.00 , 4.00)")) << "no readout yet";

    // New coordinates are not F1 and F2 before a confirm: the old ones are
    // marked and measured, with the old sum.
    w.Type("x1 １ y1 １ x2 ２ y2 ２");
    w.PressAt(At(0, 4));
    EXPECT_EQ(w.PlanePixel(231, 332), tk::clMaroon) << "below where the segment leaves F1";
    EXPECT_EQ(w.PlanePixel(429, 332), tk::clMaroon);
    EXPECT_TRUE(w.Shows(plane::kQuantityRect, tk::clPurple, "距離の和＝10.00 誤差＝0.00"));

    // The end button only hides the window.
    const int resets = w.form.ResetCount;
    w.Type("終わる");
    EXPECT_FALSE(w.form.Visible());
    EXPECT_EQ(w.form.ResetCount, resets);
    EXPECT_EQ(w.form.PointPSet, 1);
    EXPECT_EQ(w.form.Plane.AfterimageCount, 1);
}
