#include "junsen_form.h"

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
} // namespace

TJunsen_Form::TJunsen_Form() : ActivityForm(JunsenLayout()) {}

void TJunsen_Form::ResetConditions(tk::Object*)
{
    FocusXState = FocusYState = RatioPFState = RatioPHState = 0;
    Plane.AfterimageCount = 0;
}

void TJunsen_Form::DrawConditions()
{
    tk::Canvas& pen = Plane.Canvas();
    if (FocusXState * FocusYState > 1) {
        pen.SetPenColor(tk::clRed);
        Plane.Ten_Dsp(FocusF);
    }
    if (RatioPFState == 1) {
        pen.SetPenColor(tk::clOlive);
        Plane.Ten_Dsp(Plane.PointP());
    }
    if (RatioPHState == 1)
        Plane.Ten_Dsp(FootH);
}

void TJunsen_Form::AfterClick()
{
    // H follows P along the fixed line.
    if (LineKind == 1)
        FootH.y = Plane.PointP().y;
    else
        FootH.x = Plane.PointP().x;
}

} // namespace activities
