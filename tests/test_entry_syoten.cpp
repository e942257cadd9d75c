// The two fixed points window's condition entry, driven through its keys:
// coordinates with sign and root, the one- or two-digit distance, the
// cancel key, the point buttons, the reset and Ataikettei.

#include "entry/syoten_entry.h"

#include "support/entry_driver.h"

#include <gtest/gtest.h>

#include <array>

using namespace entry_test;
using entry::SyotenEntry;

namespace {

struct SyotenWindow : EntryWindow<SyotenEntry> {
    SyotenWindow()
        : EntryWindow({{"x1", &SyotenEntry::SbnX1Zahyo}, {"y1", &SyotenEntry::SbnY1Zahyo},
                       {"x2", &SyotenEntry::SbnX2Zahyo}, {"y2", &SyotenEntry::SbnY2Zahyo},
                       {"dist", &SyotenEntry::SbnKyori}, {"F1", &SyotenEntry::SbnF1Zahyo},
                       {"F2", &SyotenEntry::SbnF2Zahyo}})
    {
    }
    float Value(int field) const
    {
        const entry::SyotenFields& f = entry.Fields;
        return std::array{f.Focus1X, f.Focus1Y, f.Focus2X, f.Focus2Y, static_cast<float>(f.DistanceValue)}.at(
            static_cast<std::size_t>(field - 1));
    }
};

class SyotenKeys : public ::testing::TestWithParam<FieldCase> {};

TEST_P(SyotenKeys, LeaveLabelStateValueAndPendingTexts) { CheckFieldCase<SyotenWindow>(GetParam()); }

INSTANTIATE_TEST_SUITE_P(
    Fields, SyotenKeys,
    ::testing::Values(
        FieldCase{"MinusRootDigit", "－ √ ３", 1, " －√３", 9, FromBits(0xBFDDB3D7), false, false},
        FieldCase{"RootAloneHasNoBlank", "√", 1, "√", 0, 0, false, true},
        FieldCase{"RootAfterDigitIgnored", "３ √", 1, " ３", 9, 3, false, false},
        FieldCase{"SecondRootIgnored", "√ √", 1, "√", 0, 0, false, true},
        FieldCase{"RootAfterMinusOnlyOnce", "－ √ √", 1, " －√", 0, 0, true, true},
        FieldCase{"RootAfterSpentMinusIgnored", "－ y1 ２ x1 √", 1, " －", 0, 0, false, false},
        FieldCase{"MinusAfterRootThenDigitAppliesBoth", "√ － ８", 1, " －√８", 9, FromBits(0xC03504F3), false,
                  false},
        FieldCase{"ZeroTakesNeitherSignNorRoot", "－ √ ０", 1, " ０", 9, 0, false, false},
        FieldCase{"RootAfterMinusOnCompleteCoordinate", "y1 ７ － √", 2, " －√", 9, 7, true, true},
        FieldCase{"PendingMinusFollowsTheSelection", "－ x2 √ ２", 3, " －√２", 9, FromBits(0xBFB504F3), false,
                  false},
        FieldCase{"CancelEmptiesCoordinateKeepsValue", "y2 － ５ 取消", 4, "", 0, -5, false, false},
        FieldCase{"CancelDropsPendingTexts", "√ － 取消", 1, "", 0, 0, false, false},
        FieldCase{"TwoDigitDistance", "dist 和＝ １ ２", 5, " 和＝１２", 9, 12, false, false},
        FieldCase{"ThirdDigitStartsAgain", "dist 和＝ １ ２ ７", 5, " 和＝７", 8, 7, false, false},
        FieldCase{"DistanceNeverBeginsWithZero", "dist 差＝ ０", 5, " 差＝", 1, 0, false, false},
        FieldCase{"ZeroAsSecondDigit", "dist 差＝ ０ ５ ０", 5, " 差＝５０", 9, 50, false, false},
        FieldCase{"ZeroAfterTwoDigitsChangesNothing", "dist 和＝ ２ ９ ０", 5, " 和＝２９", 9, 29, false, false},
        FieldCase{"DigitBeforeKindIgnoredKeepsPending", "dist － ５", 5, "", 0, 0, true, false},
        FieldCase{"SignAndRootNeverApplyToDistance", "dist 和＝ － √ ３", 5, " 和＝３", 8, 3, false, false},
        FieldCase{"CancelledDistanceWaitsForKind", "dist 和＝ ３ 取消 ５", 5, "", 0, 3, false, false},
        FieldCase{"KindIgnoredOffDistance", "和＝ ５", 5, "", 0, 0, false, false}),
    CaseName);

TEST(SyotenAtaikettei, AppliesRootThenSignAndRoundsToFloat)
{
    const std::array<std::uint32_t, 9> roots{0x3F800000, 0x3FB504F3, 0x3FDDB3D7, 0x40000000, 0x400F1BBD,
                                             0x401CC471, 0x402953FD, 0x403504F3, 0x40400000};
    SyotenWindow w;
    for (int d = 1; d <= 9; ++d)
        for (const int pending : {0, 1, 2, 3}) {
            w.entry.PendingRoot = (pending & 1) != 0 ? "√" : "";
            w.entry.PendingSign = (pending & 2) != 0 ? "－" : "";
            const long double r = w.entry.Ataikettei(static_cast<float>(d));
            const std::uint32_t magnitude =
                (pending & 1) != 0 ? roots.at(static_cast<std::size_t>(d - 1)) : Bits(static_cast<float>(d));
            EXPECT_EQ(Bits(static_cast<float>(r)), magnitude | ((pending & 2) != 0 ? 0x80000000u : 0u)) << d;
            EXPECT_EQ(static_cast<long double>(static_cast<float>(r)), r) << "already a float";
        }
}

TEST(SyotenSelection, EachToggleSelectsItsFieldAndRaisingKeepsTheTarget) { CheckToggleFamily<SyotenWindow>(); }

TEST(SyotenSelection, PointButtonsAndKindKeysKeepTheCurve)
{
    SyotenWindow w;
    w.Type("dist 和＝ F2");
    EXPECT_EQ(w.Selection(), "00100MMRMM");
    EXPECT_FALSE(w.entry.SbnF2Zahyo->Down()) << "the group member does not stay down";
    EXPECT_EQ(w.entry.InputTarget, 3);
    w.Type("F1");
    EXPECT_EQ(w.Selection(), "10000RMMMM");
    EXPECT_EQ(w.entry.SbnF1Zahyo->GetFont().color + w.entry.SbnF2Zahyo->GetFont().color, 2 * tk::clMaroon);
    EXPECT_EQ(w.invalidations, 1) << "only selecting the distance dropped the curve";
    EXPECT_EQ(w.entry.Fields.DistanceKind, 1);
}

TEST(SyotenReset, EmptiesEntryAndLeavesOnlyX1Selected)
{
    SyotenWindow w;
    w.Type("－ ３ x2 √ ２ dist 差＝ ４ y2 √");
    w.entry.Syokika();
    for (int f = 1; f <= 5; ++f)
        EXPECT_EQ(w.entry.FieldLabel(f).Caption() + std::to_string(w.entry.FieldState(f)), "0") << f;
    EXPECT_EQ(w.entry.InputTarget, 1);
    EXPECT_EQ(w.Selection(), "10000RMMMM");
    EXPECT_EQ(w.entry.PendingRoot + w.entry.Fields.DistancePrefix, "");
    EXPECT_EQ(w.entry.Fields.Focus1X, -3.0f) << "the reset keeps the values";
    EXPECT_EQ((std::array{w.entry.Fields.DistanceKind, w.entry.Fields.DistanceValue}), (std::array{2, 4}));
}

TEST(SyotenWalk, OneDigitDistanceIsCompleteKindAloneIsNot)
{
    SyotenWindow w;
    w.Type("１ y1 ２ x2 ３ y2 ４ dist 和＝");
    EXPECT_EQ(w.entry.FirstIncompleteField(), 5);
    w.Type("９");
    EXPECT_EQ(w.entry.FirstIncompleteField(), 0);
    w.Type("y1 取消 dist");
    EXPECT_EQ(w.entry.FirstIncompleteField(), 2);
    const int before = w.invalidations;
    w.entry.SelectField(2, w.entry.Keypad.BtnKettei.get());
    EXPECT_EQ(w.Selection(), "01000MRMMM");
    EXPECT_EQ(w.entry.InputTarget, 2);
    EXPECT_EQ(w.invalidations, before + 1);
}

TEST(SyotenReplay, LongMixedSequence)
{
    SyotenWindow w;
    w.Type("√ － ３ y1 － ０ √ F2 ５ － y2 √ √ ２ dist ７ 和＝ ３ － ４ ５ ． ＋ x2 取消 √ x1 ２ 差＝ F1 －");
    const entry::SyotenFields& f = w.entry.Fields;
    // The root shown on F2's x went with the next digit, into F1's x.
    EXPECT_EQ((std::array{w.entry.LblX1Zahyo->Caption(), w.entry.LblY1Zahyo->Caption(),
                          w.entry.LblX2Zahyo->Caption(), w.entry.LblY2Zahyo->Caption(), w.entry.LblKyori->Caption()}),
              (std::array<std::string, 5>{" －", " ０", "√", " －√２", " 和＝５"}));
    EXPECT_EQ((std::array{f.Focus1XState, f.Focus1YState, f.Focus2XState, f.Focus2YState, f.DistanceState}),
              (std::array{9, 9, 0, 9, 8}));
    EXPECT_EQ((std::array{Bits(f.Focus1X), Bits(f.Focus1Y), Bits(f.Focus2X), Bits(f.Focus2Y)}),
              (std::array{0x3FB504F3u, 0u, Bits(5.0f), 0xBFB504F3u}));
    EXPECT_EQ((std::array{f.DistanceKind, f.DistanceValue}), (std::array{1, 5}));
    EXPECT_EQ(w.entry.InputTarget, 1);
    EXPECT_EQ(w.entry.PendingSign + w.entry.PendingRoot, "－");
    EXPECT_EQ(w.Selection(), "10000RMMMM");
    EXPECT_EQ(w.invalidations, 5);
}

} // namespace
