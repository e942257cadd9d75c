// The toolkit's platform semantics: the exclusive all-up toggle group, the
// scroll notification, activation, the paint surface and the message box.

#include "toolkit/application.h"
#include "toolkit/qt/native.h"
#include "toolkit/button.h"
#include "toolkit/design_scale.h"
#include "toolkit/form.h"
#include "toolkit/paintbox.h"
#include "toolkit/scrollbar.h"
#include "toolkit/speedbutton.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTimer>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QWidget>

#include "support/design_pixels.h"
#include "support/scroll_driver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

using namespace tk;

namespace {

void Click(const Control& c, Qt::MouseButton button = Qt::LeftButton, QPoint at = {})
{
    QWidget* w = tk::AsWidget(c.NativeWidget());
    QTest::mouseClick(w, button, Qt::NoModifier, at.isNull() ? w->rect().center() : at);
}

void ProcessEvents() { QApplication::processEvents(); }

struct Toggles {
    Form form;
    std::vector<std::unique_ptr<SpeedButton>> members;
    std::unique_ptr<SpeedButton> loose;
    std::vector<std::pair<int, bool>> clicks;  // member index, Down() seen by the handler
    Toggles()
    {
        for (int i = 0; i < 3; ++i) {
            members.push_back(std::make_unique<SpeedButton>(form, "t", 1));
            members.back()->SetBounds(10 + 60 * i, 10, 50, 20);
            members.back()->OnClick = [this, i](Object*) { clicks.push_back({i, members[i]->Down()}); };
        }
        loose = std::make_unique<SpeedButton>(form, "loose", 0);
        loose->SetBounds(10, 40, 50, 20);
        loose->OnClick = [this](Object*) { clicks.push_back({-1, loose->Down()}); };
        form.SetWidth(300);
        form.SetHeight(100);
        form.Show();
    }
    std::vector<bool> Downs() const
    {
        std::vector<bool> d;
        for (const auto& m : members)
            d.push_back(m->Down());
        return d;
    }
};

} // namespace

TEST(SpeedButtonGroup, ClicksFollowTheExclusiveAllUpRule)
{
    Toggles t;
    Click(*t.members[0]);
    EXPECT_EQ(t.Downs(), (std::vector<bool>{true, false, false}));
    Click(*t.members[2]);
    EXPECT_EQ(t.Downs(), (std::vector<bool>{false, false, true})) << "the other member is raised";
    Click(*t.members[2]);
    EXPECT_EQ(t.Downs(), (std::vector<bool>{false, false, false})) << "all may be up";
    // The handler runs after the change and sees the new state.
    EXPECT_EQ(t.clicks, (std::vector<std::pair<int, bool>>{{0, true}, {2, true}, {2, false}}));
}

TEST(SpeedButtonGroup, CodeChangesRaiseOthersButRunNoHandler)
{
    Toggles t;
    t.members[1]->SetDown(true);
    t.members[0]->SetDown(true);
    EXPECT_EQ(t.Downs(), (std::vector<bool>{true, false, false}));
    t.members[0]->SetDown(false);
    EXPECT_EQ(t.Downs(), (std::vector<bool>{false, false, false}));
    t.members[2]->SetDown(true);
    t.members[1]->SetDown(false);  // raising touches only that member
    EXPECT_EQ(t.Downs(), (std::vector<bool>{false, false, true}));
    EXPECT_TRUE(t.clicks.empty());
}

TEST(SpeedButtonGroup, AButtonOutsideTheGroupNeverStaysDownNorTakesFocus)
{
    Toggles t;
    t.members[1]->SetDown(true);
    Click(*t.loose);
    EXPECT_FALSE(t.loose->Down());
    EXPECT_EQ(t.Downs(), (std::vector<bool>{false, true, false})) << "the group is untouched";
    EXPECT_EQ(t.clicks, (std::vector<std::pair<int, bool>>{{-1, false}}));
    EXPECT_EQ(tk::AsWidget(t.members[0]->NativeWidget())->focusPolicy(), Qt::NoFocus);
}

