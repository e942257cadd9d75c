// The toolkit's rules, free of any platform: the scroll bar, the exclusive
// all-up toggle group, activation, one message box at a time and the focus
// order, each driven through a small fake of what a platform does.

#include "toolkit/core/activation.h"
#include "toolkit/core/focus_chain.h"
#include "toolkit/core/message_gate.h"
#include "toolkit/core/presses.h"
#include "toolkit/core/scroll_rules.h"
#include "toolkit/core/toggle_group.h"

#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <limits>
#include <stdexcept>
#include <memory>
#include <string>
#include <vector>

using namespace tk;
using namespace tk::core;

namespace {

// A bar whose thumb covers exactly its position: the pointer lies on an
// arrow, or in the trough to the left or the right of the thumb, or on it.
struct FakeBar : ScrollBarPort {
    struct Seen {
        ScrollCode code;
        int position;
        int stored;
    };
    ScrollBarRules rules{*this};
    std::vector<Seen> seen;
    int timer = -1;  // the running timer's length, -1 when stopped
    ScrollPart pointerPart = ScrollPart::None;
    int pointerAt = -1;  // in the trough: the position under the pointer

    FakeBar()
    {
        rules.SetRange(0, 100);
        rules.SetSteps(1, 10);
        rules.SetPosition(51);
        rules.onScroll = [this](ScrollCode code, int& position) { seen.push_back({code, position, rules.Position()}); };
    }
    void ShowState() override {}
    ScrollPart PartUnderPointer() const override
    {
        if (pointerAt < 0)
            return pointerPart;
        return pointerAt < rules.Position()   ? ScrollPart::PageLeft
               : pointerAt > rules.Position() ? ScrollPart::PageRight
                                              : ScrollPart::Thumb;
    }
    void StartTimer(int ms) override { timer = ms; }
    void StopTimer() override { timer = -1; }
    // Lets the running timer run out.
    void Tick()
    {
        ASSERT_GE(timer, 0) << "no timer running";
        timer = -1;
        rules.TimerFired();
    }
    std::vector<ScrollCode> Codes() const
    {
        std::vector<ScrollCode> codes;
        for (const Seen& s : seen)
            codes.push_back(s.code);
        return codes;
    }
};

// Stands in for a modal box: ends every press in progress, as a real box
// does before it appears.
void ModalBoxAppears() { CancelPresses(); }

} // namespace

TEST(ScrollRules, EveryNotificationCarriesTheClampedPositionBeforeTheBarStoresIt)
{
    const struct {
        ScrollCode code;
        int from, expected;
    } cases[] = {
        {ScrollCode::LineDown, 51, 52}, {ScrollCode::LineUp, 51, 50},   {ScrollCode::PageDown, 51, 61},
        {ScrollCode::PageUp, 51, 41},   {ScrollCode::Top, 51, 0},       {ScrollCode::Bottom, 51, 100},
        {ScrollCode::LineDown, 100, 100}, {ScrollCode::PageUp, 5, 0}, {ScrollCode::PageDown, 95, 100},
        {ScrollCode::EndScroll, 51, 51},
    };
    for (const auto& c : cases) {
        FakeBar b;
        b.rules.SetPosition(c.from);
        b.rules.Scroll(c.code);
        ASSERT_EQ(b.seen.size(), 1u);
        EXPECT_EQ(b.seen[0].position, c.expected) << static_cast<int>(c.code) << " from " << c.from;
        EXPECT_EQ(b.seen[0].stored, c.from) << "not yet stored";
        EXPECT_EQ(b.rules.Position(), c.expected);
    }
    FakeBar b;
    b.rules.Scroll(ScrollCode::Track, 1000);
    EXPECT_EQ(b.seen[0].position, 100);
    b.rules.Scroll(ScrollCode::Position, -7);
    EXPECT_EQ(b.seen[1].position, 0);
}

