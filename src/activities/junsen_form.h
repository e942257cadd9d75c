#pragma once

#include "activities/activity_form.h"
#include "entry/junsen_entry.h"

namespace activities {

// The fixed point and fixed line activity: a line x = c or y = c, a point F
// and the ratio PF : PH, H being the foot of the perpendicular from P.
class TJunsen_Form : public ActivityForm {
public:
    TJunsen_Form();

    plane::RealPoint FocusF;
    plane::RealPoint FootH;

    // The condition panel and the keypad with the fields they fill.
    entry::JunsenEntry Entry;
    entry::JunsenFields& Fields = Entry.Fields;

    // The confirm key: selects the first incomplete field, or checks that F
    // is off the fixed line and draws the line and F on a fresh plane.
    void BtnKetteiClick(tk::Object* sender);
    // The fixed line across twice the visible range, cyan, 2 pixels wide.
    void Junsen_Dsp();
    // The segments F -> P -> H and the readout of the ratio.
    void Sen_Dsp();
    // The conic of the entered ratio, in red.
    void Kansubyoga();

protected:
    void ResetConditions(tk::Object* sender) override;
    void DrawConditions() override;
    void AfterClick() override;
};

} // namespace activities
