#include "syoten_form.h"

#include "activities/focal_curve.h"
#include "entry/entry_state.h"
#include "plane/readout.h"
#include "toolkit/application.h"
#include "toolkit/numfmt.h"

#include <cmath>

namespace activities {

namespace {
ActivityLayout SyotenLayout()
{
    ActivityLayout layout;
    layout.caption = "Orvalis（２つの焦点）";
    layout.graphButton = {691, 336, 691 + 321, 336 + 51};
    layout.maximized = true;
    layout.planeStyle = {.thinBorder = true,
                         .thinGridLines = false,
                         .markerLeavesMaroon = false,
                         .squaredKyori = false};
    return layout;
}

// Tolerances held as 32-bit floats, so just below 0.06 and 0.02.
constexpr float kSumTolerance = 0.06f;
constexpr float kDifferenceTolerance = 0.02f;
} // namespace

TSyoten_Form::TSyoten_Form() : ActivityForm(SyotenLayout()), Entry(*this)
{
    SetPanelTabOrder(*Entry.Keypad.GroupBox1, *Entry.GroupBox2);
    Entry.OnInvalidateCurve = [this] { InvalidateCurve(); };
    Entry.Keypad.BtnKettei->OnClick = [this](tk::Object* s) { BtnKetteiClick(s); };
}

void TSyoten_Form::ResetConditions(tk::Object*)
{
    Entry.Syokika();
    PointPSet = 0;
    Plane.AfterimageCount = 0;
}

void TSyoten_Form::BtnKetteiClick(tk::Object* sender)
{
    // A one-digit distance (state 8) already counts as complete.
    if (const int field = Entry.FirstIncompleteField()) {
        Entry.SelectField(field, sender);
        return;
    }
    Fields.DistanceState = 9;
    Entry.RaiseAllToggles();
    Plane.AfterimageCount = 0;
    InvalidateCurve();
    Plane.ZahyoHeimen_Draw();
    GetCanvas().TextRect(plane::kStatusStrip, plane::kStatusStrip.left, plane::kStatusStrip.top, "");
    Focus1 = plane::ZahyoR(Fields.Focus1X, Fields.Focus1Y);
    Plane.Ten_Dsp(Focus1);
    Focus2 = plane::ZahyoR(Fields.Focus2X, Fields.Focus2Y);
    Plane.Ten_Dsp(Focus2);
    // The integer distance against the float |F1F2|, exactly: a sum must
    // exceed it, a difference must stay below it; equality fails both.
    const float d = Plane.Kyori(Focus1, Focus2);
    const auto value = static_cast<long double>(Fields.DistanceValue);
    const bool accepted = Fields.DistanceKind == 1 ? value > d : value < d;
    if (!accepted)
        sainyuryokusiji(sender);
}

void TSyoten_Form::sainyuryokusiji(tk::Object* sender)
{
    // Only once the box is closed is the distance field selected.
    tk::ShowMessage("条件に誤りがあります。\r\n距離を再入力して下さい。",
                    [this, sender] { Entry.SelectField(entry::kFieldCount, sender); });
}

void TSyoten_Form::DrawConditions()
{
    const entry::SyotenFields& f = Fields;
    if (entry::ProductAboveOne(f.Focus1XState, f.Focus1YState))
        Plane.Ten_Dsp(Focus1);
    if (entry::ProductAboveOne(f.Focus2XState, f.Focus2YState))
        Plane.Ten_Dsp(Focus2);
    if (PointPSet == 1) {
        Plane.Canvas().SetPenColor(tk::clLime);
        Plane.Ten_Dsp(Plane.PointP());
    }
    // The distance field's state is not part of this test.
    if (entry::AllStarted({f.Focus1XState, f.Focus1YState, PointPSet, f.Focus2XState, f.Focus2YState})) {
        Sen_Dsp();
        if (CurveShown)
            Kansubyoga();
    }
}

void TSyoten_Form::Sen_Dsp()
{
    const plane::RealPoint p = Plane.PointP();
    const long double d1 = Plane.Kyori(Focus1, p);
    const long double d2 = Plane.Kyori(Focus2, p);
    // Any kind but the sum counts as a difference, also before the first entry.
    const bool sum = Fields.DistanceKind == 1;
    const auto value = static_cast<float>(sum ? d1 + d2 : std::fabs(d1 - d2));
    const auto error = static_cast<float>(std::fabs(static_cast<long double>(value) - Fields.DistanceValue));
    const float tolerance = sum ? kSumTolerance : kDifferenceTolerance;
    const std::string text = std::string(sum ? "距離の和＝" : "距離の差＝") + tk::FormatNumber(value) +
                             " 誤差＝" + tk::FormatNumber(error);
    plane::ShowReadout(Plane, GetCanvas(), {text, Focus1, Focus2, !(error >= tolerance)});
}

void TSyoten_Form::Kansubyoga()
{
    if (!FociAligned(Focus1, Focus2)) {
        tk::ShowMessage("２定点が斜めの場合の描画機能は本プログラムにはありません。\r\n"
                        "２定点が水平または垂直の場合のみ描画機能は使用できます。");
        return;
    }
    Plane.Canvas().SetPenColor(tk::clRed);
    TraceFocalCurve({Focus1, Focus2, Fields.DistanceKind, Fields.DistanceValue}, Plane.Map(), Plane.Canvas());
}

} // namespace activities
