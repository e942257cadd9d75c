// The fixed point and fixed line window as the student uses it: keying the
// line, F and the ratio, confirming, trying points on the plane and having
// the parabola, ellipse or hyperbola drawn, checked on what the window shows.

#include "activities/junsen_form.h"

#include "support/form_driver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <utility>
#include <vector>

using namespace activities;
using tk::TColor;

namespace {

const std::string kRefused = "条件に誤りがあります\r\n再入力してください";

// The pixel of a plane point at the opening zoom, 33 pixels per unit.
tk::Point At(double x, double y)
{
    return {330 + static_cast<int>(std::lround(33 * x)), 330 - static_cast<int>(std::lround(33 * y))};
}

using curvecheck::Conic;

// The points with PF = e * PH for F = (fx, fy) and the line x = c (vertical)
// or y = c, as {g = 0}.
Conic Locus(bool vertical, double c, double fx, double fy, double e)
{
    return [=](double x, double y) {
        const double ph = vertical ? x - c : y - c;
        return (x - fx) * (x - fx) + (y - fy) * (y - fy) - e * e * ph * ph;
    };
}

struct Window : form_test::FormDriver<TJunsen_Form> {
    form_test::MessageLog messages;

    Window()
    {
        const entry::JunsenEntry& e = form.Entry;
        keys["line"] = e.SbnLine.get();
        keys["fx"] = e.SbnXzahyo.get();
        keys["fy"] = e.SbnYzahyo.get();
        keys["pf"] = e.SbnHiPF.get();
        keys["ph"] = e.SbnHiPH.get();
        keys["F"] = e.SbnZahyo.get();
    }


    // The red pixels of the plane except F's dot, the only other red thing
    // on it, against the true curve at the current zoom.
    curvecheck::Comparison Curve(const Conic& g)
    {
        const plane::PixelPoint f = form.Plane.ToPixel(form.FocusF);
        std::vector<curvecheck::Op> ops;
        for (int y = 0; y < 660; ++y)
            for (int x = 0; x < 660; ++x)
                if (PlanePixel(x, y) == tk::clRed && std::hypot(x - f.x, y - f.y) > 3.5)
                    ops.push_back({true, x, y});
        return curvecheck::CompareWithCurve(ops, form.Plane.Map(), g,
                                            2.5 + design_test::Slack(form.PaintBox1->GetCanvas().Grid()));
    }
    int CurvePixels() { return static_cast<int>(Curve([](double, double) { return 1.0; }).stray); }

    // A matching P stores an afterimage; the repaint after it offers the graph.
    void ShowCurveFrom(tk::Point match)
    {
        PressAt(match);
        PressAt(match);
        Type("graph");
    }
};

// A 5-pixel dot of the colour centred on p, with nothing drawn over it.
::testing::AssertionResult Dot(Window& w, tk::Point p, TColor colour)
{
    const tk::Canvas& plane = w.form.PaintBox1->GetCanvas();
    return design_test::IsDisc(design_test::InkOf(plane, colour, {p.x - 4, p.y - 4, p.x + 5, p.y + 5}),
                               plane.Grid(), 5, p);
}

// Whether some pixel of the colour lies within 2 of p: a dot that the
// segments, drawn after it, partly cover.
bool Marked(Window& w, tk::Point p, TColor colour)
{
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx)
            if (w.PlanePixel(p.x + dx, p.y + dy) == colour)
                return true;
    return false;
}

} // namespace