TEST(SpeedButtonGroup, CaptionColourIsIndependentOfTheState)
{
    Toggles t;
    t.members[0]->SetFontColor(clMaroon);
    Click(*t.members[0]);
    EXPECT_EQ(t.members[0]->GetFont().color, clMaroon);
    t.members[0]->SetFontColor(clRed);
    Click(*t.members[0]);
    EXPECT_FALSE(t.members[0]->Down());
    EXPECT_EQ(t.members[0]->GetFont().color, clRed);
}

namespace {

struct Bar {
    Form form;
    ScrollBar bar{form};
    struct Seen {
        ScrollCode code;
        int position;
        int stored;
    };
    std::vector<Seen> seen;
    Bar()
    {
        bar.SetBounds(0, 0, 569, 17);
        bar.SetRange(0, 100);
        bar.SetSteps(1, 1);
        bar.SetPosition(51);
        bar.OnScroll = [this](Object*, ScrollCode code, int& pos) { seen.push_back({code, pos, bar.Position()}); };
        form.SetWidth(600);
        form.SetHeight(40);
        form.Show();
    }
    QPoint Arrow(QStyle::SubControl which) const { return scroll_test::BarPoint(bar, which); }
};

} // namespace

TEST(ScrollBar, EveryNotificationCarriesTheNewPositionBeforeTheBarStoresIt)
{
    Bar b;
    Click(b.bar, Qt::LeftButton, b.Arrow(QStyle::SC_ScrollBarAddLine));
    ASSERT_GE(b.seen.size(), 2u);
    EXPECT_EQ(b.seen[0].code, ScrollCode::LineDown);
    EXPECT_EQ(b.seen[0].position, 52);
    EXPECT_EQ(b.seen[0].stored, 51) << "the handler runs before the bar stores the position";
    EXPECT_EQ(b.seen.back().code, ScrollCode::EndScroll);
    EXPECT_EQ(b.bar.Position(), 52);

    b.seen.clear();
    Click(b.bar, Qt::LeftButton, b.Arrow(QStyle::SC_ScrollBarSubLine));
    ASSERT_FALSE(b.seen.empty());
    EXPECT_EQ(b.seen[0].code, ScrollCode::LineUp);
    EXPECT_EQ(b.seen[0].position, 51);
    EXPECT_EQ(b.seen[0].stored, 52);
}

TEST(ScrollBar, PositionsAreClampedAndCodeChangesAreSilent)
{
    Bar b;
    b.bar.SetPosition(100);
    EXPECT_TRUE(b.seen.empty());
    Click(b.bar, Qt::LeftButton, b.Arrow(QStyle::SC_ScrollBarAddLine));
    for (const auto& s : b.seen)
        EXPECT_EQ(s.position, 100);
    QTest::keyClick(tk::AsWidget(b.bar.NativeWidget()), Qt::Key_Home);
    ASSERT_FALSE(b.seen.empty());
    EXPECT_EQ(b.bar.Position(), 0);
}

TEST(ScrollBar, DraggingTheThumbReportsEveryStep)
{
    Bar b;
    QWidget* w = tk::AsWidget(b.bar.NativeWidget());
    const QPoint thumb = b.Arrow(QStyle::SC_ScrollBarSlider);
    QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, thumb);
    for (int dx = 10; dx <= 50; dx += 10)
        QTest::mouseMove(w, thumb + QPoint(dx, 0));
    QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, thumb + QPoint(50, 0));
    int tracks = 0;
    for (const auto& s : b.seen) {
        if (s.code == ScrollCode::Track) {
            ++tracks;
            EXPECT_GT(s.position, s.stored);
        }
    }
    EXPECT_GE(tracks, 3);
    EXPECT_EQ(b.seen.back().code, ScrollCode::EndScroll);
}

namespace {

struct TwoForms {
    Form a, b;
    int activatedA = 0, activatedB = 0;
    TwoForms()
    {
        a.OnActivate = [this](Object*) { ++activatedA; };
        b.OnActivate = [this](Object*) { ++activatedB; };
        for (Form* f : {&a, &b}) {
            f->SetWidth(200);
            f->SetHeight(100);
        }
    }
};

void SendActivate(Form& f)
{
    QEvent e(QEvent::WindowActivate);
    QCoreApplication::sendEvent(tk::AsWidget(f.NativeWidget()), &e);
}

} // namespace

