#pragma once

#include "entry/keypad.h"
#include "toolkit/form.h"
#include "toolkit/groupbox.h"
#include "toolkit/label.h"
#include "toolkit/speedbutton.h"

#include <array>
#include <functional>
#include <memory>
#include <string>

namespace entry {

// Each window has five condition fields, numbered from 1.
constexpr int kFieldCount = 5;

// The condition entry of one activity window: the keypad (GroupBox1), the
// condition panel (GroupBox2), the selected field and the pending minus and
// root. What both windows do alike lives here: the selection toggles, the
// digit, minus, root and kind keys' common steps, the walk to a field and
// the reset; each window supplies its fields and the rules where it differs.
class ConditionEntry {
public:
    ConditionEntry(const ConditionEntry&) = delete;
    ConditionEntry& operator=(const ConditionEntry&) = delete;
    virtual ~ConditionEntry() = default;

    entry::Keypad Keypad;
    std::unique_ptr<tk::GroupBox> GroupBox2;

    // The field the keypad writes into; 0 for none.
    int InputTarget = 0;
    // "－" or empty, and "√" or empty: consumed by the next digit that counts.
    std::string PendingSign;
    std::string PendingRoot;

    // Set by the window: drop a drawn curve (CurveShown false, graph button
    // hidden) without repainting the plane.
    std::function<void()> OnInvalidateCurve;

    tk::SpeedButton& FieldToggle(int field) const;
    tk::Label& FieldLabel(int field) const;
    int FieldState(int field) const;
    bool FieldComplete(int field) const;
    // The first incomplete field in field order, 0 when all are complete.
    int FirstIncompleteField() const;

    // The click handler of all five selection toggles.
    void SelectionToggleClick(int field, tk::Object* sender);
    // Puts the field's toggle down from code, then runs its click handler
    // with the given sender, as the confirm key's walk does.
    void SelectField(int field, tk::Object* sender);
    // Raises all five selection toggles, then makes their captions maroon.
    void RaiseAllToggles();

    // The click handler of all ten digit keys.
    void DigitKeyClick(int digit, tk::Object* sender);
    void BtnMinusClick(tk::Object* sender);
    void BtnRootClick(tk::Object* sender);
    // The click handler of both kind keys; kind 1 is the left key.
    void KindKeyClick(int kind, tk::Object* sender);

    // The panels' share of the window's reset: pending texts and the kind
    // prefix emptied, labels emptied, states 0, field 1 selected in red.
    void Syokika();

protected:
    // Where a window keeps what the shared steps touch, and how it differs.
    struct FieldRules {
        std::array<tk::SpeedButton*, kFieldCount> toggles{};
        std::array<tk::Label*, kFieldCount> labels{};
        std::array<int*, kFieldCount> states{};
        // A field counts as complete from this state on.
        std::array<int, kFieldCount> completeFrom{9, 9, 9, 9, 9};
        // The field whose kind the kind keys choose, and where it is kept.
        int kindField = 0;
        int* kind = nullptr;
        std::string* kindPrefix = nullptr;
        // Whether choosing the kind drops a drawn curve.
        bool kindInvalidatesCurve = false;
        // Whether the reset raises all toggles and makes every caption maroon
        // before selecting field 1, or only recolours field 1's toggle.
        bool resetRecoloursAll = false;
        // The order in which the reset empties the labels.
        std::array<int, kFieldCount> labelResetOrder{1, 2, 3, 4, 5};
    };

    ConditionEntry(tk::Form& form, const std::string& leftKind, const std::string& rightKind);
    // Called once by the window after it has built its panel: wires the
    // toggles and keeps the fields' addresses.
    void AttachFields(const FieldRules& rules);

    // Makes the field the selected one with a red caption, every other
    // caption maroon. Moves no toggle.
    void Highlight(int field);
    void InvalidateCurve();
    int& State(int field) const;

    // The window's digit rule for the selected field. Returns false when the
    // key is ignored altogether, so the pending texts stay.
    virtual bool EnterDigit(int digit) = 0;
    // What the minus key shows or counts after it has set PendingSign.
    virtual void EnterMinus() = 0;
    virtual void EnterRoot() = 0;
    // Values the window's reset sets besides the shared steps.
    virtual void ResetValues() {}

private:
    FieldRules rules_;
};

} // namespace entry
