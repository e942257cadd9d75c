#pragma once

#include "activities/activity_form.h"
#include "entry/syoten_entry.h"

namespace activities {

// The two fixed points activity: F1, F2 and the sum or difference of the
// distances PF1 and PF2.
class TSyoten_Form : public ActivityForm {
public:
    TSyoten_Form();

    plane::RealPoint Focus1;
    plane::RealPoint Focus2;
    int PointPSet = 0;

    // The condition panel and the keypad with the fields they fill.
    entry::SyotenEntry Entry;
    entry::SyotenFields& Fields = Entry.Fields;

    // The confirm key: selects the first incomplete field, or fixes F1 and F2
    // on a fresh plane and checks the distance against |F1F2|.
    void BtnKetteiClick(tk::Object* sender);
    // The re-entry prompt for a sum or difference that cannot be.
    void sainyuryokusiji(tk::Object* sender);
    // The segments F1 -> P -> F2 and the readout of the sum or difference.
    void Sen_Dsp();
    // The ellipse or hyperbola, in red, for foci on a horizontal or vertical line.
    void Kansubyoga();

protected:
    void ResetConditions(tk::Object* sender) override;
    void DrawConditions() override;
    void AfterClick() override { PointPSet = 1; }
};

} // namespace activities