TEST(JunsenWindow, FromTheKeysThroughTrialPointsToTheParabola)
{
    Window w;
    EXPECT_EQ(w.Selection(), "10000RMMMM") << "opening selects the fixed line";
    w.Type("Ｘ＝ ２ fx ５ fy ０ pf １ ph １ 決定");
    EXPECT_TRUE(w.messages.texts.empty());
    EXPECT_EQ(w.Selection(), "00000MMMMM");
    EXPECT_EQ(w.form.Entry.InputTarget, 0);
    EXPECT_EQ(w.form.Entry.LblSiki->Caption(), " Ｘ＝２");
    EXPECT_TRUE(w.Shows(plane::kStatusStrip, tk::clRed, ""));
    // The line x = 2 in cyan, 2 pixels wide, from edge to edge; F a red dot.
    const tk::Canvas& plane = w.form.PaintBox1->GetCanvas();
    const design_test::Ink cyan = design_test::InkOf(plane, tk::clAqua, {0, 100, 660, 101});
    EXPECT_EQ(cyan.Width(), plane.Grid().PenWidth(2));
    EXPECT_EQ(cyan.Height(), plane.Grid().EdgeClamped(101) - plane.Grid().EdgeClamped(100));
    EXPECT_EQ(cyan.count, cyan.Width() * cyan.Height()) << "one band across the row";
    EXPECT_TRUE(w.Near(At(2, 0) + tk::Point{0, -327}, tk::clAqua));
    EXPECT_TRUE(w.Near(At(2, 0) + tk::Point{0, 327}, tk::clAqua));
    EXPECT_TRUE(Dot(w, At(5, 0), tk::clRed));
    EXPECT_EQ(w.CountPlane(tk::clLime), 0) << "the confirm draws no P";

    // P = (3, 0): PF = 2, PH = 1, yellow segments along the axis.
    w.PressAt(At(3, 0));
    EXPECT_TRUE(w.Shows(plane::kCoordinateRect, tk::clRed, "点Ｐ (3.00 , 0.00)"));
    EXPECT_TRUE(w.Shows(plane::kQuantityRect, tk::clPurple, "ＰＦ：ＰＨ＝1.00:0.50 誤差＝1.00"));
    EXPECT_TRUE(Marked(w, At(3, 0), tk::clLime));
    EXPECT_EQ(w.PlanePixel(460, 330), tk::clYellow);
    EXPECT_EQ(w.PlanePixel(410, 330), tk::clYellow);
    EXPECT_EQ(w.CountPlane(tk::clFuchsia), 0);

    // P = (5, 3): PF = PH = 3, magenta F -> P -> H; the button waits a repaint.
    w.PressAt(At(5, 3));
    EXPECT_TRUE(w.Shows(plane::kCoordinateRect, tk::clRed, "点Ｐ (5.00 , 3.00)"));
    EXPECT_TRUE(w.Shows(plane::kQuantityRect, tk::clPurple, "ＰＦ：ＰＨ＝1.00:1.00 誤差＝0.00"));
    EXPECT_EQ(w.PlanePixel(495, 280), tk::clFuchsia);
    EXPECT_EQ(w.PlanePixel(450, 231), tk::clFuchsia);
    EXPECT_FALSE(w.form.BtnByoga->Visible());

    w.PressAt(At(3, 0));
    EXPECT_TRUE(Dot(w, At(5, 3), tk::clMaroon)) << "the afterimage";
    ASSERT_TRUE(w.form.BtnByoga->Visible());
    const std::vector<TColor> without = w.PlaneImage();

    const Conic parabola = Locus(true, 2, 5, 0, 1);
    w.Type("graph");
    curvecheck::Comparison c = w.Curve(parabola);
    EXPECT_EQ(c.stray, 0);
    EXPECT_EQ(c.uncovered, 0);
    EXPECT_GT(c.truePoints, 200);

    w.Scroll(tk::drive::BarMenuItem::StepRight);  // 19 units
    ASSERT_EQ(w.form.Plane.GridUnit, 19);
    c = w.Curve(parabola);
    EXPECT_EQ(c.stray, 0) << "redrawn at the new scale";
    EXPECT_EQ(c.uncovered, 0);
    w.Scroll(tk::drive::BarMenuItem::StepLeft);
    w.Type("graph");
    EXPECT_EQ(w.PlaneImage(), without) << "the curve switched off again";
    w.Type("graph");

    // Confirming again drops the trail but keeps the curve switched on and
    // the button shown; the next click draws the curve again.
    w.Type("決定");
    EXPECT_EQ(w.form.Plane.AfterimageCount, 0);
    EXPECT_TRUE(w.form.BtnByoga->Visible());
    EXPECT_EQ(w.CurvePixels(), 0) << "the confirm draws no curve";
    w.PressAt(At(3, 0));
    EXPECT_GT(w.CurvePixels(), 300);
    EXPECT_TRUE(w.form.BtnByoga->Visible());
    EXPECT_FALSE(Marked(w, At(5, 3), tk::clMaroon)) << "the afterimage went with the confirm";

    w.Type("終わる");
    EXPECT_FALSE(w.form.Visible());
}

