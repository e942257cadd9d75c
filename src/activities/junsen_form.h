#pragma once

#include "activities/activity_form.h"

namespace activities {

// The fixed point and fixed line activity: a line x = c or y = c, a point F
// and the ratio PF : PH, H being the foot of the perpendicular from P.
class TJunsen_Form : public ActivityForm {
public:
    TJunsen_Form();

    plane::RealPoint FocusF;
    plane::RealPoint FootH;

    // Entry states the repaint reads (filled in by the condition entry).
    int LineKind = 0;
    int FocusXState = 0;
    int FocusYState = 0;
    int RatioPFState = 0;
    int RatioPHState = 0;

protected:
    void ResetConditions(tk::Object* sender) override;
    void DrawConditions() override;
    void AfterClick() override;
};

} // namespace activities
