// The windows on a desktop with a mouse and a keyboard: real message boxes
// end any press in progress and never stack or come back, and the zoom bar
// and the push buttons answer the keys as on the platform the program was
// designed for.

#include "activities/syoten_form.h"
#include "toolkit/qt/native.h"

#include "support/box_closer.h"
#include "support/syoten_driver.h"
#include "support/scroll_driver.h"

#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace activities;
using box_test::BoxCloser;
using box_test::CloseBy;

namespace {

const std::string kDiagonal = "２定点が斜めの場合の描画機能は本プログラムにはありません。\n"
                              "２定点が水平または垂直の場合のみ描画機能は使用できます。";

// The two points window with diagonal foci and the curve switched on, so
// that every repaint of the plane raises the message; from here on the
// message box is the real one.
struct Diagonal : form_test::SyotenDriver {
    Diagonal()
    {
        form_test::MessageLog seam;
        Type("x1 １ y1 ２ x2 ３ y2 ４ dist 和＝ ５ 決定");
        PressPlane(408, 302);  // the sum is 5.00 here
        PressPlane(408, 302);
        Type("graph");
        EXPECT_EQ(seam.texts, std::vector<std::string>{"２定点が斜めの場合の描画機能は本プログラムにはありません。\r\n"
                                                       "２定点が水平または垂直の場合のみ描画機能は使用できます。"});
    }
    QWidget* Bar() const { return tk::AsWidget(form.ScrollBar1->NativeWidget()); }
    QPoint BarPoint(QStyle::SubControl which) const { return scroll_test::BarPoint(*form.ScrollBar1, which); }
};

} // namespace

// A press on an arrow or in the trough raises the message from its first
// step; the box takes the press, so the bar does not repeat behind it, and
// the release that follows adds nothing.
TEST(ModalBox, AHeldArrowOrTroughGivesOneMessageThenNone)
{
    for (const QStyle::SubControl part : {QStyle::SC_ScrollBarAddLine, QStyle::SC_ScrollBarAddPage,
                                          QStyle::SC_ScrollBarSubLine, QStyle::SC_ScrollBarSubPage}) {
        Diagonal w;
        const int start = w.form.ScrollBar1->Position();
        const bool right = part == QStyle::SC_ScrollBarAddLine || part == QStyle::SC_ScrollBarAddPage;
        const QPoint at = w.BarPoint(part);
        // Held well past the bar's repeat delay while the box is open.
        BoxCloser closer([](int) { return std::pair{CloseBy::Mouse, 800}; });
        QTest::mousePress(w.Bar(), Qt::LeftButton, Qt::NoModifier, at);
        QTest::qWait(300);
        QTest::mouseRelease(w.Bar(), Qt::LeftButton, Qt::NoModifier, at);
        QTest::qWait(300);
        EXPECT_EQ(closer.texts, std::vector<std::string>{kDiagonal}) << "part " << part;
        EXPECT_EQ(closer.mostOpen, 1);
        EXPECT_EQ(w.form.ScrollBar1->Position(), start + (right ? 1 : -1)) << "one step, part " << part;
        EXPECT_TRUE(w.form.CurveShown);
    }
}

// Dragging the thumb raises the message at the first step; the drag ends
// there, and moving the mouse further scrolls no more.
TEST(ModalBox, ADraggedThumbIsLetGoWhenTheMessageComes)
{
    Diagonal w;
    const int start = w.form.ScrollBar1->Position();
    const QPoint thumb = w.BarPoint(QStyle::SC_ScrollBarSlider);
    BoxCloser closer;
    QTest::mousePress(w.Bar(), Qt::LeftButton, Qt::NoModifier, thumb);
    for (int dx = 10; dx <= 60; dx += 10)
        QTest::mouseMove(w.Bar(), thumb + QPoint(dx, 0));
    QTest::mouseRelease(w.Bar(), Qt::LeftButton, Qt::NoModifier, thumb + QPoint(60, 0));
    QTest::qWait(100);
    EXPECT_EQ(closer.texts.size(), 1u);
    EXPECT_GT(w.form.ScrollBar1->Position(), start);
    EXPECT_LT(w.form.ScrollBar1->Position(), start + 5) << "only the first step of the drag";
}

// However the box is closed, the release of the closing key reaches the
// focused bar without ending a scroll, so the box does not come back; nor
// does the Tab that brings the focus to the bar.
TEST(ModalBox, ClosingWithTheKeyboardDoesNotBringItBack)
{
    for (const CloseBy by : {CloseBy::Return, CloseBy::Escape, CloseBy::Space, CloseBy::Mouse}) {
        Diagonal w;
        w.Bar()->setFocus(Qt::OtherFocusReason);
        BoxCloser closer([by](int) { return std::pair{by, 30}; });
        QTest::keyPress(w.Bar(), Qt::Key_Right);
        QTest::qWait(50);
        ASSERT_NE(BoxCloser::FocusOrWindow(), nullptr);
        QTest::keyRelease(BoxCloser::FocusOrWindow(), Qt::Key_Right);
        QTest::qWait(200);
        EXPECT_EQ(closer.texts.size(), 1u) << "closed by " << static_cast<int>(by);
        EXPECT_EQ(closer.mostOpen, 1);
        EXPECT_FALSE(closer.raisedByClosing);
        EXPECT_EQ(QApplication::focusWidget(), w.Bar());
    }
    Diagonal w;
    QWidget* before = w.Bar()->previousInFocusChain();
    before->setFocus(Qt::TabFocusReason);
    BoxCloser closer;
    QTest::keyPress(before, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), w.Bar());
    QTest::keyRelease(w.Bar(), Qt::Key_Tab);
    QTest::qWait(100);
    EXPECT_TRUE(closer.texts.empty()) << "the Tab's release ends no scroll";
}

// A repaint raised while a box is open (here from inside the box) shows no
// second box.
TEST(ModalBox, NoSecondBoxWhileOneIsOpen)
{
    Diagonal w;
    int inner = 0;
    QTimer repaintBehind;
    QObject::connect(&repaintBehind, &QTimer::timeout, [&] {
        if (!BoxCloser::OpenBoxes().empty() && inner < 5) {
            ++inner;
            w.form.PaintBox1Paint(nullptr);
        }
    });
    repaintBehind.start(20);
    BoxCloser closer([](int) { return std::pair{CloseBy::Return, 300}; });
    w.PressPlane(300, 300);
    QTest::qWait(100);
    EXPECT_EQ(inner, 5) << "repaints ran while the box was open";
    EXPECT_EQ(closer.texts.size(), 1u);
    EXPECT_EQ(closer.mostOpen, 1);
}