TEST(Activation, RaisedOncePerChangeOfFormAndSynchronouslyInShow)
{
    TwoForms t;
    t.a.Show();
    EXPECT_EQ(t.activatedA, 1) << "raised before Show returns";
    t.a.Show();
    SendActivate(t.a);
    ProcessEvents();
    EXPECT_EQ(t.activatedA, 1) << "the same form again is no change";
    t.b.Show();
    EXPECT_EQ(t.activatedB, 1);
    EXPECT_EQ(Application::Instance().ActiveForm(), &t.b);
}

TEST(Activation, AStaleActivationAfterShowDoesNotTakeTheFocusBack)
{
    TwoForms t;
    t.a.Show();
    t.b.Show();
    SendActivate(t.a);  // requested before b was shown, delivered after
    EXPECT_EQ(t.activatedA, 1);
    EXPECT_EQ(Application::Instance().ActiveForm(), &t.b);
    SendActivate(t.b);
    SendActivate(t.a);  // once b's own activation arrived, a real one counts
    EXPECT_EQ(t.activatedA, 2);
}

TEST(Activation, AClickInAnInactiveFormActivatesItBeforeTheClickIsHandled)
{
    TwoForms t;
    Button button(t.a, "go");
    button.SetBounds(0, 0, 50, 20);
    int activationsSeenByClick = -1;
    button.OnClick = [&](Object*) { activationsSeenByClick = t.activatedA; };
    t.a.Show();
    t.b.Show();
    Click(button);
    EXPECT_EQ(t.activatedA, 2);
    EXPECT_EQ(activationsSeenByClick, 2);
}

TEST(Activation, AClosedMessageBoxGivesTheFocusBackWithoutActivation)
{
    TwoForms t;
    t.a.Show();
    std::string seenTitle, seenText;
    Application::Instance().SetMessageHandler([&](const std::string& title, const std::string& text) {
        seenTitle = title;
        seenText = text;
    });
    Application::Instance().MessageBox("一行目\r\n二行目");
    SendActivate(t.a);  // what the window system sends when the box closes
    Application::Instance().SetMessageHandler({});
    EXPECT_EQ(seenTitle, "Orvalis");
    EXPECT_EQ(seenText, "一行目\r\n二行目");
    EXPECT_EQ(t.activatedA, 1);
}

TEST(Form, TheCloseBoxOfAFormThatIsNotTheMainFormHidesIt)
{
    TwoForms t;
    t.b.Show();
    tk::AsWidget(t.b.NativeWidget())->close();
    EXPECT_FALSE(t.b.Visible());
    EXPECT_NE(Application::Instance().ActiveForm(), &t.b);
}

TEST(Form, BoundsAreTheOuterSizesAndCentringKeepsTheWindowOnScreen)
{
    Form f;
    f.SetTop(0);
    f.SetLeft(0);
    f.SetWidth(1024);
    f.SetHeight(768);
    f.SetCenteredOnFirstShow(true);
    f.Show();
    EXPECT_GE(f.Left(), 0);
    EXPECT_GE(f.Top(), 0);
    EXPECT_EQ(f.Width(), 1024);
    EXPECT_EQ(f.Height(), 768);
}

namespace {

// How many device pixels of the shown client differ from what the window
// should show: `inside` over its canvas area (design pixels from the
// top-left corner), `outside` everywhere else.
int ShownDiffers(Form& f, int width, int height, TColor inside, TColor outside)
{
    ProcessEvents();
    const QImage shown = tk::AsWidget(f.NativeWidget())->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const DeviceGrid grid(shown.devicePixelRatio());
    int differ = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) {
            const QRgb p = shown.pixel(x, y);
            const TColor seen = RGB(qRed(p), qGreen(p), qBlue(p));
            differ += seen != (x < grid.Edge(width) && y < grid.Edge(height) ? inside : outside) ? 1 : 0;
        }
    return differ;
}

} // namespace