TEST(ScrollRules, AHandlerMayChangeThePositionAndTheBarStoresItClamped)
{
    FakeBar b;
    b.rules.onScroll = [](ScrollCode, int& position) { position += 30; };
    b.rules.Scroll(ScrollCode::LineDown);
    EXPECT_EQ(b.rules.Position(), 82);
    b.rules.Scroll(ScrollCode::LineDown);
    EXPECT_EQ(b.rules.Position(), 100) << "clamped after the handler too";
    b.rules.onScroll = {};
    b.rules.Scroll(ScrollCode::Top);
    EXPECT_EQ(b.rules.Position(), 0) << "no handler: the new position is stored";
}

TEST(ScrollRules, RangeAndPositionFromCodeAreClampedAndSilent)
{
    FakeBar b;
    b.rules.SetPosition(500);
    EXPECT_EQ(b.rules.Position(), 100);
    b.rules.SetRange(10, 5);
    EXPECT_EQ(b.rules.Max(), 10) << "a maximum below the minimum is the minimum";
    EXPECT_EQ(b.rules.Position(), 10);
    b.rules.SetRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    b.rules.SetSteps(std::numeric_limits<int>::max(), std::numeric_limits<int>::max());
    b.rules.SetPosition(std::numeric_limits<int>::max() - 1);
    b.rules.Scroll(ScrollCode::PageDown);
    EXPECT_EQ(b.rules.Position(), std::numeric_limits<int>::max()) << "no overflow at the end of int";
    EXPECT_EQ(b.seen.size(), 1u) << "only the scroll notified";
    b.rules.SetPageSize(0);
    EXPECT_EQ(b.rules.PageStep(), std::numeric_limits<int>::max()) << "a page size of 0 keeps the page step";
    b.rules.SetPageSize(7);
    EXPECT_EQ(b.rules.PageStep(), 7);
}

TEST(ScrollRules, KeysOfAHorizontalBarAndTheirRelease)
{
    const struct {
        ScrollKey key;
        ScrollCode code;
        int position;
    } cases[] = {
        {ScrollKey::Right, ScrollCode::LineDown, 52}, {ScrollKey::Down, ScrollCode::LineDown, 52},
        {ScrollKey::Left, ScrollCode::LineUp, 50},    {ScrollKey::Up, ScrollCode::LineUp, 50},
        {ScrollKey::PageDown, ScrollCode::PageDown, 61}, {ScrollKey::PageUp, ScrollCode::PageUp, 41},
        {ScrollKey::Home, ScrollCode::Top, 0},        {ScrollKey::End, ScrollCode::Bottom, 100},
    };
    for (const auto& c : cases) {
        FakeBar b;
        EXPECT_FALSE(b.rules.KeyPressed(c.key, true)) << "a modifier other than the keypad's";
        EXPECT_TRUE(b.seen.empty());
        EXPECT_TRUE(b.rules.KeyPressed(c.key, false));
        EXPECT_TRUE(b.rules.KeyPressed(c.key, false)) << "held: the platform repeats the press";
        EXPECT_FALSE(b.rules.KeyReleased(c.key, true)) << "an auto-repeat release ends nothing";
        EXPECT_TRUE(b.rules.KeyReleased(c.key, false));
        EXPECT_FALSE(b.rules.KeyReleased(c.key, false)) << "released once";
        ASSERT_EQ(b.seen.size(), 3u);
        EXPECT_EQ(b.seen[0].code, c.code);
        EXPECT_EQ(b.seen[0].position, c.position);
        EXPECT_EQ(b.seen[2].code, ScrollCode::EndScroll);
    }
    FakeBar b;
    EXPECT_FALSE(b.rules.KeyPressed(ScrollKey::Other, false));
    EXPECT_FALSE(b.rules.KeyReleased(ScrollKey::Other, false));
    EXPECT_TRUE(b.seen.empty());
}

