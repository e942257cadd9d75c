#include "junsen_form.h"

#include "activities/ratio_curve.h"
#include "entry/entry_state.h"
#include "plane/readout.h"
#include "toolkit/application.h"
#include "toolkit/numfmt.h"

#include <cmath>

namespace activities {

namespace {
ActivityLayout JunsenLayout()
{
    ActivityLayout layout;
    layout.caption = "Orvalis（準線と焦点）";
    layout.graphButton = {691, 338, 691 + 313, 338 + 49};
    layout.maximized = false;
    // This window's border keeps the pen width of the last drawing, its grid
    // lines set width 1 one by one, its markers leave the pen maroon, and its
    // Kyori is the squared distance.
    layout.planeStyle = {.thinBorder = false,
                         .thinGridLines = true,
                         .markerLeavesMaroon = true,
                         .squaredKyori = true};
    return layout;
}

// A point fits the ratio when its error is below this bound, held in
// extended precision: the float nearest 0.05 lies above it and fails.
constexpr long double kMatchTolerance = 0.05L;
} // namespace

TJunsen_Form::TJunsen_Form() : ActivityForm(JunsenLayout()), Entry(*this)
{
    SetPanelTabOrder(*Entry.Keypad.GroupBox1, *Entry.GroupBox2);
    Entry.OnInvalidateCurve = [this] { InvalidateCurve(); };
    Entry.Keypad.BtnKettei->OnClick = [this](tk::Object* s) { BtnKetteiClick(s); };
}

void TJunsen_Form::ResetConditions(tk::Object*)
{
    Entry.Syokika();
    Plane.AfterimageCount = 0;
}

void TJunsen_Form::BtnKetteiClick(tk::Object* sender)
{
    if (const int field = Entry.FirstIncompleteField()) {
        Entry.SelectField(field, sender);
        return;
    }
    FocusF = plane::ZahyoR(static_cast<float>(Fields.FocusX), static_cast<float>(Fields.FocusY));
    // Only the coordinate across the line is compared: F on the line is refused.
    bool onLine = false;
    if (Fields.LineKind == 1) {
        FootH.x = static_cast<float>(Fields.LineConst);
        onLine = FocusF.x == FootH.x;
    } else {
        FootH.y = static_cast<float>(Fields.LineConst);
        onLine = FocusF.y == FootH.y;
    }
    if (onLine) {
        tk::ShowMessage("条件に誤りがあります\r\n再入力してください");
        return;
    }
    Plane.AfterimageCount = 0;
    Plane.ZahyoHeimen_Draw();
    GetCanvas().TextRect(plane::kStatusStrip, plane::kStatusStrip.left, plane::kStatusStrip.top, "");
    Junsen_Dsp();
    Entry.SbnZahyoClick(sender);
    Plane.Canvas().SetPenColor(tk::clRed);
    Plane.Ten_Dsp(FocusF);
}

void TJunsen_Form::DrawConditions()
{
    tk::Canvas& pen = Plane.Canvas();
    const entry::JunsenFields& f = Fields;
    if (entry::ProductAboveOne(f.FocusXState, f.FocusYState)) {
        pen.SetPenColor(tk::clRed);
        Plane.Ten_Dsp(FocusF);
    }
    if (f.RatioPFState == 1) {
        pen.SetPenColor(tk::clOlive);
        Plane.Ten_Dsp(Plane.PointP());
    }
    if (f.RatioPHState == 1)
        Plane.Ten_Dsp(FootH);
    // The line's own state is not part of this test.
    if (entry::AllStarted({f.FocusXState, f.FocusYState, f.RatioPFState, f.RatioPHState})) {
        Junsen_Dsp();
        Sen_Dsp();
        if (CurveShown)
            Kansubyoga();
    }
}

void TJunsen_Form::AfterClick()
{
    // H follows P along the fixed line.
    if (Fields.LineKind == 1)
        FootH.y = Plane.PointP().y;
    else
        FootH.x = Plane.PointP().x;
}

void TJunsen_Form::Junsen_Dsp()
{
    tk::Canvas& pen = Plane.Canvas();
    pen.SetPenColor(tk::clAqua);
    pen.SetPenWidth(2);
    const auto c = static_cast<float>(Fields.LineConst);
    const auto g = static_cast<float>(Plane.GridUnit);
    // The endpoints lie beyond the plane's edges; the surface clips the line.
    const bool vertical = Fields.LineKind == 1;
    const plane::PixelPoint a = Plane.ToPixel(vertical ? plane::ZahyoR(c, -g) : plane::ZahyoR(-g, c));
    const plane::PixelPoint b = Plane.ToPixel(vertical ? plane::ZahyoR(c, g) : plane::ZahyoR(g, c));
    pen.MoveTo(a.x, a.y);
    pen.LineTo(b.x, b.y);
}

void TJunsen_Form::Sen_Dsp()
{
    const plane::RealPoint p = Plane.PointP();
    const float sPF = Plane.Kyori(FocusF, p);
    const float sPH = Plane.Kyori(FootH, p);
    const auto pf = static_cast<float>(std::sqrt(static_cast<long double>(sPF)));
    const auto ph = static_cast<float>(std::sqrt(static_cast<long double>(sPH)));
    const float ratioPF = Fields.RatioPF;
    const float ratioPH = Fields.RatioPH;
    const auto error = static_cast<float>(
        std::fabs(static_cast<long double>(pf) * ratioPH - static_cast<long double>(ph) * ratioPF));
    // With P on F the second term of the ratio has no value: it is shown as
    // "---" and the repaint goes on.
    std::string scaled = "---";
    if (sPF > 0.0f) {
        const auto term = static_cast<float>(std::sqrt(static_cast<long double>(sPH) / sPF) * ratioPF);
        scaled = tk::FormatNumber(term);
    }
    const std::string text = "ＰＦ：ＰＨ＝" + tk::FormatNumber(ratioPF) + ":" + scaled + " 誤差＝" +
                             tk::FormatNumber(error);
    plane::ShowReadout(Plane, GetCanvas(), {text, FocusF, FootH, error < kMatchTolerance});
}

void TJunsen_Form::Kansubyoga()
{
    Plane.Canvas().SetPenColor(tk::clRed);
    // The width stays what the segments left: 2 pixels.
    const RatioCurveInput input{Fields.RatioPF, Fields.RatioPH, Fields.LineKind, FocusF,
                                Fields.LineKind == 1 ? FootH.x : FootH.y};
    TraceRatioCurve(input, Plane.Map(), Plane.Canvas());
}

} // namespace activities
