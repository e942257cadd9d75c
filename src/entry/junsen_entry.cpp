#include "entry/junsen_entry.h"

#include "entry/entry_state.h"
#include "entry/panel_fonts.h"
#include "entry/panel_layout.h"
#include "entry/value_text.h"

#include <array>
#include <cmath>
#include <string_view>

namespace entry {

namespace {

using J = JunsenEntry;

// A ratio term under the root key: the root taken in extended precision,
// then rounded to the float the term is kept in.
float RootOfDigit(int digit) { return static_cast<float>(std::sqrt(static_cast<long double>(digit))); }

} // namespace

JunsenEntry::JunsenEntry(tk::Form& form)
    : ConditionEntry(form, "Ｘ＝", "Ｙ＝"), BtnX(*Keypad.BtnKindLeft), BtnY(*Keypad.BtnKindRight)
{
    using enum Look;
    const std::array<PanelRow<J>, 18> rows{{
        {&J::HiLbl2, "：", 213, 144, 20, 40, fonts::kSign},
        {&J::SbnLine, "定直線の方程式：", 8, 32, 161, 33, fonts::kFieldButton, 1},
        {&J::LblSiki, "", 170, 31, 137, 34, fonts::kPanel, 0, ValueLeft},
        {&J::SbnZahyo, "定点Ｆの座標：", 8, 96, 129, 33, fonts::kFieldButton, 0},
        {&J::SbnXzahyo, "X座標", 160, 80, 49, 17, fonts::kCoordinateToggle, 1},
        {&J::SbnYzahyo, "Y座標", 232, 80, 49, 17, fonts::kCoordinateToggle, 1},
        // The frame lies beneath the two boxes painted after it.
        {&J::LblKakko, "\uFF08\u3000 \u3000\uFF0C \u3000\u3000\uFF09", 144, 96, 157, 32, fonts::kParenthesis},
        {&J::LblXzahyo, "", 160, 96, 49, 33, {}, 0, ValueCentred},
        {&J::LblYzahyo, "", 232, 96, 49, 33, {}, 0, ValueCentred},
        {&J::HiLbl1, "：", 61, 144, 20, 40, fonts::kSign},
        {&J::HiLbl, "=", 133, 152, 20, 40, fonts::kSign},
        {&J::SbnHiPF, "ＰＦ", 12, 152, 53, 33, fonts::kRatioToggle, 1},
        {&J::SbnHiPH, "ＰＨ", 76, 152, 53, 33, fonts::kRatioToggle, 1},
        {&J::LblHiPF, "", 160, 152, 57, 33, {}, 0, ValueCentred},
        {&J::LblHiPH, "", 232, 152, 57, 33, {}, 0, ValueCentred},
        {&J::StaticText2, "定直線からの距離をＰＨ", 85, 232, 180, 20, fonts::kLegend},
        {&J::StaticText1, "動点をＰとし、", 85, 208, 116, 20, fonts::kLegend},
        {&J::StaticText3, "定点Ｆからの距離をＰＦとする", 85, 256, 228, 20, fonts::kLegend},
    }};
    BuildPanel<J>(*this, *GroupBox2, rows);
    LblKakko->FrameAround({LblXzahyo.get(), LblYzahyo.get()});
    SbnZahyo->OnClick = [this](tk::Object* s) { SbnZahyoClick(s); };

    FieldRules rules;
    rules.toggles = {SbnLine.get(), SbnXzahyo.get(), SbnYzahyo.get(), SbnHiPF.get(), SbnHiPH.get()};
    rules.labels = {LblSiki.get(), LblXzahyo.get(), LblYzahyo.get(), LblHiPF.get(), LblHiPH.get()};
    rules.states = {&Fields.LineState, &Fields.FocusXState, &Fields.FocusYState, &Fields.RatioPFState,
                    &Fields.RatioPHState};
    rules.kindField = 1;
    rules.kind = &Fields.LineKind;
    rules.kindPrefix = &Fields.LinePrefix;
    rules.kindInvalidatesCurve = true;
    // The reset recolours only the line's caption: another caption left red
    // by an earlier selection stays red until the next selection.
    rules.resetRecoloursAll = false;
    rules.labelResetOrder = {4, 5, 1, 2, 3};
    AttachFields(rules);
    // "取消" has no action on this window.
}

void JunsenEntry::SbnZahyoClick(tk::Object*)
{
    InputTarget = 0;
    RaiseAllToggles();
}

bool JunsenEntry::EnterDigit(int digit)
{
    const std::string caption = DigitCaption(digit);
    // A 0 carries no sign, neither in its value nor in its text.
    const std::string_view sign = digit == 0 ? std::string_view{} : std::string_view{PendingSign};
    const int value = sign.empty() ? digit : -digit;
    switch (InputTarget) {
    case 1:
        // Before a kind key the line takes no digit, and the pending texts
        // wait for the digit that follows the kind.
        if (Fields.LineState < 1)
            return false;
        Fields.LineConst = value;
        LblSiki->SetCaption(ValueText({Fields.LinePrefix, sign, caption}));
        Fields.LineState = kCompleteState;
        break;
    case 2:
    case 3:
        (InputTarget == 2 ? Fields.FocusX : Fields.FocusY) = value;
        FieldLabel(InputTarget).SetCaption(ValueText({sign, caption}));
        State(InputTarget) = kCompleteState;
        break;
    case 4:
    case 5: {
        // A ratio term is never 0 and never negative; the root of 1 is a plain 1.
        if (digit == 0)
            break;
        const bool root = digit > 1 && !PendingRoot.empty();
        (InputTarget == 4 ? Fields.RatioPF : Fields.RatioPH) =
            root ? RootOfDigit(digit) : static_cast<float>(digit);
        FieldLabel(InputTarget).SetCaption(ValueText({root ? kRootSign : std::string_view{}, caption}));
        State(InputTarget) = kCompleteState;
        break;
    }
    default:
        break;
    }
    return true;
}

void JunsenEntry::EnterMinus()
{
    // Every press counts in the state (CountPress: never up to complete on
    // its own); the text shows one minus however often it was pressed, and
    // the digit negates once.
    switch (InputTarget) {
    case 1:
        if (Fields.LineState < 1)
            return;
        LblSiki->SetCaption(ValueText({Fields.LinePrefix, kMinusSign}));
        Fields.LineState = CountPress(Fields.LineState);
        break;
    case 2:
    case 3:
        FieldLabel(InputTarget).SetCaption(ValueText({kMinusSign}));
        State(InputTarget) = CountPress(State(InputTarget));
        break;
    default:
        break;
    }
}

void JunsenEntry::EnterRoot()
{
    // Pending on every field; only the ratio terms show it, elsewhere the
    // next digit drops it.
    PendingRoot = kRootSign;
    if (InputTarget == 4 || InputTarget == 5) {
        FieldLabel(InputTarget).SetCaption(ValueText({kRootSign}));
        State(InputTarget) = 1;
    }
}

void JunsenEntry::ResetValues()
{
    Fields.RatioPF = 0.0f;
    Fields.RatioPH = 0.0f;
}

} // namespace entry