TEST(ScrollRules, OnlyThePressesTheBarHandledEndAScroll)
{
    FakeBar b;
    // Pressed elsewhere (the key that closed a box, the Tab that brought the
    // focus), released here.
    for (ScrollKey key : {ScrollKey::Right, ScrollKey::Left, ScrollKey::Home})
        EXPECT_FALSE(b.rules.KeyReleased(key, false));
    b.rules.PointerReleased();
    EXPECT_TRUE(b.seen.empty());
    // A key held while the focus leaves ends nothing when released.
    b.rules.KeyPressed(ScrollKey::Right, false);
    b.rules.FocusLost();
    EXPECT_FALSE(b.rules.KeyReleased(ScrollKey::Right, false));
    EXPECT_EQ(b.Codes(), std::vector<ScrollCode>{ScrollCode::LineDown});
    // Nothing is pressed on no part.
    b.rules.PointerPressed(ScrollPart::None);
    b.rules.PointerReleased();
    EXPECT_EQ(b.seen.size(), 1u);
}

TEST(ScrollRules, AHeldArrowStepsAtOnceThenAfterTheDelayThenEveryInterval)
{
    FakeBar b;
    b.pointerPart = ScrollPart::LineRight;
    b.rules.PointerPressed(ScrollPart::LineRight);
    ASSERT_EQ(b.seen.size(), 1u);
    EXPECT_EQ(b.rules.Position(), 52);
    EXPECT_EQ(b.timer, kScrollRepeatDelayMs);
    b.Tick();
    EXPECT_EQ(b.rules.Position(), 53);
    EXPECT_EQ(b.timer, kScrollRepeatIntervalMs);
    b.Tick();
    EXPECT_EQ(b.rules.Position(), 54);
    // Off the arrow it waits, back on it goes on.
    b.pointerPart = ScrollPart::PageRight;
    b.Tick();
    EXPECT_EQ(b.rules.Position(), 54);
    b.pointerPart = ScrollPart::LineRight;
    b.Tick();
    EXPECT_EQ(b.rules.Position(), 55);
    b.rules.PointerReleased();
    EXPECT_EQ(b.timer, -1);
    EXPECT_EQ(b.seen.back().code, ScrollCode::EndScroll);
    b.rules.TimerFired();  // a timeout already on its way
    EXPECT_EQ(b.rules.Position(), 55);
    EXPECT_EQ(b.seen.size(), 5u);
}

TEST(ScrollRules, AHeldTroughPagesUntilTheThumbReachesThePointer)
{
    FakeBar b;
    b.rules.SetPosition(10);
    b.pointerAt = 37;
    b.rules.PointerPressed(ScrollPart::PageRight);
    EXPECT_EQ(b.rules.Position(), 20);
    b.Tick();
    EXPECT_EQ(b.rules.Position(), 30);
    b.Tick();
    EXPECT_EQ(b.rules.Position(), 40) << "the page that reaches the pointer";
    for (int i = 0; i < 5; ++i)
        b.Tick();
    EXPECT_EQ(b.rules.Position(), 40) << "the thumb is under the pointer: no further page";
    b.rules.PointerReleased();
    EXPECT_EQ(b.Codes(), (std::vector<ScrollCode>{ScrollCode::PageDown, ScrollCode::PageDown, ScrollCode::PageDown,
                                                  ScrollCode::EndScroll}));
}

TEST(ScrollRules, DraggingTheThumbTracksAndReleasingPlacesIt)
{
    FakeBar b;
    b.rules.PointerPressed(ScrollPart::Thumb);
    EXPECT_TRUE(b.seen.empty()) << "taking the thumb scrolls nothing";
    EXPECT_EQ(b.timer, -1) << "nor repeats";
    for (int p : {55, 55, 60, 200})
        b.rules.PointerDragged(p);
    b.rules.PointerReleased();
    EXPECT_EQ(b.Codes(), (std::vector<ScrollCode>{ScrollCode::Track, ScrollCode::Track, ScrollCode::Track,
                                                  ScrollCode::Position, ScrollCode::EndScroll}));
    EXPECT_EQ(b.seen[1].stored, 55) << "each step stored before the next";
    EXPECT_EQ(b.seen[2].position, 100);
    EXPECT_EQ(b.seen[3].position, 100);
    b.rules.PointerDragged(20);
    EXPECT_EQ(b.rules.Position(), 100) << "no drag once released";
}