TEST(Form, ItsCanvasDrawsOnItsAreaAndTheRestOfTheClientShowsItsColour)
{
    Form f;
    f.SetWidth(240);
    f.SetHeight(120);
    f.SetColor(clMoneyGreen);
    f.SetCanvasExtent(70, 25);
    f.Show();
    Canvas& c = f.GetCanvas();
    EXPECT_EQ(ShownDiffers(f, 70, 25, clMoneyGreen, clMoneyGreen), 0) << "a fresh area shows the colour";
    // A fill across the whole client reaches the canvas's area only.
    c.SetBrushColor(clRed);
    c.FillRect({0, 0, 1000, 1000});
    EXPECT_EQ(ShownDiffers(f, 70, 25, clRed, clMoneyGreen), 0) << "after a fill beyond the area";
    tk::AsWidget(f.NativeWidget())->repaint();
    EXPECT_EQ(ShownDiffers(f, 70, 25, clRed, clMoneyGreen), 0) << "the drawing is retained";
    // A new colour covers the drawing and the rest alike.
    f.SetColor(clYellow);
    EXPECT_EQ(ShownDiffers(f, 70, 25, clYellow, clYellow), 0) << "after a new colour";
    // Hidden and shown again, larger: the drawing stays where it was.
    c.SetBrushColor(clBlue);
    c.FillRect({0, 0, 30, 10});
    f.Hide();
    f.SetWidth(300);
    f.Show();
    EXPECT_EQ(ShownDiffers(f, 30, 10, clBlue, clYellow), 0) << "shown again";
}

TEST(Form, AFormWithoutACanvasAreaDrawsNothingOfItsOwn)
{
    Form f;
    f.SetWidth(200);
    f.SetHeight(100);
    f.SetColor(clMoneyGreen);
    f.Show();
    Canvas& c = f.GetCanvas();
    c.SetBrushColor(clRed);
    c.FillRect({0, 0, 200, 100});
    c.TextRect({0, 0, 200, 100}, 0, 0, "点Ｐ");
    EXPECT_EQ(c.Width(), 0);
    EXPECT_EQ(ShownDiffers(f, 0, 0, clRed, clMoneyGreen), 0);
}

TEST(Form, ControlsTakeTheirFacesWhenTheirWindowIsAboutToBeShown)
{
    const auto family = [](const Control& c) { return tk::AsWidget(c.NativeWidget())->font().family().toStdString(); };
    Form f;
    f.SetWidth(300);
    f.SetHeight(200);
    Button key(f, "決定");
    key.SetBounds(10, 10, 86, 51);
    key.SetFont({"ＭＳ 明朝", 21, clWindowText, true});
    key.Hide();
    ProcessEvents();
    EXPECT_NE(family(key), "ＭＳ 明朝") << "not read for a window nobody has seen";
    EXPECT_EQ(key.GetFont().name, "ＭＳ 明朝");

    f.Show();
    EXPECT_EQ(family(key), "ＭＳ 明朝") << "also for a control that is hidden";
    EXPECT_TRUE(tk::AsWidget(key.NativeWidget())->font().bold());
    EXPECT_EQ(tk::AsWidget(key.NativeWidget())->font().pixelSize(), static_cast<int>(std::lround(21 * DesignScale())));
    // While the window is shown a new face reaches the widget at once.
    key.SetFont({"ＭＳ Ｐゴシック", 12, clWindowText, false});
    EXPECT_EQ(family(key), "ＭＳ Ｐゴシック");
    // Set while the window is hidden, it waits for the next showing.
    f.Hide();
    key.SetFont({"ＭＳ Ｐ明朝", 19, clMaroon, false});
    EXPECT_EQ(family(key), "ＭＳ Ｐゴシック");
    f.Show();
    EXPECT_EQ(family(key), "ＭＳ Ｐ明朝");
}

TEST(PaintBox, OnPaintComesFromTheEventLoopAfterShowReturns)
{
    Form f;
    PaintBox box(f);
    box.SetBounds(8, 29, 100, 100);
    int paints = 0;
    box.OnPaint = [&](Object* sender) {
        EXPECT_EQ(sender, &box);
        EXPECT_EQ(box.GetCanvas().BrushColor(), clWhite);
        ++paints;
    };
    f.Show();
    EXPECT_EQ(paints, 0) << "not inside Show";
    ProcessEvents();
    EXPECT_EQ(paints, 1);
    tk::AsWidget(box.NativeWidget())->repaint();  // the window system asks again: the image answers
    ProcessEvents();
    EXPECT_EQ(paints, 1);
}

