// The test driver itself, through the toolkit alone: what it refuses, where
// its presses land at the running device scale, and what its bar and box
// handling give the program.

#include "toolkit/application.h"
#include "toolkit/button.h"
#include "toolkit/driver.h"
#include "toolkit/form.h"
#include "toolkit/paintbox.h"
#include "toolkit/scrollbar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

using namespace tk;

namespace {

// A window with a button, a paint box at an odd place and a zoom-like bar.
struct Window {
    Form form;
    Button button{form, "押す"};
    PaintBox box{form};
    ScrollBar bar{form};
    int clicks = 0;
    std::vector<Point> downs;
    std::vector<ScrollCode> codes;

    Window()
    {
        button.SetBounds(10, 10, 80, 30);
        button.OnClick = [this](Object*) { ++clicks; };
        box.SetBounds(101, 47, 33, 21);
        box.OnMouseDown = [this](Object*, MouseButton, ShiftState, int x, int y) { downs.push_back({x, y}); };
        bar.SetBounds(10, 100, 569, 17);
        bar.SetRange(0, 100);
        bar.SetSteps(1, 10);
        bar.SetPosition(50);
        bar.OnScroll = [this](Object*, ScrollCode code, int&) { codes.push_back(code); };
        form.SetWidth(600);
        form.SetHeight(160);
        form.Show();
        drive::ProcessEvents();
    }
};

} // namespace

TEST(Driver, AHiddenControlCannotBePressed)
{
    Window w;
    ASSERT_TRUE(drive::Press(w.button));
    EXPECT_EQ(w.clicks, 1);
    w.button.Hide();
    EXPECT_FALSE(drive::Shown(w.button));
    EXPECT_FALSE(drive::Press(w.button));
    EXPECT_FALSE(drive::Hold(w.button));
    EXPECT_EQ(w.clicks, 1) << "the hidden button was clicked";
    w.box.Hide();
    EXPECT_FALSE(drive::Click(w.box, {0, 0}));
    EXPECT_TRUE(w.downs.empty());
    w.bar.Hide();
    EXPECT_FALSE(drive::Press(w.bar, drive::BarPart::RightArrow));
    EXPECT_FALSE(drive::ChooseFromMenu(w.bar, drive::BarMenuItem::StepRight));
    EXPECT_TRUE(w.codes.empty());
    // Nor one in a window that is not shown.
    w.button.Show();
    w.form.Hide();
    EXPECT_FALSE(drive::Press(w.button));
    EXPECT_EQ(w.clicks, 1);
}

// Every design pixel of a box at an odd place answers as itself, its
// corners included, at whatever device scale the test runs.
TEST(Driver, APressLandsOnTheDesignPixelItNames)
{
    Window w;
    std::vector<Point> asked;
    for (int y : {0, 1, 10, 20})
        for (int x = 0; x < 33; ++x)
            asked.push_back({x, y});
    for (const Point p : asked)
        ASSERT_TRUE(drive::Click(w.box, p));
    EXPECT_EQ(w.downs, asked);
    w.downs.clear();
    ASSERT_TRUE(drive::DoubleClick(w.box, {32, 20}));
    EXPECT_EQ(w.downs, (std::vector<Point>{{32, 20}, {32, 20}})) << "the second press as a double click";
}

// Each item of the bar's menu gives one notification, and no end of scroll.
TEST(Driver, AMenuItemGivesTheBarOneNotification)
{
    const struct {
        drive::BarMenuItem item;
        ScrollCode code;
        int position;
    } cases[] = {{drive::BarMenuItem::StepRight, ScrollCode::LineDown, 51},
                 {drive::BarMenuItem::StepLeft, ScrollCode::LineUp, 49},
                 {drive::BarMenuItem::PageRight, ScrollCode::PageDown, 60},
                 {drive::BarMenuItem::PageLeft, ScrollCode::PageUp, 40},
                 {drive::BarMenuItem::RightEnd, ScrollCode::Bottom, 100},
                 {drive::BarMenuItem::LeftEnd, ScrollCode::Top, 0}};
    for (const auto& c : cases) {
        Window w;
        ASSERT_TRUE(drive::ChooseFromMenu(w.bar, c.item)) << static_cast<int>(c.item);
        EXPECT_EQ(w.codes, std::vector<ScrollCode>{c.code}) << static_cast<int>(c.item);
        EXPECT_EQ(w.bar.Position(), c.position);
    }
}

