#pragma once

#include "entry/condition_entry.h"
#include "toolkit/label.h"
#include "toolkit/speedbutton.h"

#include <memory>
#include <string>

namespace entry {

// The conditions of the fixed point and fixed line activity. A value means
// something only while its state says complete (9 or more).
struct JunsenFields {
    // Field 1, the fixed line x = c (LineKind 1) or y = c (LineKind 2).
    int LineKind = 0;
    int LineConst = 0;
    std::string LinePrefix;  // "Ｘ＝" or "Ｙ＝", the chosen kind key's caption
    int LineState = 0;       // 1 kind chosen, then one more per minus
    // Fields 2 and 3, the fixed point F. Each minus adds one to the state.
    int FocusX = 0;
    int FocusXState = 0;
    int FocusY = 0;
    int FocusYState = 0;
    // Fields 4 and 5, the terms of PF : PH; state 1 after the root key.
    float RatioPF = 0.0f;
    int RatioPFState = 0;
    float RatioPH = 0.0f;
    int RatioPHState = 0;
};

// The condition panel and keypad of the fixed point and fixed line window.
class JunsenEntry : public ConditionEntry {
public:
    explicit JunsenEntry(tk::Form& form);

    JunsenFields Fields;

    // The condition panel, in painting order.
    std::unique_ptr<tk::Label> HiLbl2;
    std::unique_ptr<tk::SpeedButton> SbnLine;
    std::unique_ptr<tk::Label> LblSiki;
    std::unique_ptr<tk::SpeedButton> SbnZahyo;
    std::unique_ptr<tk::SpeedButton> SbnXzahyo;
    std::unique_ptr<tk::SpeedButton> SbnYzahyo;
    std::unique_ptr<tk::Label> LblKakko;
    std::unique_ptr<tk::Label> LblXzahyo;
    std::unique_ptr<tk::Label> LblYzahyo;
    std::unique_ptr<tk::Label> HiLbl1;
    std::unique_ptr<tk::Label> HiLbl;
    std::unique_ptr<tk::SpeedButton> SbnHiPF;
    std::unique_ptr<tk::SpeedButton> SbnHiPH;
    std::unique_ptr<tk::Label> LblHiPF;
    std::unique_ptr<tk::Label> LblHiPH;
    std::unique_ptr<tk::StaticText> StaticText2;
    std::unique_ptr<tk::StaticText> StaticText1;
    std::unique_ptr<tk::StaticText> StaticText3;

    // The keypad's kind keys under this window's names.
    tk::Button& BtnX;
    tk::Button& BtnY;

    // "定点Ｆの座標：": no field is selected afterwards.
    void SbnZahyoClick(tk::Object* sender);

protected:
    bool EnterDigit(int digit) override;
    void EnterMinus() override;
    void EnterRoot() override;
    void ResetValues() override;
};

} // namespace entry
