#include "entry/condition_entry.h"

#include "entry/panel_fonts.h"
#include "entry/value_text.h"

#include <cstddef>

namespace entry {

namespace {

std::size_t Index(int field) { return static_cast<std::size_t>(field - 1); }

} // namespace

ConditionEntry::ConditionEntry(tk::Form& form, const std::string& leftKind, const std::string& rightKind)
    : Keypad(form, leftKind, rightKind), GroupBox2(std::make_unique<tk::GroupBox>(form, "曲線の条件"))
{
    GroupBox2->SetBounds(691, 24, 318, 289);
    GroupBox2->SetFont(fonts::kPanel);
    GroupBox2->SetColor(tk::clMoneyGreen);

    for (int digit = 0; digit <= 9; ++digit)
        Keypad.DigitKey(digit).OnClick = [this, digit](tk::Object* s) { DigitKeyClick(digit, s); };
    Keypad.BtnMinus->OnClick = [this](tk::Object* s) { BtnMinusClick(s); };
    Keypad.BtnRoot->OnClick = [this](tk::Object* s) { BtnRootClick(s); };
    Keypad.BtnKindLeft->OnClick = [this](tk::Object* s) { KindKeyClick(1, s); };
    Keypad.BtnKindRight->OnClick = [this](tk::Object* s) { KindKeyClick(2, s); };
    // "．" and "＋" have no action on either window.
}

void ConditionEntry::AttachFields(const FieldRules& rules)
{
    rules_ = rules;
    for (int field = 1; field <= kFieldCount; ++field)
        FieldToggle(field).OnClick = [this, field](tk::Object* s) { SelectionToggleClick(field, s); };
}

tk::SpeedButton& ConditionEntry::FieldToggle(int field) const { return *rules_.toggles.at(Index(field)); }
tk::Label& ConditionEntry::FieldLabel(int field) const { return *rules_.labels.at(Index(field)); }
int& ConditionEntry::State(int field) const { return *rules_.states.at(Index(field)); }
int ConditionEntry::FieldState(int field) const { return State(field); }

bool ConditionEntry::FieldComplete(int field) const
{
    return State(field) >= rules_.completeFrom.at(Index(field));
}

int ConditionEntry::FirstIncompleteField() const
{
    for (int field = 1; field <= kFieldCount; ++field)
        if (!FieldComplete(field))
            return field;
    return 0;
}

void ConditionEntry::Highlight(int field)
{
    InputTarget = field;
    for (int f = 1; f <= kFieldCount; ++f)
        FieldToggle(f).SetFontColor(f == field ? tk::clRed : tk::clMaroon);
}

void ConditionEntry::InvalidateCurve()
{
    if (OnInvalidateCurve)
        OnInvalidateCurve();
}

void ConditionEntry::SelectionToggleClick(int field, tk::Object*)
{
    tk::SpeedButton& toggle = FieldToggle(field);
    if (toggle.Down()) {
        Highlight(field);
        InvalidateCurve();
    } else {
        // Raising the selected toggle only greys its caption: the keypad
        // still writes into the field.
        toggle.SetFontColor(tk::clMaroon);
    }
}

void ConditionEntry::SelectField(int field, tk::Object* sender)
{
    FieldToggle(field).SetDown(true);
    SelectionToggleClick(field, sender);
}

void ConditionEntry::RaiseAllToggles()
{
    for (int field = 1; field <= kFieldCount; ++field)
        FieldToggle(field).SetDown(false);
    for (int field = 1; field <= kFieldCount; ++field)
        FieldToggle(field).SetFontColor(tk::clMaroon);
}

void ConditionEntry::DigitKeyClick(int digit, tk::Object*)
{
    if (!EnterDigit(digit))
        return;
    PendingSign.clear();
    PendingRoot.clear();
}

void ConditionEntry::BtnMinusClick(tk::Object*)
{
    PendingSign = kMinusSign;
    EnterMinus();
}

void ConditionEntry::BtnRootClick(tk::Object*) { EnterRoot(); }

void ConditionEntry::KindKeyClick(int kind, tk::Object*)
{
    if (InputTarget != rules_.kindField)
        return;
    const tk::Button& key = kind == 1 ? *Keypad.BtnKindLeft : *Keypad.BtnKindRight;
    // Choosing the kind again starts the field over, also when it was complete.
    State(rules_.kindField) = 1;
    *rules_.kind = kind;
    *rules_.kindPrefix = key.Caption();
    FieldLabel(rules_.kindField).SetCaption(ValueText({*rules_.kindPrefix}));
    if (rules_.kindInvalidatesCurve)
        InvalidateCurve();
}

void ConditionEntry::Syokika()
{
    rules_.kindPrefix->clear();
    PendingSign.clear();
    PendingRoot.clear();
    if (rules_.resetRecoloursAll)
        RaiseAllToggles();
    for (int field : rules_.labelResetOrder)
        FieldLabel(field).SetCaption({});
    for (int field = 1; field <= kFieldCount; ++field)
        State(field) = 0;
    InputTarget = 1;
    FieldToggle(1).SetDown(true);
    FieldToggle(1).SetFontColor(tk::clRed);
    ResetValues();
}

} // namespace entry
