// The fixed point and fixed line window's condition entry, driven through
// its keys: labels, states and values after key sequences, the selection
// toggles, the reset and the keypad's layout.

#include "entry/junsen_entry.h"
#include "toolkit/qt/native.h"

#include "support/entry_driver.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <array>
#include <vector>

using namespace entry_test;
using entry::JunsenEntry;

namespace {

struct JunsenWindow : EntryWindow<JunsenEntry> {
    JunsenWindow()
        : EntryWindow({{"line", &JunsenEntry::SbnLine}, {"fx", &JunsenEntry::SbnXzahyo},
                       {"fy", &JunsenEntry::SbnYzahyo}, {"pf", &JunsenEntry::SbnHiPF},
                       {"ph", &JunsenEntry::SbnHiPH}, {"F", &JunsenEntry::SbnZahyo}})
    {
    }
    float Value(int field) const
    {
        const entry::JunsenFields& f = entry.Fields;
        return std::array{static_cast<float>(f.LineConst), static_cast<float>(f.FocusX),
                          static_cast<float>(f.FocusY), f.RatioPF, f.RatioPH}
            .at(static_cast<std::size_t>(field - 1));
    }
};

class JunsenKeys : public ::testing::TestWithParam<FieldCase> {};

TEST_P(JunsenKeys, LeaveLabelStateValueAndPendingTexts) { CheckFieldCase<JunsenWindow>(GetParam()); }

INSTANTIATE_TEST_SUITE_P(
    Fields, JunsenKeys,
    ::testing::Values(
        FieldCase{"MinusesCountButNegateOnce", "fx － － ４", 2, " －４", 9, -4, false, false},
        FieldCase{"MinusOnCompleteFKeepsValue", "fy ６ －", 3, " －", 10, 6, true, false},
        // Minus presses alone count up to one short of complete, however many.
        FieldCase{"MinusesAloneNeverCompleteAnF", "fx － － － － － － － － － － －", 2, " －", 8, 0, true, false},
        FieldCase{"MinusesAloneNeverCompleteTheLine", "Ｘ＝ － － － － － － － － －", 1, " Ｘ＝－", 8, 0, true, false},
        FieldCase{"MinusAfterTheCountTopsOutStillNegates", "fy － － － － － － － － － ７", 3, " －７", 9, -7, false, false},
        FieldCase{"MinusOnCompleteLineKeepsValue", "Ｘ＝ ４ － －", 1, " Ｘ＝－", 11, 4, true, false},
        FieldCase{"ZeroCarriesNoSign", "fy － ０", 3, " ０", 9, 0, false, false},
        FieldCase{"RootOfFour", "pf √ ４", 4, " √４", 9, 2.0f, false, false},
        FieldCase{"RootOfOneIsAPlainOne", "ph √ １", 5, " １", 9, 1.0f, false, false},
        FieldCase{"RootAloneStartsTheTerm", "ph √", 5, " √", 1, 0, false, true},
        FieldCase{"MinusIsDroppedOnRatio", "pf － ５", 4, " ５", 9, 5, false, false},
        FieldCase{"ZeroOnRatioOnlyClearsPending", "pf √ ０", 4, " √", 1, 0, false, false},
        FieldCase{"DigitBeforeKindIgnoredKeepsPending", "－ √ ５", 1, "", 0, 0, true, true},
        FieldCase{"MinusBeforeKindAppliesAfterIt", "－ Ｘ＝ ５", 1, " Ｘ＝－５", 9, -5, false, false},
        FieldCase{"MinusZeroOnLine", "Ｘ＝ － ０", 1, " Ｘ＝０", 9, 0, false, false},
        FieldCase{"KindAgainRestartsCompleteLine", "Ｘ＝ ３ Ｙ＝", 1, " Ｙ＝", 1, 3, false, false},
        FieldCase{"KindIgnoredOffTheLine", "fx Ｘ＝ ２", 1, "", 0, 0, false, false},
        FieldCase{"NoFieldDigitOnlyClearsPending", "F － √ ５", 2, "", 0, 0, false, false},
        FieldCase{"PendingMinusFollowsTheSelection", "pf － fx ２", 2, " －２", 9, -2, false, false}),
    CaseName);

TEST(JunsenSelection, EachToggleSelectsItsFieldAndRaisingKeepsTheTarget) { CheckToggleFamily<JunsenWindow>(); }

TEST(JunsenSelection, WhatDropsTheCurve)
{
    JunsenWindow w;
    w.Type("pf F");
    EXPECT_EQ(w.entry.InputTarget, 0);
    EXPECT_EQ(w.Selection(), "00000MMMMM");
    EXPECT_FALSE(w.entry.SbnZahyo->Down());
    w.Type("Ｘ＝ ５ line");
    ASSERT_EQ(w.invalidations, 2) << "deselecting and keys without a field keep the curve";
    w.Type("Ｙ＝");
    EXPECT_EQ(w.invalidations, 3) << "the line kind drops it";
    EXPECT_EQ(w.entry.Fields.LineKind, 2);
    EXPECT_EQ(w.entry.Fields.LinePrefix, "Ｙ＝");
}

TEST(JunsenReset, EmptiesEntrySelectsTheLineAndKeepsOtherRedCaptions)
{
    JunsenWindow w;
    w.Type("Ｘ＝ ４ fx － ２ ph √ ３ pf √");
    w.entry.Syokika();
    for (int f = 1; f <= 5; ++f)
        EXPECT_EQ(w.entry.FieldLabel(f).Caption() + std::to_string(w.entry.FieldState(f)), "0") << f;
    EXPECT_EQ(w.entry.InputTarget, 1);
    EXPECT_EQ(w.Selection(), "10000RMMRM");
    EXPECT_EQ(w.entry.PendingRoot + w.entry.Fields.LinePrefix, "");
    EXPECT_EQ(w.entry.Fields.RatioPH, 0.0f);
    EXPECT_EQ(w.entry.Fields.LineConst, 4) << "the reset keeps the line and F";
    EXPECT_EQ(w.entry.Fields.FocusX, -2);
}

TEST(JunsenWalk, SelectsTheFirstIncompleteFieldAsItsToggleWould)
{
    JunsenWindow w;
    w.Type("Ｙ＝ １ fx ２ fy － pf ３ ph √");
    EXPECT_EQ(w.entry.FirstIncompleteField(), 3);
    const int before = w.invalidations;
    w.entry.SelectField(3, w.entry.Keypad.BtnKettei.get());
    EXPECT_EQ(w.Selection(), "00100MMRMM");
    EXPECT_EQ(w.entry.InputTarget, 3);
    EXPECT_EQ(w.invalidations, before + 1);
    w.Type("５ ph ２ fx －");
    EXPECT_EQ(w.entry.FirstIncompleteField(), 0) << "state 10 is still complete";
}

TEST(JunsenReplay, LongMixedSequence)
{
    JunsenWindow w;
    w.Type("５ － Ｘ＝ － ７ ． line ３ Ｙ＝ ０ fx √ － － ８ fy ９ － F ２ ph √ ６ pf √ ＋ ０ "
           "pf √ ２ fx － ４ 取消 line Ｘ＝ －");
    const entry::JunsenFields& f = w.entry.Fields;
    EXPECT_EQ((std::array{w.entry.LblSiki->Caption(), w.entry.LblXzahyo->Caption(),
                          w.entry.LblYzahyo->Caption(), w.entry.LblHiPF->Caption(), w.entry.LblHiPH->Caption()}),
              (std::array<std::string, 5>{" Ｘ＝－", " －４", " －", " √２", " √６"}));
    EXPECT_EQ((std::array{f.LineState, f.FocusXState, f.FocusYState, f.RatioPFState, f.RatioPHState}),
              (std::array{2, 9, 10, 9, 9}));
    EXPECT_EQ((std::array{f.LineKind, f.LineConst, f.FocusX, f.FocusY}), (std::array{1, 0, -4, 9}));
    EXPECT_EQ((std::array{Bits(f.RatioPF), Bits(f.RatioPH)}), (std::array{0x3FB504F3u, 0x401CC471u}));
    EXPECT_EQ(w.entry.InputTarget, 1);
    EXPECT_EQ(w.entry.PendingSign + w.entry.PendingRoot, "－");
    EXPECT_EQ(w.Selection(), "10000RMMMM");
}

TEST(KeypadLayout, KeysSitOnTheirPitchAndFocusRunsInTheDesignedOrder)
{
    JunsenWindow w;
    const std::array<std::array<const char*, 4>, 4> grid{{{"７", "８", "９", "＋"},
                                                          {"４", "５", "６", "－"},
                                                          {"１", "２", "３", "√"},
                                                          {"０", "．", "決定", "取消"}}};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            const tk::Control& key = *w.keys.at(grid.at(r).at(c));
            EXPECT_EQ((std::array{key.Left(), key.Top(), key.Width(), key.Height()}),
                      (std::array{8 + 48 * c, 72 + 48 * r, 49, 49}))
                << grid.at(r).at(c);
        }
    std::vector<std::string> order;
    QWidget* first = tk::AsWidget(w.entry.Keypad.Btn00->NativeWidget());
    QWidget* x = first;
    do {
        for (const auto& [caption, key] : w.keys)
            if (tk::AsWidget(key->NativeWidget()) == x && x->parentWidget() == tk::AsWidget(w.entry.Keypad.GroupBox1->NativeWidget()))
                order.push_back(caption);
        x = x->nextInFocusChain();
    } while (x != first);
    EXPECT_EQ(order, (std::vector<std::string>{"０", "．", "決定", "取消", "１", "√", "３", "２", "４", "－",
                                               "６", "５", "７", "＋", "９", "８", "Ｘ＝", "Ｙ＝"}));
}

} // namespace