TEST(JunsenConfirm, WalksToTheFirstIncompleteField)
{
    const struct {
        const char* keys;
        const char* selection;
    } cases[] = {
        {"", "10000RMMMM"},
        {"Ｘ＝", "10000RMMMM"},  // a kind without its constant
        {"Ｘ＝ ２ fy ０ pf １ ph １", "01000MRMMM"},
        {"Ｘ＝ ２ fx ５ fy － pf １ ph １", "00100MMRMM"},
        {"Ｘ＝ ２ fx ５ fy ０ pf √ ph １", "00010MMMRM"},  // a pending root
        {"Ｙ＝ － ２ fx ５ fy ０ pf ３ ph", "00001MMMMR"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        Window w;
        w.Type(c.keys);
        w.Type("決定");
        EXPECT_EQ(w.Selection(), c.selection);
        w.Type("決定");
        EXPECT_EQ(w.Selection(), c.selection) << "a second press changes nothing";
        EXPECT_TRUE(w.messages.texts.empty());
        EXPECT_EQ(w.CountPlane(tk::clAqua), 0);
    }

    // The walk selects as the toggle does: it drops a drawn curve and hides
    // the button, and the curve stays on the plane until the next repaint.
    Window w;
    w.Type("Ｘ＝ ２ fx ５ fy ０ pf １ ph １ 決定");
    w.ShowCurveFrom(At(5, 3));
    w.Type("pf √");
    w.Scroll(tk::drive::BarMenuItem::StepLeft);  // the trail shows the button again
    w.Type("graph");
    ASSERT_GT(w.CurvePixels(), 300);
    w.Type("決定");
    EXPECT_EQ(w.Selection(), "00010MMMRM");
    EXPECT_FALSE(w.form.CurveShown);
    EXPECT_FALSE(w.form.BtnByoga->Visible());
    EXPECT_GT(w.CurvePixels(), 300);
}

TEST(JunsenConfirm, RefusesFOnTheLineAndLeavesEverythingAsItWas)
{
    const struct {
        const char* keys;
        bool refused;
    } cases[] = {
        {"Ｘ＝ ２ fx ２ fy ５ pf １ ph ２", true},
        {"Ｙ＝ ５ fx ２ fy ５ pf １ ph ２", true},
        {"Ｘ＝ － ３ fx － ３ fy ７ pf １ ph ２", true},
        {"Ｘ＝ ２ fx ３ fy ２ pf １ ph ２", false},  // only the coordinate across counts
        {"Ｙ＝ ５ fx ５ fy ２ pf １ ph ２", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        Window w;
        w.Type(c.keys);
        const std::string selection = w.Selection();
        const std::vector<TColor> plane = w.PlaneImage();
        w.Type("決定");
        EXPECT_EQ(w.messages.texts, c.refused ? std::vector{kRefused} : std::vector<std::string>{});
        EXPECT_EQ(w.Selection() == selection, c.refused);
        EXPECT_EQ(w.PlaneImage() == plane, c.refused);
    }

    // Refused after an accepted round: the trail, the strip, the fields and
    // the plane stay; the refused F is drawn by the next repaint, and the
    // parabola of an F on its line draws nothing.
    Window w;
    w.Type("Ｘ＝ ２ fx ５ fy ０ pf １ ph １ 決定");
    w.PressAt(At(5, 3));
    w.Type("fx ２ fy ５");
    const std::vector<TColor> plane = w.PlaneImage();
    w.Type("決定");
    ASSERT_EQ(w.messages.texts, std::vector{kRefused});
    EXPECT_EQ(w.PlaneImage(), plane);
    EXPECT_TRUE(w.Shows(plane::kQuantityRect, tk::clPurple, "ＰＦ：ＰＨ＝1.00:1.00 誤差＝0.00"));
    EXPECT_EQ(w.Selection(), "00100MMRMM");
    EXPECT_EQ(w.form.Entry.LblXzahyo->Caption() + w.form.Entry.LblYzahyo->Caption(), " ２ ５");
    EXPECT_EQ(w.form.Plane.AfterimageCount, 1);

    w.PressAt(At(4, -1));
    EXPECT_TRUE(Marked(w, At(2, 5), tk::clRed)) << "the refused F";
    ASSERT_TRUE(w.form.BtnByoga->Visible());
    w.Type("graph");
    EXPECT_TRUE(w.form.CurveShown);
    EXPECT_EQ(w.CurvePixels(), 0);
    EXPECT_TRUE(Marked(w, At(4, -1), tk::clLime)) << "the repaint went on";
}

TEST(JunsenReadout, MatchesBelowFiveHundredthsHeldInExtendedPrecision)
{
    // Line x = 0, F = (1, 0), P = H = (0, 0): PF = 1, PH = 0, so the error
    // is the PH term itself. No key gives these terms: they are set here.
    const struct {
        float ratioPH;
        TColor segments;
        int stored;
    } cases[] = {
        {0.05f, tk::clYellow, 0},  // the float nearest 0.05 lies above it
        {std::nextafter(0.05f, 0.0f), tk::clFuchsia, 1},
    };
    for (const auto& c : cases) {
        Window w;
        w.Type("Ｘ＝ ０ fx １ fy ０ pf １ ph １ 決定");
        w.form.Fields.RatioPH = c.ratioPH;
        w.PressAt(At(0, 0));
        EXPECT_TRUE(w.Shows(plane::kQuantityRect, tk::clPurple, "ＰＦ：ＰＨ＝1.00:0.00 誤差＝0.05"));
        EXPECT_EQ(w.PlanePixel(350, 330), c.segments) << c.ratioPH;
        EXPECT_EQ(w.form.Plane.AfterimageCount, c.stored);
    }
}

TEST(JunsenReadout, AMatchingPIsStoredAgainOnEveryRepaint)
{
    // A click, a zoom step and the graph button: three repaints, three
    // equal afterimages of the one P.
    Window w;
    w.Type("Ｙ＝ ０ fx ０ fy ２ pf １ ph １ 決定");
    w.PressAt(At(0, 1));  // PF = PH = 1
    w.Scroll(tk::drive::BarMenuItem::StepRight);
    w.Type("graph");
    ASSERT_EQ(w.form.Plane.AfterimageCount, 3);
    for (int k = 1; k <= 3; ++k)
        EXPECT_EQ(w.form.Plane.Afterimage(k), (plane::RealPoint{0, 1}));
}

TEST(JunsenReadout, PenColoursAndWidthsCarryOverBetweenSteps)
{
    Window w;
    // A pending root on the PF term marks P olive, at the origin before any
    // click and where the plane is pressed afterwards.
    w.Type("pf √");
    w.Scroll(tk::drive::BarMenuItem::StepLeft);
    EXPECT_TRUE(Dot(w, At(0, 0), tk::clOlive));
    w.PressPlane(400, 200);
    EXPECT_TRUE(Dot(w, {400, 200}, tk::clOlive));

    // The border is 1 pixel wide after the confirm's red F dot, 2 after a
    // paint that drew the line and the segments.
    w.Type("line Ｘ＝ ２ fx ５ fy ０ pf １ ph １ 決定");
    w.PressAt(At(3, 0));
    EXPECT_EQ(w.PlanePixel(658, 100), tk::clWhite);
    w.PressAt(At(3, 0));
    EXPECT_EQ(w.PlanePixel(658, 100), tk::clSilver);

    // After a retry F and H keep their places; F's red dot leaves the pen
    // maroon, so the dot of a pending PH term at H is maroon.
    w.Type("再試行 fx ５ fy ０ ph √");
    w.PressAt(At(3, 4));
    EXPECT_TRUE(Dot(w, At(5, 0), tk::clRed));
    EXPECT_TRUE(Dot(w, At(2, 4), tk::clMaroon));
    EXPECT_EQ(w.CountPlane(tk::clLime), 0);
}

TEST(JunsenReset, RetryClearAndEnd)
{
    Window w;
    w.Type("Ｘ＝ ２ fx ５ fy ０ pf ３ ph ２ 決定");
    w.ShowCurveFrom(At(-4, 0));  // PF = 9, PH = 6
    w.Type("fx");  // hides the button and drops the curve; F's x stays red
    EXPECT_FALSE(w.form.BtnByoga->Visible());
    w.Scroll(tk::drive::BarMenuItem::StepRight);  // 19 units; the trail shows the button
    w.Type("graph");
    ASSERT_TRUE(w.form.CurveShown);
    const std::vector<TColor> plane = w.PlaneImage();

    w.Type("再試行");
    const entry::JunsenEntry& e = w.form.Entry;
    EXPECT_EQ(w.Selection(), "10000RRMMM") << "a caption left red stays red";
    for (int f = 1; f <= 5; ++f)
        EXPECT_EQ(e.FieldLabel(f).Caption() + std::to_string(e.FieldState(f)), "0") << f;
    EXPECT_EQ(w.form.Fields.RatioPF, 0.0f);
    EXPECT_EQ(w.form.Fields.LineConst, 2) << "values stay";
    EXPECT_EQ(w.form.Plane.GridUnit, 19) << "the zoom stays";
    EXPECT_FALSE(w.form.CurveShown);
    EXPECT_FALSE(w.form.BtnByoga->Visible());
    EXPECT_EQ(w.form.Plane.AfterimageCount, 0);
    EXPECT_EQ(w.PlaneImage(), plane) << "the old picture stays";
    const std::string coordinates = "点Ｐ (-4.00 , 0.00)";
    EXPECT_TRUE(w.Shows(plane::kCoordinateRect, tk::clRed, coordinates));

    // The next repaint shows the empty plane; the strip keeps its texts.
    w.PressAt(At(1, 1));
    EXPECT_EQ(w.CountPlane(tk::clRed) + w.CountPlane(tk::clAqua) + w.CountPlane(tk::clLime), 0);
    EXPECT_TRUE(w.Shows(plane::kCoordinateRect, tk::clRed, coordinates));

    w.form.ClsButtonClick(nullptr);
    EXPECT_TRUE(w.Shows(plane::kStatusStrip, tk::clRed, "")) << "the strip is wiped";
    EXPECT_EQ(w.Selection(), "10000RRMMM");

    w.Type("終わる");
    EXPECT_FALSE(w.form.Visible());
    EXPECT_EQ(w.form.Fields.LineConst, 2) << "hiding resets nothing";
}

// Whatever was drawn on the window goes with the clear, also on a screen
// smaller than the window (as at 150 % on a small screen).
// The clear wipes all the window's own canvas holds, wherever the screen
// ends: the strip's far corner and a text drawn across it.
TEST(JunsenReset, ClearWipesTheWholeWindowCanvas)
{
    Window w;
    tk::Canvas& window = w.form.GetCanvas();
    ASSERT_GT(window.Width(), 0);
    window.SetBrushColor(tk::clRed);
    window.FillRect({0, 0, window.Width(), window.Height()});
    window.SetBrushColor(w.form.Color());
    ASSERT_EQ(window.Pixel(window.Width() - 1, window.Height() - 1), tk::clRed);
    w.form.ClsButtonClick(nullptr);
    for (const auto& [x, y] : {std::pair{0, 0}, {window.Width() / 2, window.Height() / 2},
                               {window.Width() - 1, window.Height() - 1}})
        EXPECT_EQ(window.Pixel(x, y), w.form.Color()) << x << "," << y;
}

TEST(JunsenCurve, EachKindOfConicForBothKindsOfLine)
{
    const struct {
        const char* name;
        const char* keys;
        tk::Point match;
        bool vertical;
        double fx, fy, e;
    } cases[] = {
        {"parabola x = 0", "Ｘ＝ ０ fx ２ fy ０ pf １ ph １", At(1, 0), true, 2, 0, 1},
        {"ellipse x = 0", "Ｘ＝ ０ fx ２ fy ０ pf １ ph ２", At(4, 0), true, 2, 0, 0.5},
        {"hyperbola x = 0", "Ｘ＝ ０ fx ２ fy ０ pf ２ ph １", At(-2, 0), true, 2, 0, 2},
        {"parabola y = 0", "Ｙ＝ ０ fx ０ fy ２ pf √ ９ ph ３", At(0, 1), false, 0, 2, 1},
        {"ellipse y = 0", "Ｙ＝ ０ fx ０ fy ２ pf １ ph ２", At(0, 4), false, 0, 2, 0.5},
        {"hyperbola y = 0", "Ｙ＝ ０ fx ０ fy ２ pf ２ ph １", At(0, -2), false, 0, 2, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Window w;
        w.Type(std::string(c.keys) + " 決定");
        w.ShowCurveFrom(c.match);
        ASSERT_TRUE(w.form.CurveShown);
        const curvecheck::Comparison cmp = w.Curve(Locus(c.vertical, 0, c.fx, c.fy, c.e));
        EXPECT_EQ(cmp.stray, 0);
        EXPECT_EQ(cmp.uncovered, 0);
        EXPECT_GT(cmp.truePoints, 100);
    }
}

TEST(JunsenCurve, NothingOutsideTheSampledRangeOrThePlane)
{
    // The ellipse of F = (1, 9) and the line x = 0 lies near y = 9: drawn at
    // 20 units, beyond the sampled range at 4.
    Window w;
    w.Type("Ｘ＝ ０ fx １ fy ９ pf １ ph ２ 決定");
    w.ShowCurveFrom(At(2, 9));  // PF = 1, PH = 2
    EXPECT_GT(w.CurvePixels(), 20);
    w.Scroll(tk::drive::BarMenuItem::RightEnd);
    ASSERT_EQ(w.form.Plane.GridUnit, 4);
    EXPECT_EQ(w.CountPlane(tk::clRed), 0);

    // The line x = -9 at 4 units lies beyond the left edge.
    w.Type("line Ｘ＝ － ９ 決定");
    EXPECT_TRUE(w.messages.texts.empty());
    EXPECT_EQ(w.CountPlane(tk::clAqua), 0);
}

TEST(JunsenReadout, PAtFShowsNoScaledTermAndTheRepaintGoesOn)
{
    Window w;
    w.Type("Ｘ＝ ２ fx ５ fy ０ pf ３ ph ２ 決定");
    w.ShowCurveFrom(At(-4, 0));  // PF = 9, PH = 6
    w.PressAt(At(5, 0));
    EXPECT_TRUE(w.Shows(plane::kQuantityRect, tk::clPurple, "ＰＦ：ＰＨ＝3.00:--- 誤差＝9.00"));
    EXPECT_TRUE(w.Shows(plane::kCoordinateRect, tk::clRed, "点Ｐ (5.00 , 0.00)"));
    EXPECT_TRUE(Marked(w, At(5, 0), tk::clLime));
    EXPECT_EQ(w.PlanePixel(450, 330), tk::clYellow);
    EXPECT_GT(w.CurvePixels(), 300) << "the curve still ends the repaint";
}

TEST(JunsenCurve, AZeroTermLeftByTheRetryDrawsNoCurve)
{
    // The retry zeroes both terms; a root pending on PH keeps its term at 0
    // while the readout runs, so the ratio 3 : 0 reaches the curve.
    Window w;
    w.Type("Ｘ＝ ２ fx ５ fy ０ pf ３ ph ２ 決定 再試行 fx ５ fy ０ pf ３ ph √");
    ASSERT_EQ(w.form.Fields.RatioPH, 0.0f);
    w.ShowCurveFrom(At(2, 1));  // P on the line: PH = 0 and the error with it
    ASSERT_TRUE(w.form.CurveShown);
    EXPECT_TRUE(w.Shows(plane::kQuantityRect, tk::clPurple, "ＰＦ：ＰＨ＝3.00:0.00 誤差＝0.00"));
    EXPECT_EQ(w.CurvePixels(), 0);
    EXPECT_TRUE(Marked(w, At(2, 1), tk::clLime));
}

// The minus key counts its presses in the entry state without bound; tens
// of thousands of presses on F's coordinates still repaint soundly (the
// repaint's tests on the states never multiply them out).
TEST(JunsenMinus, TensOfThousandsOfPressesCountWithoutOverflow)
{
    Window w;
    constexpr int kPresses = 20000;
    // On an empty coordinate the count stops short of complete; on a
    // complete one it goes on, and the field keeps its value.
    w.Type("Ｙ＝ ０ fx");
    for (int i = 0; i < kPresses; ++i)
        w.form.Entry.Keypad.BtnMinus->Click();
    w.Type("fy ６");
    for (int i = 0; i < kPresses; ++i)
        w.form.Entry.Keypad.BtnMinus->Click();
    w.Type("pf ９ ph ９");
    EXPECT_EQ(w.form.Fields.FocusXState, 8);
    EXPECT_EQ(w.form.Fields.FocusYState, 9 + kPresses);
    EXPECT_EQ(w.form.Entry.LblXzahyo->Caption(), " －");
    EXPECT_EQ(w.form.Entry.LblYzahyo->Caption(), " －");
    w.Type("決定");
    EXPECT_EQ(w.Selection(), "01000MRMMM") << "F's x shows only a minus";
    w.Type("５ 決定");
    EXPECT_TRUE(w.messages.texts.empty());
    EXPECT_EQ(w.form.FocusF.x, 5.0f);
    // The minus presses on x left their sign pending for the 6.
    EXPECT_EQ(w.form.FocusF.y, -6.0f) << "F keeps the y keyed before the minus presses";
    EXPECT_TRUE(Marked(w, At(5, -6), tk::clRed));
    w.PressAt(At(1, 1));
    EXPECT_TRUE(w.Shows(plane::kCoordinateRect, tk::clRed, "点Ｐ (1.00 , 1.00)"));
    EXPECT_GT(w.CountPlane(tk::clYellow), 0) << "and the readout's segments";
}

// A field showing only "－" is incomplete whatever values an earlier
// exercise left behind: the confirm selects it and draws nothing.
TEST(JunsenMinus, MinusPressesAloneNeverCompleteAField)
{
    Window w;
    w.Type("Ｘ＝ ２ fx ５ fy ０ pf １ ph １ 決定");
    ASSERT_TRUE(w.messages.texts.empty());
    w.Type("再試行");

    w.Type("Ｙ＝ － ３ fx");
    for (int i = 0; i < 9; ++i)
        w.Type("－");
    w.Type("fy ２ pf １ ph １");
    std::vector<TColor> before = w.PlaneImage();
    w.Type("決定");
    EXPECT_EQ(w.form.Entry.LblXzahyo->Caption(), " －");
    EXPECT_EQ(w.Selection(), "01000MRMMM");
    EXPECT_TRUE(w.messages.texts.empty());
    EXPECT_EQ(w.PlaneImage(), before) << "no line, no F with the earlier x";

    w.Type("再試行 Ｘ＝");
    for (int i = 0; i < 8; ++i)
        w.Type("－");
    w.Type("fx １ fy １ pf １ ph １");
    before = w.PlaneImage();
    w.Type("決定");
    EXPECT_EQ(w.form.Entry.LblSiki->Caption(), " Ｘ＝－");
    EXPECT_EQ(w.Selection(), "10000RMMMM");
    EXPECT_TRUE(w.messages.texts.empty());
    EXPECT_EQ(w.PlaneImage(), before) << "no line at the earlier y = -3";
}
