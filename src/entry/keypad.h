#pragma once

#include "toolkit/button.h"
#include "toolkit/form.h"
#include "toolkit/groupbox.h"

#include <memory>
#include <string>

namespace entry {

// The keypad both activity windows carry, the group box "条件入力ボタン":
// two kind keys, ten digits, minus, root, the confirm and cancel keys and
// two keys without an action. It only lays the keys out; the window's
// condition entry wires them.
class Keypad {
public:
    // The kind keys of the top row differ per window ("Ｘ＝"/"Ｙ＝" or "和＝"/"差＝").
    Keypad(tk::Form& form, const std::string& leftKind, const std::string& rightKind);

    std::unique_ptr<tk::GroupBox> GroupBox1;
    // Keys in painting order.
    std::unique_ptr<tk::Button> BtnKindLeft;
    std::unique_ptr<tk::Button> BtnKindRight;
    std::unique_ptr<tk::Button> Btn07;
    std::unique_ptr<tk::Button> Btn08;
    std::unique_ptr<tk::Button> Btn09;
    std::unique_ptr<tk::Button> BtnPlus;
    std::unique_ptr<tk::Button> Btn04;
    std::unique_ptr<tk::Button> Btn05;
    std::unique_ptr<tk::Button> Btn06;
    std::unique_ptr<tk::Button> BtnMinus;
    std::unique_ptr<tk::Button> Btn01;
    std::unique_ptr<tk::Button> Btn02;
    std::unique_ptr<tk::Button> Btn03;
    std::unique_ptr<tk::Button> BtnRoot;
    std::unique_ptr<tk::Button> Btn00;
    std::unique_ptr<tk::Button> BtnDot;
    // The confirm key; its click belongs to the activity window.
    std::unique_ptr<tk::Button> BtnKettei;
    std::unique_ptr<tk::Button> BtnKesu;

    // The key of a digit, 0 to 9.
    tk::Button& DigitKey(int digit) const;
};

} // namespace entry
