#include "syoten_form.h"

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
} // namespace

TSyoten_Form::TSyoten_Form() : ActivityForm(SyotenLayout()) {}

void TSyoten_Form::ResetConditions(tk::Object*)
{
    Focus1XState = Focus1YState = Focus2XState = Focus2YState = 0;
    PointPSet = 0;
    Plane.AfterimageCount = 0;
}

void TSyoten_Form::DrawConditions()
{
    if (Focus1XState * Focus1YState > 1)
        Plane.Ten_Dsp(Focus1);
    if (Focus2XState * Focus2YState > 1)
        Plane.Ten_Dsp(Focus2);
    if (PointPSet == 1) {
        Plane.Canvas().SetPenColor(tk::clLime);
        Plane.Ten_Dsp(Plane.PointP());
    }
}

} // namespace activities
