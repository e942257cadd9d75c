#include "entry/syoten_entry.h"

#include "entry/panel_fonts.h"
#include "entry/panel_layout.h"
#include "entry/value_text.h"

#include <array>
#include <cmath>

namespace entry {

namespace {

using S = SyotenEntry;

bool IsCoordinate(int field) { return field >= 1 && field <= 4; }

} // namespace

SyotenEntry::SyotenEntry(tk::Form& form)
    : ConditionEntry(form, "和＝", "差＝"), BtnKyoriWa(*Keypad.BtnKindLeft), BtnKyoriSa(*Keypad.BtnKindRight)
{
    using enum Look;
    // The frames lie beneath the boxes painted after them.
    const std::array<PanelRow<S>, 17> rows{{
        {&S::LblKakko2, "\uFF08 \u3000  \u3000\uFF0C   \u3000\uFF09", 136, 96, 176, 32, fonts::kParenthesis},
        {&S::SbnKyori, "２定点からの距離の", 8, 152, 161, 33, fonts::kFieldButton, 1},
        {&S::LblKyori, "", 168, 151, 129, 34, fonts::kPanel, 0, ValueLeft},
        {&S::SbnF1Zahyo, "定点Ｆ１の座標：", 8, 40, 129, 33, fonts::kFieldButton, 0},
        {&S::SbnX1Zahyo, "X座標", 160, 24, 49, 17, fonts::kCoordinateToggle, 1},
        {&S::SbnY1Zahyo, "Y座標", 240, 24, 49, 17, fonts::kCoordinateToggle, 1},
        {&S::LblKakko1, "\uFF08\u3000   \u3000\uFF0C \u3000\u3000\uFF09", 136, 40, 177, 32, fonts::kParenthesis},
        {&S::LblX1Zahyo, "", 152, 40, 65, 33, {}, 0, ValueCentred},
        {&S::LblY1Zahyo, "", 232, 40, 65, 33, {}, 0, ValueCentred},
        // A member of the toggles' group, as designed; its handler puts
        // SbnX2Zahyo down, which raises it again.
        {&S::SbnF2Zahyo, "定点Ｆ２の座標：", 8, 96, 129, 33, fonts::kFieldButton, 1},
        {&S::LblX2Zahyo, "", 152, 96, 65, 33, {}, 0, ValueCentred},
        {&S::LblY2Zahyo, "", 232, 96, 65, 33, {}, 0, ValueCentred},
        {&S::SbnY2Zahyo, "Y座標", 240, 80, 49, 17, fonts::kCoordinateToggle, 1},
        {&S::SbnX2Zahyo, "X座標", 160, 80, 49, 17, fonts::kCoordinateToggle, 1},
        {&S::StaticText2, "２定点からの距離の和または差", 85, 232, 228, 20, fonts::kLegend},
        {&S::StaticText1, "動点をＰとし、", 85, 208, 116, 20, fonts::kLegend},
        {&S::StaticText3, "によって描かれる図形", 85, 256, 164, 20, fonts::kLegend},
    }};
    BuildPanel<S>(*this, *GroupBox2, rows);
    LblKakko1->FrameAround({LblX1Zahyo.get(), LblY1Zahyo.get()});
    LblKakko2->FrameAround({LblX2Zahyo.get(), LblY2Zahyo.get()});
    SbnF1Zahyo->OnClick = [this](tk::Object* s) { SbnF1ZahyoClick(s); };
    SbnF2Zahyo->OnClick = [this](tk::Object* s) { SbnF2ZahyoClick(s); };
    Keypad.BtnKesu->OnClick = [this](tk::Object* s) { BtnKesuClick(s); };

    FieldRules rules;
    rules.toggles = {SbnX1Zahyo.get(), SbnY1Zahyo.get(), SbnX2Zahyo.get(), SbnY2Zahyo.get(), SbnKyori.get()};
    rules.labels = {LblX1Zahyo.get(), LblY1Zahyo.get(), LblX2Zahyo.get(), LblY2Zahyo.get(), LblKyori.get()};
    rules.states = {&Fields.Focus1XState, &Fields.Focus1YState, &Fields.Focus2XState, &Fields.Focus2YState,
                    &Fields.DistanceState};
    // A one-digit distance is complete.
    rules.completeFrom = {9, 9, 9, 9, 8};
    rules.kindField = 5;
    rules.kind = &Fields.DistanceKind;
    rules.kindPrefix = &Fields.DistancePrefix;
    rules.kindInvalidatesCurve = false;
    rules.resetRecoloursAll = true;
    AttachFields(rules);
}

void SyotenEntry::SelectPoint(int field)
{
    FieldToggle(field).SetDown(true);
    Highlight(field);
}

void SyotenEntry::SbnF1ZahyoClick(tk::Object*) { SelectPoint(1); }
void SyotenEntry::SbnF2ZahyoClick(tk::Object*) { SelectPoint(3); }

void SyotenEntry::BtnKesuClick(tk::Object*)
{
    if (IsCoordinate(InputTarget) || InputTarget == 5) {
        FieldLabel(InputTarget).SetCaption({});
        // The distance then takes no digit until its kind is chosen again.
        State(InputTarget) = 0;
    }
    PendingSign.clear();
    PendingRoot.clear();
}

long double SyotenEntry::Ataikettei(float digit) const
{
    long double r = digit;
    if (!PendingRoot.empty())
        r = std::sqrt(r);
    if (!PendingSign.empty())
        r = -r;
    return static_cast<float>(r);
}

float& SyotenEntry::Coordinate(int field)
{
    static const std::array<float SyotenFields::*, 4> kValues{&SyotenFields::Focus1X, &SyotenFields::Focus1Y,
                                                              &SyotenFields::Focus2X, &SyotenFields::Focus2Y};
    return Fields.*kValues.at(static_cast<std::size_t>(field - 1));
}

bool SyotenEntry::EnterDigit(int digit)
{
    const std::string caption = DigitCaption(digit);
    if (IsCoordinate(InputTarget)) {
        // 0 takes neither sign nor root.
        float& value = Coordinate(InputTarget);
        if (digit == 0) {
            value = 0.0f;
            FieldLabel(InputTarget).SetCaption(ValueText({caption}));
        } else {
            value = static_cast<float>(Ataikettei(static_cast<float>(digit)));
            FieldLabel(InputTarget).SetCaption(ValueText({PendingSign, PendingRoot, caption}));
        }
        State(InputTarget) = 9;
    } else if (InputTarget == 5) {
        // Before a kind key the distance takes no digit and the pending texts
        // stay. Sign and root never apply to it.
        int& state = Fields.DistanceState;
        if (state < 1)
            return false;
        if (state == 8) {
            Fields.DistanceValue = Fields.DistanceValue * 10 + digit;
            LblKyori->SetCaption(LblKyori->Caption() + caption);
            state = 9;
        } else if (digit != 0) {
            // A first digit, or a digit after two: a new value. A distance
            // never begins with 0.
            Fields.DistanceValue = digit;
            LblKyori->SetCaption(ValueText({Fields.DistancePrefix, caption}));
            state = 8;
        }
    }
    return true;
}

void SyotenEntry::EnterMinus()
{
    // Only the coordinates show the minus; no state counts it.
    if (IsCoordinate(InputTarget))
        FieldLabel(InputTarget).SetCaption(ValueText({kMinusSign}));
}

void SyotenEntry::EnterRoot()
{
    // A root is taken only before the digit, once, and after the minus if
    // there is one.
    if (!IsCoordinate(InputTarget))
        return;
    tk::Label& label = FieldLabel(InputTarget);
    const std::string& text = label.Caption();
    if (text.empty() || (!PendingSign.empty() && text.ends_with(PendingSign))) {
        PendingRoot = kRootSign;
        label.SetCaption(text + PendingRoot);
    }
}

} // namespace entry