TEST(ScrollRules, AModalBoxEndsThePressAtOnceWithoutANotification)
{
    // From the first step's handler, for an arrow, the trough and a key.
    for (ScrollPart part : {ScrollPart::LineLeft, ScrollPart::PageRight, ScrollPart::None}) {
        FakeBar b;
        b.pointerPart = part;
        b.rules.onScroll = [&](ScrollCode code, int&) {
            b.seen.push_back({code, 0, 0});
            ModalBoxAppears();
        };
        if (part == ScrollPart::None)
            b.rules.KeyPressed(ScrollKey::Right, false);
        else
            b.rules.PointerPressed(part);
        EXPECT_EQ(b.timer, -1) << "no repeat behind the box";
        b.rules.PointerReleased();
        b.rules.KeyReleased(ScrollKey::Right, false);
        EXPECT_EQ(b.seen.size(), 1u) << "the release adds nothing";
    }
    // While the arrow repeats, and in a drag.
    FakeBar b;
    b.pointerPart = ScrollPart::LineRight;
    b.rules.PointerPressed(ScrollPart::LineRight);
    b.Tick();
    ModalBoxAppears();
    EXPECT_EQ(b.timer, -1);
    b.rules.TimerFired();
    b.rules.PointerReleased();
    EXPECT_EQ(b.rules.Position(), 53);
    b.seen.clear();
    b.rules.PointerPressed(ScrollPart::Thumb);
    b.rules.PointerDragged(60);
    ModalBoxAppears();
    b.rules.PointerDragged(70);
    b.rules.PointerReleased();
    EXPECT_EQ(b.Codes(), std::vector<ScrollCode>{ScrollCode::Track});
    EXPECT_EQ(b.rules.Position(), 60) << "let go where it was";
}

TEST(ScrollRules, TheMenuItemsScrollThroughTheNotification)
{
    const auto menu = ScrollMenu();
    std::vector<std::string> texts;
    for (const ScrollMenuItem& item : menu)
        if (item.text)
            texts.push_back(item.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"ここへスクロール", "左端", "右端", "1 ページ左へ", "1 ページ右へ",
                                               "左へスクロール", "右へスクロール"}));
    const std::array<int, 10> expected{{73, -1, 0, 100, -1, 41, 61, -1, 50, 52}};
    for (std::size_t i = 0; i < menu.size(); ++i) {
        FakeBar b;
        b.rules.MenuChosen(i, 73);
        if (!menu[i].text) {
            EXPECT_TRUE(b.seen.empty()) << "a separator does nothing";
            continue;
        }
        ASSERT_EQ(b.seen.size(), 1u) << menu[i].text;
        EXPECT_EQ(b.seen[0].code, menu[i].code);
        EXPECT_EQ(b.seen[0].stored, 51);
        EXPECT_EQ(b.rules.Position(), expected[i]) << menu[i].text;
    }
    FakeBar b;
    b.rules.MenuChosen(menu.size(), 73);
    EXPECT_TRUE(b.seen.empty());
}