TEST(PaintBox, AHiddenBoxLetsItsImageGoAndShowsItsDrawingAgainWhenShown)
{
    Form f;
    f.SetWidth(200);
    f.SetHeight(200);
    PaintBox box(f);
    box.SetBounds(8, 29, 100, 100);
    Canvas& c = box.GetCanvas();
    int paints = 0;
    box.OnPaint = [&](Object*) {
        ++paints;
        c.FillRect({0, 0, 100, 100});
        c.SetPenColor(clRed);
        c.MoveTo(10, 50);
        c.LineTo(90, 50);
    };
    // The red pixels of the box as the window shows it, in device pixels
    // from the box's corner.
    const auto shownRed = [&] {
        ProcessEvents();
        const QImage shown = tk::AsWidget(f.NativeWidget())->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const DeviceGrid grid(shown.devicePixelRatio());
        std::vector<QPoint> red;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                if ((shown.pixel(x, y) & 0xFFFFFF) == 0xFF0000)
                    red.emplace_back(x - static_cast<int>(grid.Edge(8)), y - static_cast<int>(grid.Edge(29)));
        return red;
    };
    f.Show();
    const std::vector<QPoint> first = shownRed();
    ASSERT_EQ(paints, 1);
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first.front().y(), static_cast<int>(c.Grid().Edge(50)));

    f.Hide();
    EXPECT_EQ(c.DeviceWidth(), 0) << "no image is held while hidden";
    c.MoveTo(0, 0);
    c.LineTo(99, 99);  // drawing while hidden has no effect and is safe
    EXPECT_EQ(c.Pixel(50, 50), clBlack);

    f.Show();
    EXPECT_EQ(shownRed(), first) << "OnPaint drew the same again";
    EXPECT_EQ(paints, 2);
    EXPECT_EQ(c.DeviceWidth(), static_cast<int>(c.Grid().Edge(100)));
}

TEST(PaintBox, MouseDownForEveryButtonAtTheClickedPixel)
{
    Form f;
    PaintBox box(f);
    box.SetBounds(8, 29, 100, 100);
    f.Show();
    struct Down {
        MouseButton button;
        ShiftState shift;
        int x, y;
    };
    std::vector<Down> downs;
    box.OnMouseDown = [&](Object*, MouseButton b, ShiftState s, int x, int y) { downs.push_back({b, s, x, y}); };
    design_test::Click(tk::AsWidget(box.NativeWidget()), {3, 4}, Qt::LeftButton);
    design_test::Click(tk::AsWidget(box.NativeWidget()), {50, 60}, Qt::RightButton, Qt::ShiftModifier);
    design_test::Click(tk::AsWidget(box.NativeWidget()), {99, 0}, Qt::MiddleButton, Qt::ControlModifier);
    design_test::DoubleClick(tk::AsWidget(box.NativeWidget()), {7, 7});
    ASSERT_GE(downs.size(), 4u);
    EXPECT_EQ(downs[0].button, MouseButton::Left);
    EXPECT_EQ(downs[0].x, 3);
    EXPECT_EQ(downs[0].y, 4);
    EXPECT_EQ(downs[1].button, MouseButton::Right);
    EXPECT_TRUE(downs[1].shift & ssShift);
    EXPECT_EQ(downs[1].x, 50);
    EXPECT_EQ(downs[2].button, MouseButton::Middle);
    EXPECT_TRUE(downs[2].shift & ssCtrl);
    EXPECT_EQ(downs.back().x, 7);
}

