#pragma once

#include "activities/activity_form.h"

namespace activities {

// The two fixed points activity: F1, F2 and the sum or difference of the
// distances PF1 and PF2.
class TSyoten_Form : public ActivityForm {
public:
    TSyoten_Form();

    plane::RealPoint Focus1;
    plane::RealPoint Focus2;
    int PointPSet = 0;

    // Entry states the repaint reads (filled in by the condition entry).
    int Focus1XState = 0;
    int Focus1YState = 0;
    int Focus2XState = 0;
    int Focus2YState = 0;

protected:
    void ResetConditions(tk::Object* sender) override;
    void DrawConditions() override;
    void AfterClick() override { PointPSet = 1; }
};

} // namespace activities