namespace {

struct Group {
    int containerA = 0, containerB = 0;  // two containers, by address
    std::vector<std::unique_ptr<Toggle>> members;
    std::vector<int> shown;  // how often each was drawn anew
    explicit Group(std::initializer_list<std::pair<const void*, int>> toggles)
    {
        for (const auto& [container, group] : toggles) {
            const std::size_t i = members.size();
            shown.push_back(0);
            members.push_back(std::make_unique<Toggle>(container, group, [this, i](bool) { ++shown[i]; }));
        }
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

TEST(ToggleGroup, ClicksFollowTheExclusiveAllUpRule)
{
    int a = 0;
    Group g{{&a, 1}, {&a, 1}, {&a, 1}};
    EXPECT_EQ(g.Downs(), (std::vector<bool>{false, false, false})) << "all up to begin with";
    g.members[0]->Click();
    EXPECT_EQ(g.Downs(), (std::vector<bool>{true, false, false}));
    g.members[2]->Click();
    EXPECT_EQ(g.Downs(), (std::vector<bool>{false, false, true}));
    g.members[2]->Click();
    EXPECT_EQ(g.Downs(), (std::vector<bool>{false, false, false})) << "a click on the down member raises it";
}

TEST(ToggleGroup, CodeChangesAndGroupsApart)
{
    int a = 0, b = 0;
    Group g{{&a, 1}, {&a, 1}, {&a, 2}, {&b, 1}, {&a, 0}};
    g.members[2]->SetDown(true);
    g.members[3]->SetDown(true);
    g.members[0]->SetDown(true);
    EXPECT_EQ(g.Downs(), (std::vector<bool>{true, false, true, true, false})) << "another index or container is apart";
    g.members[1]->SetDown(true);
    EXPECT_EQ(g.Downs(), (std::vector<bool>{false, true, true, true, false})) << "down from code raises the others";
    g.members[1]->SetDown(false);
    EXPECT_EQ(g.Downs(), (std::vector<bool>{false, false, true, true, false})) << "up from code touches only it";
    EXPECT_EQ(g.shown, (std::vector<int>{2, 2, 1, 1, 0})) << "drawn anew only on a change";
    g.members[4]->SetDown(true);
    g.members[4]->Click();
    EXPECT_FALSE(g.members[4]->Down()) << "group 0 never stays down";
    // A member that goes away leaves the rule to the others.
    g.members[0].reset();
    g.members[1]->SetDown(true);
    EXPECT_TRUE(g.members[1]->Down());
}

namespace {

struct FakeForms : ActivationPort {
    std::array<std::max_align_t, 3> storage{};
    Form* form[3];
    bool visible[3] = {true, true, true};
    std::vector<int> activated;
    int grace = -1;
    Activation activation{*this};
    FakeForms()
    {
        for (int i = 0; i < 3; ++i) {
            form[i] = reinterpret_cast<Form*>(&storage[static_cast<std::size_t>(i)]);
            activation.Add(form[i]);
        }
    }
    int Index(const Form* f) const
    {
        for (int i = 0; i < 3; ++i)
            if (form[i] == f)
                return i;
        return -1;
    }
    bool Visible(const Form* f) const override { return visible[Index(f)]; }
    void Activated(Form* f) override
    {
        EXPECT_EQ(activation.Active(), f) << "the active form is set when its OnActivate runs";
        activated.push_back(Index(f));
    }
    void StartGraceTimer(int ms) override { grace = ms; }
};

} // namespace

TEST(ActivationRules, OncePerChangeOfFormAndAtOnceOnShow)
{
    FakeForms f;
    EXPECT_EQ(f.activation.Main(), nullptr) << "only the application names its main form";
    f.activation.OfferMain(f.form[1]);
    f.activation.OfferMain(f.form[0]);
    EXPECT_EQ(f.activation.Main(), f.form[1]);
    f.activation.Note(f.form[0], ActivationSource::Show);
    EXPECT_EQ(f.activated, std::vector<int>{0});
    f.activation.Note(f.form[0], ActivationSource::WindowSystem);
    f.activation.Note(f.form[0], ActivationSource::Pointer);
    EXPECT_EQ(f.activated, std::vector<int>{0}) << "the same form again is no change";
    f.activation.Note(f.form[1], ActivationSource::Pointer);
    EXPECT_EQ(f.activated, (std::vector<int>{0, 1}));
    // A hidden window is not activated; hiding the active form leaves none.
    f.visible[2] = false;
    f.activation.Note(f.form[2], ActivationSource::Pointer);
    f.activation.Note(nullptr, ActivationSource::Pointer);
    EXPECT_EQ(f.activation.Active(), f.form[1]);
    f.activation.Hidden(f.form[1]);
    EXPECT_EQ(f.activation.Active(), nullptr);
    f.activation.Note(f.form[1], ActivationSource::WindowSystem);
    EXPECT_EQ(f.activated, (std::vector<int>{0, 1, 1})) << "shown again, it is activated again";
    f.activation.Remove(f.form[1]);
    EXPECT_EQ(f.activation.Active(), nullptr);
    EXPECT_EQ(f.activation.Main(), nullptr);
    f.activation.Note(f.form[1], ActivationSource::Pointer);
    EXPECT_EQ(f.activated.size(), 3u) << "a form gone is never activated";
}

TEST(ActivationRules, AStaleWindowSystemReportWaitsForTheShownFormOrTheGrace)
{
    FakeForms f;
    f.activation.Note(f.form[0], ActivationSource::Show);
    f.activation.Note(f.form[1], ActivationSource::Show);
    EXPECT_EQ(f.grace, Activation::kGraceMs);
    f.activation.Note(f.form[0], ActivationSource::WindowSystem);  // asked for before form 1 was shown
    EXPECT_EQ(f.activation.Active(), f.form[1]);
    f.activation.Note(f.form[1], ActivationSource::WindowSystem);  // form 1's own report
    f.activation.Note(f.form[0], ActivationSource::WindowSystem);
    EXPECT_EQ(f.activation.Active(), f.form[0]) << "after the shown form's report a real one counts";

    f.activation.Note(f.form[2], ActivationSource::Show);
    f.activation.Note(f.form[0], ActivationSource::WindowSystem);
    EXPECT_EQ(f.activation.Active(), f.form[2]);
    f.activation.GraceOver();
    f.activation.Note(f.form[0], ActivationSource::WindowSystem);
    EXPECT_EQ(f.activation.Active(), f.form[0]) << "after the grace period";

    f.activation.Note(f.form[1], ActivationSource::Show);
    f.activation.Note(f.form[2], ActivationSource::Pointer);
    EXPECT_EQ(f.activation.Active(), f.form[2]) << "a press always counts";
    f.activation.Note(f.form[0], ActivationSource::WindowSystem);
    EXPECT_EQ(f.activation.Active(), f.form[0]) << "and ends the wait";
    EXPECT_EQ(f.activated, (std::vector<int>{0, 1, 0, 2, 0, 1, 2, 0}));
}

namespace {

// A platform box that stays open until the test closes it, as a browser's
// does, or closes at once from inside ShowBox, as a modal loop does.
struct FakeBoxes : MessageBoxPort {
    MessageGate gate{*this};
    std::vector<std::string> shown;
    bool closeAtOnce = false;
    std::function<void()> whileOpen;
    void ShowBox(const std::string& title, const std::string& text) override
    {
        shown.push_back(title + "|" + text);
        if (whileOpen)
            whileOpen();
        if (closeAtOnce)
            gate.Closed();
    }
};

// A press holder that records being cancelled.
struct HeldButton : PressHolder {
    bool down = true;
    void CancelPress() override { down = false; }
};

} // namespace

TEST(MessageGateRules, OneBoxAtATimeAndWhatFollowsItRunsWhenItCloses)
{
    FakeBoxes boxes;
    std::vector<std::string> after;
    EXPECT_TRUE(boxes.gate.Raise("T", "one", [&] { after.push_back("one"); }));
    EXPECT_TRUE(boxes.gate.Open());
    EXPECT_FALSE(boxes.gate.Raise("T", "two", [&] { after.push_back("two"); })) << "not raised while one is open";
    EXPECT_TRUE(after.empty()) << "the first is still open";
    boxes.gate.Closed();
    EXPECT_FALSE(boxes.gate.Open());
    EXPECT_EQ(after, std::vector<std::string>{"one"});
    boxes.gate.Closed();
    EXPECT_EQ(after, std::vector<std::string>{"one"}) << "closed once";
    EXPECT_EQ(boxes.shown, std::vector<std::string>{"T|one"});

    // A box raised from inside the open one (a repaint behind it) is not.
    boxes.closeAtOnce = true;
    boxes.whileOpen = [&] { boxes.gate.Raise("T", "inner"); };
    EXPECT_TRUE(boxes.gate.Raise("T", "outer", [&] { after.push_back("outer"); }));
    EXPECT_EQ(boxes.shown, (std::vector<std::string>{"T|one", "T|outer"}));
    EXPECT_EQ(after, (std::vector<std::string>{"one", "outer"}));
    // The box may be raised from what follows the last one.
    boxes.whileOpen = {};
    boxes.gate.Raise("T", "first", [&] { boxes.gate.Raise("T", "next"); });
    EXPECT_EQ(boxes.shown.back(), "T|next");
}

// A page shows its box and returns: the window whose handler raised it may
// be destroyed before the box is closed, and what was to follow it must not
// run then.
TEST(MessageGateRules, WhatFollowsAForgottenBoxNeverRuns)
{
    FakeBoxes boxes;
    int after = 0;
    boxes.gate.Raise("T", "one", [&] { ++after; });
    boxes.gate.Forget();
    EXPECT_TRUE(boxes.gate.Open()) << "the box itself stays until the user closes it";
    boxes.gate.Closed();
    EXPECT_EQ(after, 0);
    boxes.gate.Raise("T", "two", [&] { ++after; });
    boxes.gate.Closed();
    EXPECT_EQ(after, 1) << "a later box's continuation runs again";
}

TEST(MessageGateRules, ARealBoxEndsEveryPressAndAHandlerTakesItsPlace)
{
    FakeBoxes boxes;
    boxes.closeAtOnce = true;
    HeldButton a, b;
    auto gone = std::make_unique<HeldButton>();
    gone.reset();  // a holder that went away is not called
    boxes.gate.Raise("T", "x");
    EXPECT_FALSE(a.down);
    EXPECT_FALSE(b.down);

    std::vector<std::string> read;
    a.down = true;
    boxes.gate.SetHandler([&](const std::string& title, const std::string& text) {
        read.push_back(title + "|" + text);
        EXPECT_TRUE(boxes.gate.Open()) << "open while the handler reads it";
        boxes.gate.Raise("T", "nested");
    });
    bool followed = false;
    boxes.gate.Raise("T", "a\r\nb", [&] { followed = true; });
    EXPECT_EQ(read, std::vector<std::string>{"T|a\r\nb"});
    EXPECT_TRUE(followed);
    EXPECT_FALSE(boxes.gate.Open());
    EXPECT_TRUE(a.down) << "a handler is no box: nothing held ends";
    EXPECT_EQ(boxes.shown.size(), 1u);

    boxes.gate.SetHandler([](const std::string&, const std::string&) { throw std::runtime_error("failed"); });
    EXPECT_THROW(boxes.gate.Raise("T", "x"), std::runtime_error);
    EXPECT_FALSE(boxes.gate.Open()) << "a failing handler leaves no box open";
    boxes.gate.SetHandler({});
    boxes.gate.Raise("T", "real");
    EXPECT_EQ(boxes.shown.back(), "T|real");
}

TEST(FocusOrder, EachParentsOrderThenCreationOrderForControlsThatTakeFocus)
{
    // A form with buttons b1..b3, a bar, a speed button and a group box
    // holding buttons g1, g2.
    int form, b1, b2, b3, bar, speed, box, g1, g2;
    const FocusNode tree{&form, false,
                         {{&b1, true, {}},
                          {&b2, true, {}},
                          {&box, false, {{&g1, true, {}}, {&g2, true, {}}}},
                          {&speed, false, {}},
                          {&bar, true, {}},
                          {&b3, true, {}}}};
    using Chain = std::vector<const void*>;
    EXPECT_EQ(FocusChain(tree, {}), (Chain{&b1, &b2, &g1, &g2, &bar, &b3})) << "creation order";
    EXPECT_EQ(FocusChain(tree, {{&form, {&bar, &box, &b1}}, {&box, {&g2}}}), (Chain{&bar, &g2, &g1, &b1, &b2, &b3}))
        << "the orders given, then the rest in creation order";
    EXPECT_EQ(FocusChain(tree, {{&form, {&b3, &g1, &b3}}}), (Chain{&b3, &b1, &b2, &g1, &g2, &bar}))
        << "a control named twice or under another parent comes once, where it stands";
}