// The keys of a focused bar step it the way they point, each with one
// notification carrying the new position before the bar stores it; the
// release ends the scroll.
TEST(ScrollBar, KeysStepTheWayTheyPoint)
{
    const struct {
        Qt::Key key;
        ScrollCode code;
        int position;
    } cases[] = {
        {Qt::Key_Right, ScrollCode::LineDown, 52}, {Qt::Key_Down, ScrollCode::LineDown, 52},
        {Qt::Key_Left, ScrollCode::LineUp, 50},    {Qt::Key_Up, ScrollCode::LineUp, 50},
        {Qt::Key_PageDown, ScrollCode::PageDown, 52}, {Qt::Key_PageUp, ScrollCode::PageUp, 50},
        {Qt::Key_Home, ScrollCode::Top, 0},        {Qt::Key_End, ScrollCode::Bottom, 100},
    };
    for (const auto& c : cases) {
        Bar b;
        QWidget* w = tk::AsWidget(b.bar.NativeWidget());
        w->setFocus(Qt::OtherFocusReason);
        QTest::keyPress(w, c.key);
        ASSERT_EQ(b.seen.size(), 1u) << c.key;
        EXPECT_EQ(b.seen[0].code, c.code) << c.key;
        EXPECT_EQ(b.seen[0].position, c.position) << c.key;
        EXPECT_EQ(b.seen[0].stored, 51) << c.key;
        EXPECT_EQ(b.bar.Position(), c.position) << c.key;
        QTest::keyRelease(w, c.key);
        ASSERT_EQ(b.seen.size(), 2u) << c.key;
        EXPECT_EQ(b.seen[1].code, ScrollCode::EndScroll);
    }
}

// Only the release of a key the bar handled ends a scroll: not one whose
// press went elsewhere, nor a key the bar does not use.
TEST(ScrollBar, AReleaseWithoutItsPressEndsNothing)
{
    Bar b;
    QWidget* w = tk::AsWidget(b.bar.NativeWidget());
    w->setFocus(Qt::OtherFocusReason);
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape, Qt::Key_Tab, Qt::Key_Right, Qt::Key_Space})
        QTest::keyRelease(w, key);
    QTest::keyClick(w, Qt::Key_A);
    EXPECT_TRUE(b.seen.empty());
    // Nor does a mouse release after a press that began elsewhere.
    QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, b.Arrow(QStyle::SC_ScrollBarAddLine));
    EXPECT_TRUE(b.seen.empty());
}

// The bar's menu speaks Japanese, and each item scrolls through the
// notification with its code.
TEST(ScrollBar, ItsMenuIsJapaneseAndScrollsThroughTheNotification)
{
    const struct {
        const char* item;
        ScrollCode code;
        int position;
    } cases[] = {{"右端", ScrollCode::Bottom, 100},          {"左端", ScrollCode::Top, 0},
                 {"1 ページ右へ", ScrollCode::PageDown, 52}, {"1 ページ左へ", ScrollCode::PageUp, 50},
                 {"右へスクロール", ScrollCode::LineDown, 52}, {"左へスクロール", ScrollCode::LineUp, 50},
                 {"ここへスクロール", ScrollCode::Position, 100}};
    for (const auto& c : cases) {
        Bar b;
        QWidget* w = tk::AsWidget(b.bar.NativeWidget());
        QStringList texts;
        QTimer::singleShot(50, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu)
                return;
            for (QAction* a : menu->actions()) {
                if (!a->isSeparator())
                    texts << a->text();
                if (a->text() == QString::fromUtf8(c.item))
                    a->trigger();
            }
            menu->close();
        });
        const QPoint at(w->width() - 20, w->height() / 2);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, w->mapToGlobal(at));
        QApplication::sendEvent(w, &event);
        for (const QString& t : texts)
            for (const QChar ch : t)
                EXPECT_FALSE(ch.isLetter() && ch.unicode() < 0x80) << t.toStdString();
        ASSERT_EQ(texts.size(), 7);
        ASSERT_EQ(b.seen.size(), 1u) << c.item;
        EXPECT_EQ(b.seen[0].code, c.code) << c.item;
        EXPECT_EQ(b.seen[0].position, c.position) << c.item;
        EXPECT_EQ(b.seen[0].stored, 51) << c.item;
        EXPECT_EQ(b.bar.Position(), c.position) << c.item;
    }
}

