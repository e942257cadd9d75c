#pragma once

#include "entry/condition_entry.h"
#include "toolkit/label.h"
#include "toolkit/speedbutton.h"

#include <memory>
#include <string>

namespace entry {

// The conditions of the two fixed points activity. A coordinate means
// something only while its state is 9, the distance from state 8 on.
struct SyotenFields {
    // Fields 1 to 4, F1 and F2, with sign and root applied.
    float Focus1X = 0.0f;
    int Focus1XState = 0;
    float Focus1Y = 0.0f;
    int Focus1YState = 0;
    float Focus2X = 0.0f;
    int Focus2XState = 0;
    float Focus2Y = 0.0f;
    int Focus2YState = 0;
    // Field 5, the sum (DistanceKind 1) or difference (2) of PF1 and PF2:
    // state 1 kind chosen, 8 one digit keyed, 9 two digits keyed.
    int DistanceKind = 0;
    int DistanceValue = 0;
    std::string DistancePrefix;  // "和＝" or "差＝", the chosen kind key's caption
    int DistanceState = 0;
};

// The condition panel and keypad of the two fixed points window.
class SyotenEntry : public ConditionEntry {
public:
    explicit SyotenEntry(tk::Form& form);

    SyotenFields Fields;

    // The condition panel, in painting order.
    std::unique_ptr<tk::Label> LblKakko2;
    std::unique_ptr<tk::SpeedButton> SbnKyori;
    std::unique_ptr<tk::Label> LblKyori;
    std::unique_ptr<tk::SpeedButton> SbnF1Zahyo;
    std::unique_ptr<tk::SpeedButton> SbnX1Zahyo;
    std::unique_ptr<tk::SpeedButton> SbnY1Zahyo;
    std::unique_ptr<tk::Label> LblKakko1;
    std::unique_ptr<tk::Label> LblX1Zahyo;
    std::unique_ptr<tk::Label> LblY1Zahyo;
    std::unique_ptr<tk::SpeedButton> SbnF2Zahyo;
    std::unique_ptr<tk::Label> LblX2Zahyo;
    std::unique_ptr<tk::Label> LblY2Zahyo;
    std::unique_ptr<tk::SpeedButton> SbnY2Zahyo;
    std::unique_ptr<tk::SpeedButton> SbnX2Zahyo;
    std::unique_ptr<tk::StaticText> StaticText2;
    std::unique_ptr<tk::StaticText> StaticText1;
    std::unique_ptr<tk::StaticText> StaticText3;

    // The keypad's kind keys under this window's names.
    tk::Button& BtnKyoriWa;
    tk::Button& BtnKyoriSa;

    // "定点Ｆ１の座標：" and "定点Ｆ２の座標：" select that point's x.
    void SbnF1ZahyoClick(tk::Object* sender);
    void SbnF2ZahyoClick(tk::Object* sender);
    // "取消": empties the selected field.
    void BtnKesuClick(tk::Object* sender);

    // A keyed digit (1.0 to 9.0) with the pending root and minus applied,
    // already rounded to the float a coordinate is kept in.
    long double Ataikettei(float digit) const;

protected:
    bool EnterDigit(int digit) override;
    void EnterMinus() override;
    void EnterRoot() override;

private:
    float& Coordinate(int field);
    // The x field of point 1 or 2, selected without dropping the curve.
    void SelectPoint(int field);
};

} // namespace entry
