#include "entry/keypad.h"

#include "entry/panel_layout.h"

#include <array>

namespace entry {

namespace {

constexpr int kKeySize = 49;   // keys overlap their neighbours by one pixel
constexpr int kKindWidth = 97;

const tk::Font kKindFont{"ＭＳ 明朝", 27, tk::clWindowText, false};
const tk::Font kKeyFont{"ＭＳ Ｐゴシック", 27, tk::clWindowText, false};
const tk::Font kWordFont{"ＭＳ 明朝", 19, tk::clWindowText, true};

using K = Keypad;

} // namespace

Keypad::Keypad(tk::Form& form, const std::string& leftKind, const std::string& rightKind)
    : GroupBox1(std::make_unique<tk::GroupBox>(form, "条件入力ボタン"))
{
    GroupBox1->SetBounds(699, 418, 209, 273);
    GroupBox1->SetFont({"ＭＳ Ｐ明朝", 21, tk::clMaroon, false});
    GroupBox1->SetColor(tk::clMoneyGreen);

    const auto key = [](std::unique_ptr<tk::Button> K::*slot, const char* caption, int left, int top,
                        const tk::Font& font = kKeyFont) {
        return PanelRow<K>{slot, caption, left, top, kKeySize, kKeySize, font};
    };
    const std::array<PanelRow<K>, 18> rows{{
        {&K::BtnKindLeft, leftKind, 8, 24, kKindWidth, kKeySize, kKindFont},
        {&K::BtnKindRight, rightKind, 104, 24, kKindWidth, kKeySize, kKindFont},
        key(&K::Btn07, "７", 8, 72),
        key(&K::Btn08, "８", 56, 72),
        key(&K::Btn09, "９", 104, 72),
        key(&K::BtnPlus, "＋", 152, 72),
        key(&K::Btn04, "４", 8, 120),
        key(&K::Btn05, "５", 56, 120),
        key(&K::Btn06, "６", 104, 120),
        key(&K::BtnMinus, "－", 152, 120),
        key(&K::Btn01, "１", 8, 168),
        key(&K::Btn02, "２", 56, 168),
        key(&K::Btn03, "３", 104, 168),
        key(&K::BtnRoot, "√", 152, 168),
        key(&K::Btn00, "０", 8, 216),
        key(&K::BtnDot, "．", 56, 216),
        key(&K::BtnKettei, "決定", 104, 216, kWordFont),
        key(&K::BtnKesu, "取消", 152, 216, kWordFont),
    }};
    BuildPanel<K>(*this, *GroupBox1, rows);

    form.SetTabOrder({Btn00.get(), BtnDot.get(), BtnKettei.get(), BtnKesu.get(), Btn01.get(),
                      BtnRoot.get(), Btn03.get(), Btn02.get(), Btn04.get(), BtnMinus.get(),
                      Btn06.get(), Btn05.get(), Btn07.get(), BtnPlus.get(), Btn09.get(),
                      Btn08.get(), BtnKindLeft.get(), BtnKindRight.get()});
}

tk::Button& Keypad::DigitKey(int digit) const
{
    static const std::array<std::unique_ptr<tk::Button> K::*, 10> kDigits{
        &K::Btn00, &K::Btn01, &K::Btn02, &K::Btn03, &K::Btn04,
        &K::Btn05, &K::Btn06, &K::Btn07, &K::Btn08, &K::Btn09};
    return *(this->*kDigits.at(static_cast<std::size_t>(digit)));
}

} // namespace entry