// A focused push button is pressed by Return and Enter as well as by Space.
// The bar and the buttons show which of them has the focus.
TEST(KeyboardFocus, ReturnPressesAFocusedButtonAndTheFocusShows)
{
    Form form;
    form.SetWidth(300);
    form.SetHeight(100);
    Button button(form, "決定");
    button.SetBounds(10, 10, 80, 40);
    ScrollBar bar(form);
    bar.SetBounds(100, 10, 180, 17);
    int clicks = 0;
    button.OnClick = [&](Object*) { ++clicks; };
    form.Show();
    QWidget* b = tk::AsWidget(button.NativeWidget());
    b->setFocus(Qt::TabFocusReason);
    QTest::keyClick(b, Qt::Key_Return);
    QTest::keyClick(b, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(b, Qt::Key_Space);
    EXPECT_EQ(clicks, 3);
    QTest::keyRelease(b, Qt::Key_Return);
    EXPECT_EQ(clicks, 3) << "a release alone presses nothing";

    for (QWidget* w : {b, tk::AsWidget(bar.NativeWidget())}) {
        w->setFocus(Qt::TabFocusReason);
        ProcessEvents();
        const QImage focused = w->grab().toImage();
        tk::AsWidget(form.NativeWidget())->setFocus(Qt::TabFocusReason);
        w->clearFocus();
        ProcessEvents();
        const QImage unfocused = w->grab().toImage();
        EXPECT_NE(focused, unfocused) << w->metaObject()->className();
    }
}

// A held arrow steps at once, then repeats until it is let go; a held
// trough pages until the thumb reaches the pointer. Only the left button
// scrolls.
TEST(ScrollBar, AHeldArrowOrTroughRepeatsAndOnlyTheLeftButtonScrolls)
{
    {
        Bar b;
        QWidget* w = tk::AsWidget(b.bar.NativeWidget());
        const QPoint arrow = b.Arrow(QStyle::SC_ScrollBarAddLine);
        QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, arrow);
        QTest::qWait(600);  // well past the repeat delay
        QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, arrow);
        const std::size_t seen = b.seen.size();
        QTest::qWait(150);
        EXPECT_EQ(b.seen.size(), seen) << "nothing after the release";
        ASSERT_GE(seen, 4u) << "the press, at least two repeats and the end";
        for (std::size_t i = 0; i + 1 < seen; ++i)
            EXPECT_EQ(b.seen[i].code, ScrollCode::LineDown);
        EXPECT_EQ(b.seen.back().code, ScrollCode::EndScroll);
        EXPECT_EQ(b.bar.Position(), 51 + static_cast<int>(seen) - 1);
    }
    {
        Bar b;
        b.bar.SetSteps(1, 5);
        QWidget* w = tk::AsWidget(b.bar.NativeWidget());
        const QPoint trough = b.Arrow(QStyle::SC_ScrollBarAddPage);
        QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, trough);
        QTest::qWait(1500);
        QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, trough);
        EXPECT_GT(b.bar.Position(), 56);
        EXPECT_LT(b.bar.Position(), 100) << "the trough stops where the pointer is";
        auto* q = static_cast<QScrollBar*>(w);
        QStyleOptionSlider opt;
        opt.initFrom(q);
        opt.orientation = Qt::Horizontal;
        opt.minimum = q->minimum();
        opt.maximum = q->maximum();
        opt.sliderPosition = opt.sliderValue = q->value();
        opt.pageStep = q->pageStep();
        opt.subControls = QStyle::SC_All;
        EXPECT_EQ(q->style()->hitTestComplexControl(QStyle::CC_ScrollBar, &opt, trough, q), QStyle::SC_ScrollBarSlider)
            << "the thumb is under the pointer";
    }
    Bar b;
    QWidget* w = tk::AsWidget(b.bar.NativeWidget());
    for (Qt::MouseButton button : {Qt::MiddleButton, Qt::BackButton})
        QTest::mouseClick(w, button, Qt::NoModifier, b.Arrow(QStyle::SC_ScrollBarAddLine));
    EXPECT_TRUE(b.seen.empty());
    EXPECT_EQ(b.bar.Position(), 51);
}