// The thumb follows the positions it is dragged to, one Track each, and is
// let go at the last.
TEST(Driver, TheThumbStandsWhereItIsDragged)
{
    Window w;
    const int positions[] = {57, 58, 59, 20, 100, 73};
    ASSERT_TRUE(drive::DragThumb(w.bar, positions));
    EXPECT_EQ(w.bar.Position(), 73);
    const auto tracks = std::count(w.codes.begin(), w.codes.end(), ScrollCode::Track);
    EXPECT_EQ(tracks, 6);
    ASSERT_FALSE(w.codes.empty());
    EXPECT_EQ(w.codes.back(), ScrollCode::EndScroll);
}

// The real box is seen with its title and text while it is open, and each
// way of closing it closes it.
TEST(Driver, TheMessageBoxIsReadAndClosedAsAUserDoes)
{
    Window w;
    Application::Instance().SetMessageHandler({});
    for (const drive::CloseBy by : {drive::CloseBy::Return, drive::CloseBy::Escape, drive::CloseBy::Space,
                                    drive::CloseBy::Mouse}) {
        std::optional<drive::Box> seen;
        std::size_t open = 0;
        bool closed = false;
        drive::Later([&] {
            seen = drive::ModalBox();
            open = drive::OpenBoxes().size();
            closed = drive::CloseBox(by);
        });
        Application::Instance().MessageBox("一行目\r\n二行目");
        ASSERT_TRUE(seen.has_value()) << static_cast<int>(by);
        EXPECT_EQ(seen->title, Application::Instance().Title());
        EXPECT_EQ(seen->text, "一行目\n二行目");
        EXPECT_EQ(open, 1u);
        EXPECT_TRUE(closed) << static_cast<int>(by);
        EXPECT_FALSE(drive::ModalBox().has_value());
        if (by == drive::CloseBy::Return || by == drive::CloseBy::Escape)
            drive::KeyRelease(by == drive::CloseBy::Return ? drive::Key::Return : drive::Key::Escape);
    }
    EXPECT_EQ(w.clicks, 0) << "no key reached the button behind the box";
}

// Tab runs through the window's controls that take the focus, and the
// focus is read back as the control.
TEST(Driver, TheFocusIsReadAsTheControl)
{
    Window w;
    drive::Focus(w.bar);
    EXPECT_EQ(drive::FocusedIn(w.form), &w.bar);
    drive::KeyClick(w.form, drive::Key::Tab);
    EXPECT_EQ(drive::FocusedIn(w.form), &w.button);
    drive::KeyClick(w.form, drive::Key::Space);
    EXPECT_EQ(w.clicks, 1) << "Space presses the focused button";
    EXPECT_EQ(drive::ActiveWindow(), &w.form);
}

// The keys that press a button press the focused one once each: Return as it
// goes down, Space as it comes up; a press on the plane leaves the focus
// where it was.
TEST(Driver, TheKeysPressTheFocusedButtonOnce)
{
    Window w;
    drive::Focus(w.button);
    ASSERT_EQ(drive::Focused(), &w.button);
    drive::KeyClick(drive::Key::Return);
    EXPECT_EQ(w.clicks, 1) << "Return";
    drive::KeyPress(drive::Key::Space);
    EXPECT_EQ(w.clicks, 1) << "Space pressed and still held";
    drive::KeyRelease(drive::Key::Space);
    EXPECT_EQ(w.clicks, 2) << "Space let go";
    ASSERT_TRUE(drive::Click(w.box, {5, 5}));
    EXPECT_EQ(drive::Focused(), &w.button) << "the plane took the focus";
    drive::KeyClick(drive::Key::Space);
    EXPECT_EQ(w.clicks, 3);
}
