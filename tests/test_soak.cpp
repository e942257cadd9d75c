// A randomized soak: the three windows driven with thousands of events drawn
// from everything a student can do, with the program's invariants checked
// after every event. A failure prints its seed and the shortest event
// sequence found that still breaks the same invariant.
//
// ORVALIS_SOAK_SECONDS (default 40) bounds the run, which starts at seed 1;
// ORVALIS_SOAK_SEED=N starts at seed N instead and runs that seed only, or
// ORVALIS_SOAK_SEEDS seeds from it, whatever the time they take (say
// ORVALIS_SOAK_SEED=1000001 ORVALIS_SOAK_SEEDS=500 for a long run over new
// seeds); ORVALIS_SOAK_EVENTS sets the events per seed (default 2000).
// A second soak lets the message boxes really open and closes each after a
// while with a key or the mouse, pressing and holding the zoom bar with the
// real mouse and keys meanwhile; ORVALIS_SOAK_REAL_SECONDS (default 20)
// bounds it.

#include "activities/junsen_form.h"
#include "toolkit/qt/native.h"
#include "activities/syoten_form.h"
#include "app/forms.h"
#include "app/menu2.h"
#include "plane/mapping.h"
#include "toolkit/application.h"

#include "support/box_closer.h"
#include "support/design_pixels.h"
#include "support/scroll_driver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QScrollBar>
#include <QTest>

#include <cmath>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <limits>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

using activities::ActivityForm;
using Clock = std::chrono::steady_clock;

long EnvOr(const char* name, long fallback)
{
    const char* v = std::getenv(name);
    return v && *v ? std::strtol(v, nullptr, 10) : fallback;
}

enum class Kind { Click, PlaneDown, Scroll, Drag, Key, MenuPress, FitClick };

// One thing a student does, with everything random drawn up front so that
// a sequence replays exactly on fresh windows.
struct Event {
    Kind kind;
    int form;    // 0 menu, 1 fixed line window, 2 two points window
    int target;  // index into the form's buttons, a scroll action, a key
    int x, y;    // plane pixel, or drag start and end positions
    int button;  // 0 left, 1 right, 2 middle
    int shift;   // bit 0 shift, 1 control, 2 alt
};

// What the event does, in words; captions is the caption of each form's
// buttons, in the order the events name them.
std::string Describe(const Event& e, const std::vector<std::vector<std::string>>& captions)
{
    static const char* const forms[] = {"menu", "fixed line window", "two points window"};
    std::ostringstream s;
    s << forms[e.form] << ": ";
    switch (e.kind) {
    case Kind::Click: {
        const auto& names = captions[static_cast<std::size_t>(e.form)];
        s << "click \"" << names[static_cast<std::size_t>(e.target) % names.size()] << "\" (button #" << e.target
          << ")";
        break;
    }
    case Kind::PlaneDown:
        s << "mouse-down on the plane at (" << e.x << ", " << e.y << ") button " << e.button << " shift "
          << e.shift;
        break;
    case Kind::Scroll: s << "scroll action " << e.target << " (thumb to " << e.x << ")"; break;
    case Kind::Drag: s << "drag the zoom thumb from " << e.x << " to " << e.y; break;
    case Kind::Key: s << "key #" << e.target; break;
    case Kind::MenuPress: s << "press on the menu window"; break;
    case Kind::FitClick: s << "mouse-down on the plane where row " << e.y << " fits best"; break;
    }
    return s.str();
}

const Qt::Key kKeys[] = {Qt::Key_Space, Qt::Key_Return, Qt::Key_Tab,  Qt::Key_Backtab, Qt::Key_Left,
                         Qt::Key_Right, Qt::Key_Home,   Qt::Key_End,  Qt::Key_PageUp,  Qt::Key_PageDown,
                         Qt::Key_Escape, Qt::Key_5,     Qt::Key_Minus};

const QAbstractSlider::SliderAction kActions[] = {
    QAbstractSlider::SliderSingleStepAdd, QAbstractSlider::SliderSingleStepSub,
    QAbstractSlider::SliderPageStepAdd,   QAbstractSlider::SliderPageStepSub,
    QAbstractSlider::SliderToMinimum,     QAbstractSlider::SliderToMaximum,
    QAbstractSlider::SliderMove};

// What the soak reached, to show that it reaches the interesting states.
struct Stats {
    int maxAfterimages = 0;
    long curveRepaints = 0;  // events after which a visible window showed its curve
} stats;

// The program's three windows, fresh, as start-up makes them (the quit
// button is left out: it ends the run).
class World {
public:
    explicit World(bool realBoxes = false) : realBoxes_(realBoxes)
    {
        menu_ = std::make_unique<app::TMenu2>();
        junsen_ = std::make_unique<activities::TJunsen_Form>();
        syoten_ = std::make_unique<activities::TSyoten_Form>();
        app::Menu2 = menu_.get();
        app::Junsen_Form = junsen_.get();
        app::Syoten_Form = syoten_.get();
        if (realBoxes_)
            closer_ = std::make_unique<box_test::BoxCloser>(ClosingPlan);
        else
            tk::Application::Instance().SetMessageHandler([](const std::string&, const std::string&) { ++messages_; });
        menu_->Show();
        QApplication::processEvents();
    }
    ~World()
    {
        if (closer_)
            messages_ += static_cast<int>(closer_->texts.size());
        tk::Application::Instance().SetMessageHandler({});
        app::Menu2 = nullptr;
        app::Junsen_Form = nullptr;
        app::Syoten_Form = nullptr;
    }
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    tk::Form& Form(int k) const
    {
        return k == 0 ? static_cast<tk::Form&>(*menu_) : k == 1 ? static_cast<tk::Form&>(*junsen_) : *syoten_;
    }
    ActivityForm& Activity(int k) const
    {
        return k == 1 ? static_cast<ActivityForm&>(*junsen_) : static_cast<ActivityForm&>(*syoten_);
    }

    std::vector<std::vector<std::string>> Captions() const
    {
        std::vector<std::vector<std::string>> all;
        for (int k : {0, 1, 2}) {
            all.emplace_back();
            for (const QAbstractButton* b : Buttons(k))
                all.back().push_back(b->text().toStdString());
        }
        return all;
    }

    // The buttons of a form, in a fixed order.
    std::vector<QAbstractButton*> Buttons(int k) const
    {
        std::vector<QAbstractButton*> all;
        for (QAbstractButton* b : tk::AsWidget(Form(k).NativeWidget())->findChildren<QAbstractButton*>())
            if (k != 0 || b != tk::AsWidget(menu_->syuryo->NativeWidget()))
                all.push_back(b);
        return all;
    }

    // Draws what a student could do next: mostly single presses, clicks and
    // scrolls, sometimes a whole condition keyed and confirmed, sometimes a
    // click on the pixel of a row that comes nearest to fitting it.
    // A patient student presses fewer keys and drags the zoom more, which
    // fills the afterimage store.
    std::vector<Event> Draw(std::mt19937& rng, bool patient) const
    {
        auto pick = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
        Event e{};
        int activity = 0;
        for (int k : {1, 2})
            if (Form(k).Visible())
                activity = k;
        int roll = pick(100);
        if (patient && roll >= 10 && roll < 55)
            roll = pick(4) == 0 ? roll : 78 + pick(16);
        if (activity == 0 || pick(1000) < (patient ? 3 : 20)) {
            e.kind = pick(3) == 0 ? Kind::MenuPress : Kind::Click;
            e.form = 0;
            e.target = pick(static_cast<int>(Buttons(0).size()));
            return {e};
        }
        e.form = activity;
        // Once points fit, a patient student mostly goes on clicking and zooming.
        if (patient && Activity(activity).Plane.AfterimageCount > 0 && pick(10) != 0)
            roll = 55 + pick(39);
        if (roll < 10)
            return KeyCondition(activity, rng);
        // With real boxes, often the road to the diagonal foci's message.
        if (realBoxes_ && activity == 2 && roll < 14)
            return DiagonalRoad(rng);
        if (roll < 55) {
            e.kind = Kind::Click;
            e.target = pick(static_cast<int>(Buttons(activity).size()));
        } else if (roll < 78) {
            e.kind = Kind::PlaneDown;
            e.y = pick(660);
            e.x = roll < 70 ? NearestFit(activity, e.y) : pick(660);
            e.button = pick(3);
            e.shift = pick(8);
        } else if (roll < 90) {
            e.kind = Kind::Scroll;
            e.target = pick(static_cast<int>(std::size(kActions)));
            e.x = pick(101);
        } else if (roll < 94) {
            e.kind = Kind::Drag;
            e.x = pick(101);
            e.y = pick(101);
        } else {
            e.kind = Kind::Key;
            e.target = pick(static_cast<int>(std::size(kKeys)));
        }
        return {e};
    }

    // Does it, if the window and control it names are there to be used.
    void Apply(const Event& e)
    {
        tk::Form& form = Form(e.form);
        if (!form.Visible())
            return;
        boxesBefore_ = closer_ ? closer_->texts.size() : 0;
        if (realBoxes_ && (e.kind == Kind::Scroll || e.kind == Kind::Drag)) {
            UseBar(e);
            QApplication::processEvents();
            return;
        }
        switch (e.kind) {
        case Kind::Click: {
            const auto buttons = Buttons(e.form);
            QAbstractButton* b = buttons[static_cast<std::size_t>(e.target) % buttons.size()];
            if (b->isVisibleTo(tk::AsWidget(form.NativeWidget())))
                QTest::mouseClick(b, Qt::LeftButton);
            break;
        }
        case Kind::PlaneDown: {
            static const Qt::MouseButton buttons[] = {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton};
            Qt::KeyboardModifiers mods;
            if (e.shift & 1)
                mods |= Qt::ShiftModifier;
            if (e.shift & 2)
                mods |= Qt::ControlModifier;
            if (e.shift & 4)
                mods |= Qt::AltModifier;
            design_test::Click(tk::AsWidget(Activity(e.form).PaintBox1->NativeWidget()), QPoint(e.x, e.y), buttons[e.button], mods);
            break;
        }
        case Kind::Scroll: {
            auto* bar = static_cast<QScrollBar*>(tk::AsWidget(Activity(e.form).ScrollBar1->NativeWidget()));
            const auto action = kActions[e.target];
            if (action == QAbstractSlider::SliderMove) {
                bar->setSliderDown(true);
                bar->setSliderPosition(e.x);
                bar->setSliderDown(false);
            } else {
                bar->triggerAction(action);
            }
            break;
        }
        case Kind::Drag: {
            auto* bar = static_cast<QScrollBar*>(tk::AsWidget(Activity(e.form).ScrollBar1->NativeWidget()));
            bar->setSliderDown(true);
            const int step = e.y >= e.x ? 1 : -1;
            for (int p = e.x; step > 0 ? p < e.y : p > e.y; p += step)
                bar->setSliderPosition(p);
            bar->setSliderPosition(e.y);
            bar->setSliderDown(false);
            break;
        }
        case Kind::Key: {
            QWidget* focus = QApplication::focusWidget();
            QTest::keyClick(focus && focus->window() == tk::AsWidget(form.NativeWidget()) ? focus : tk::AsWidget(form.NativeWidget()),
                            kKeys[e.target]);
            break;
        }
        case Kind::FitClick: {
            QWidget* surface = tk::AsWidget(Activity(e.form).PaintBox1->NativeWidget());
            const QPoint at(NearestFit(e.form, e.y), e.y);
            QTest::mousePress(surface, Qt::LeftButton, {}, at);
            QTest::mouseRelease(surface, Qt::LeftButton, {}, at);
            break;
        }
        case Kind::MenuPress:
            QTest::mousePress(tk::AsWidget(form.NativeWidget()), Qt::LeftButton, {}, QPoint(240, 240));
            QTest::mouseRelease(tk::AsWidget(form.NativeWidget()), Qt::LeftButton, {}, QPoint(240, 240));
            break;
        }
        QApplication::processEvents();
    }

    static int Messages() { return messages_; }

    // The first invariant that does not hold, if any.
    std::optional<std::string> Broken() const
    {
        if (closer_) {
            if (closer_->mostOpen > 1)
                return "message boxes open at once: " + std::to_string(closer_->mostOpen);
            if (closer_->raisedByClosing)
                return "a message box came up from the key that closed another";
            if (closer_->texts.size() > boxesBefore_ + 1)
                return "message boxes raised by one thing done: " + std::to_string(closer_->texts.size() - boxesBefore_);
        }
        for (int k : {1, 2}) {
            stats.maxAfterimages = std::max(stats.maxAfterimages, Activity(k).Plane.AfterimageCount);
            stats.curveRepaints += Activity(k).Visible() && Activity(k).CurveShown;
        }
        if (plane::NonFiniteRoundoffs() != nonFiniteAtStart_)
            return "a NaN or an infinity reached a pixel conversion";
        for (int k : {1, 2}) {
            const ActivityForm& f = Activity(k);
            const std::string where = k == 1 ? "fixed line window: " : "two points window: ";
            if (f.Plane.AfterimageCount < 0 || f.Plane.AfterimageCount > plane::Plane::kMaxAfterimages)
                return where + "AfterimageCount " + std::to_string(f.Plane.AfterimageCount);
            if (f.ResetCount > 0 && (f.Plane.GridUnit < 4 || f.Plane.GridUnit > 36))
                return where + "GridUnit " + std::to_string(f.Plane.GridUnit);
            for (const std::string& text : {f.Plane.ReadoutCoordinates, f.Plane.ReadoutQuantity})
                if (HasNonNumber(text))
                    return where + "readout \"" + text + "\"";
            for (const QLabel* l : tk::AsWidget(f.NativeWidget())->findChildren<QLabel*>())
                if (HasNonNumber(l->text().toStdString()))
                    return where + "label \"" + l->text().toStdString() + "\"";
        }
        const int jt = junsen_->Entry.InputTarget;
        const int st = syoten_->Entry.InputTarget;
        if (jt < 0 || jt > 5 || st < 0 || st > 5)
            return "InputTarget " + std::to_string(jt) + " / " + std::to_string(st);
        // The line and F count minus presses from 1 on; the ratio terms are
        // empty, pending a root, or complete.
        const entry::JunsenFields& j = junsen_->Fields;
        for (int s : {j.LineState, j.FocusXState, j.FocusYState})
            if (s < 0)
                return "fixed line window: a negative entry state " + std::to_string(s);
        for (int s : {j.RatioPFState, j.RatioPHState})
            if (s != 0 && s != 1 && s != 9)
                return "fixed line window: ratio entry state " + std::to_string(s);
        const entry::SyotenFields& y = syoten_->Fields;
        for (int s : {y.Focus1XState, y.Focus1YState, y.Focus2XState, y.Focus2YState})
            if (s != 0 && s != 9)
                return "two points window: coordinate entry state " + std::to_string(s);
        if (y.DistanceState != 0 && y.DistanceState != 1 && y.DistanceState != 8 && y.DistanceState != 9)
            return "two points window: distance entry state " + std::to_string(y.DistanceState);
        return std::nullopt;
    }

private:
    // How the n-th real box is closed, and after how long.
    static std::pair<box_test::CloseBy, int> ClosingPlan(int n)
    {
        std::mt19937 rng(static_cast<std::mt19937::result_type>(n));
        const auto by = static_cast<box_test::CloseBy>(std::uniform_int_distribution<int>(0, 3)(rng));
        return {by, std::uniform_int_distribution<int>(0, 300)(rng)};
    }

    // Diagonal foci with a sum they allow, two clicks where the sum fits and
    // the graph button: from then on every repaint raises the message.
    std::vector<Event> DiagonalRoad(std::mt19937& rng) const
    {
        auto pick = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
        const entry::SyotenEntry& y = syoten_->Entry;
        const entry::Keypad& pad = y.Keypad;
        std::vector<Event> road;
        auto press = [&](const tk::Control& c) { road.push_back(ClickOn(2, c)); };
        const int x1 = pick(3), y1 = pick(3);
        const int digits[] = {x1, y1, x1 + 1 + pick(3), y1 + 1 + pick(3)};
        const tk::Control* toggles[] = {y.SbnX1Zahyo.get(), y.SbnY1Zahyo.get(), y.SbnX2Zahyo.get(),
                                        y.SbnY2Zahyo.get()};
        for (int field = 0; field < 4; ++field) {
            press(*toggles[field]);
            press(pad.DigitKey(digits[field]));
        }
        press(*y.SbnKyori);
        press(y.BtnKyoriWa);
        press(pad.DigitKey(7 + pick(3)));  // longer than F1F2, at most 4.3
        press(*pad.BtnKettei);
        const int row = 100 + pick(460);
        road.push_back(Event{Kind::FitClick, 2, 0, 0, row, 0, 0});
        road.push_back(Event{Kind::FitClick, 2, 0, 0, row, 0, 0});
        press(*syoten_->BtnByoga);
        return road;
    }

    // The zoom bar used with the real mouse and keys: an arrow or the trough
    // held for a while, a key held down, or the thumb dragged.
    void UseBar(const Event& e) const
    {
        tk::ScrollBar& bar = *Activity(e.form).ScrollBar1;
        QWidget* w = tk::AsWidget(bar.NativeWidget());
        if (e.kind == Kind::Drag) {
            const QPoint thumb = scroll_test::BarPoint(bar, QStyle::SC_ScrollBarSlider);
            QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, thumb);
            const int dx = (e.y - e.x) * 5;
            for (int i = 1; i <= 5; ++i)
                QTest::mouseMove(w, thumb + QPoint(dx * i / 5, 0));
            QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, thumb + QPoint(dx, 0));
            return;
        }
        // Mostly brief; now and then up to 700 ms, past the bar's repeat delay.
        const int held = e.x < 80 ? e.x : (e.x - 70) * 23;
        static const QStyle::SubControl parts[] = {QStyle::SC_ScrollBarAddLine, QStyle::SC_ScrollBarSubLine,
                                                   QStyle::SC_ScrollBarAddPage, QStyle::SC_ScrollBarSubPage};
        static const Qt::Key keys[] = {Qt::Key_Right, Qt::Key_Left, Qt::Key_PageDown, Qt::Key_Home};
        if (e.target < 4) {
            const QPoint at = scroll_test::BarPoint(bar, parts[e.target]);
            QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, at);
            QTest::qWait(held);
            QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, at);
        } else {
            const Qt::Key key = keys[e.target % 4];
            w->setFocus(Qt::OtherFocusReason);
            QTest::keyPress(w, key);
            QTest::qWait(held / 4);
            QTest::keyRelease(QApplication::focusWidget() ? QApplication::focusWidget() : w, key);
        }
    }

    // A click on a control of a form, as an event.
    Event ClickOn(int k, const tk::Control& control) const
    {
        const auto buttons = Buttons(k);
        const auto at = std::find(buttons.begin(), buttons.end(), tk::AsWidget(control.NativeWidget()));
        return Event{Kind::Click, k, static_cast<int>(at - buttons.begin()), 0, 0, 0, 0};
    }

    // Keys a whole condition, as often a sensible one as not, and confirms it.
    std::vector<Event> KeyCondition(int k, std::mt19937& rng) const
    {
        auto pick = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
        std::vector<Event> keys;
        auto press = [&](const tk::Control& c) { keys.push_back(ClickOn(k, c)); };
        if (k == 1) {
            const entry::JunsenEntry& j = junsen_->Entry;
            const entry::Keypad& pad = j.Keypad;
            press(*j.SbnLine);
            press(pick(2) ? j.BtnX : j.BtnY);
            if (pick(2))
                press(*pad.BtnMinus);
            press(pad.DigitKey(pick(6)));
            for (const tk::Control* toggle : {j.SbnXzahyo.get(), j.SbnYzahyo.get()}) {
                press(*toggle);
                if (pick(3) == 0)
                    press(*pad.BtnMinus);
                press(pad.DigitKey(pick(6)));
            }
            for (const tk::Control* toggle : {j.SbnHiPF.get(), j.SbnHiPH.get()}) {
                press(*toggle);
                if (pick(4) == 0)
                    press(*pad.BtnRoot);
                press(pad.DigitKey(1 + pick(4)));
            }
            press(*pad.BtnKettei);
        } else {
            const entry::SyotenEntry& y = syoten_->Entry;
            const entry::Keypad& pad = y.Keypad;
            const int aligned = pick(3);  // 0 vertical pair, 1 horizontal pair, 2 any
            int shared = pick(5);
            const tk::Control* toggles[] = {y.SbnX1Zahyo.get(), y.SbnY1Zahyo.get(), y.SbnX2Zahyo.get(),
                                            y.SbnY2Zahyo.get()};
            for (int field = 0; field < 4; ++field) {
                press(*toggles[field]);
                if (pick(4) == 0)
                    press(*pad.BtnMinus);
                if (pick(6) == 0)
                    press(*pad.BtnRoot);
                const bool isX = field % 2 == 0;
                const bool same = (aligned == 0 && isX) || (aligned == 1 && !isX);
                press(pad.DigitKey(same ? shared : pick(6)));
            }
            press(*y.SbnKyori);
            press(pick(2) ? y.BtnKyoriWa : y.BtnKyoriSa);
            press(pad.DigitKey(1 + pick(9)));
            if (pick(3) == 0)
                press(pad.DigitKey(pick(10)));
            press(*pad.BtnKettei);
        }
        return keys;
    }

    // The column of row y whose point comes nearest to fitting the confirmed
    // condition, the way the readout measures it.
    int NearestFit(int k, int y) const
    {
        const ActivityForm& f = Activity(k);
        if (f.Plane.GridUnit == 0)
            return 330;
        int best = 0;
        long double bestError = std::numeric_limits<long double>::infinity();
        for (int x = 0; x < 660; ++x) {
            const plane::RealPoint p = f.Plane.DottoZahyo({static_cast<float>(x), static_cast<float>(y)});
            long double error = 0;
            if (k == 1) {
                const entry::JunsenFields& j = junsen_->Fields;
                const long double pf = plane::Distance(junsen_->FocusF, p);
                const long double ph = std::fabs((j.LineKind == 1 ? p.x : p.y) - static_cast<long double>(j.LineConst));
                error = std::fabs(pf * j.RatioPH - ph * j.RatioPF);
            } else {
                const long double d1 = plane::Distance(syoten_->Focus1, p);
                const long double d2 = plane::Distance(syoten_->Focus2, p);
                const long double v = syoten_->Fields.DistanceKind == 1 ? d1 + d2 : std::fabs(d1 - d2);
                error = std::fabs(v - syoten_->Fields.DistanceValue);
            }
            if (error < bestError) {
                bestError = error;
                best = x;
            }
        }
        return best;
    }

    static bool HasNonNumber(const std::string& text)
    {
        std::string lower = text;
        for (char& c : lower)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return lower.find("nan") != std::string::npos || lower.find("inf") != std::string::npos;
    }

    static inline int messages_ = 0;
    bool realBoxes_;
    std::unique_ptr<box_test::BoxCloser> closer_;
    std::size_t boxesBefore_ = 0;
    std::unique_ptr<app::TMenu2> menu_;
    std::unique_ptr<activities::TJunsen_Form> junsen_;
    std::unique_ptr<activities::TSyoten_Form> syoten_;
    long nonFiniteAtStart_ = plane::NonFiniteRoundoffs();
};

struct Failure {
    std::size_t index;  // the event after which the invariant broke
    std::string what;
};

// Plays the events on fresh windows up to the first broken invariant.
std::optional<Failure> Replay(const std::vector<Event>& events, bool realBoxes)
{
    World world(realBoxes);
    for (std::size_t i = 0; i < events.size(); ++i) {
        world.Apply(events[i]);
        if (auto broken = world.Broken())
            return Failure{i, *broken};
    }
    return std::nullopt;
}

// The invariant's name without the numbers and texts that vary with the
// sequence, for telling whether a shorter sequence breaks the same one.
std::string Category(const std::string& what) { return what.substr(0, what.find_first_of("0123456789\"")); }

// Removes events, in halving chunks, as long as the same invariant breaks.
std::vector<Event> Shrink(std::vector<Event> events, const std::string& what, bool realBoxes,
                          Clock::time_point deadline)
{
    const std::string category = Category(what);
    for (std::size_t chunk = events.size() / 2; chunk >= 1 && Clock::now() < deadline; chunk /= 2) {
        for (std::size_t start = 0; start < events.size() && Clock::now() < deadline;) {
            std::vector<Event> shorter(events.begin(), events.begin() + static_cast<std::ptrdiff_t>(start));
            shorter.insert(shorter.end(), events.begin() + static_cast<std::ptrdiff_t>(std::min(start + chunk, events.size())),
                           events.end());
            const auto failure = Replay(shorter, realBoxes);
            if (failure && Category(failure->what) == category) {
                shorter.resize(failure->index + 1);
                events = std::move(shorter);
            } else {
                start += chunk;
            }
        }
    }
    return events;
}

// Plays seeded sequences for the budget and fails with the shortest
// sequence found that breaks an invariant.
void Soak(bool realBoxes, std::chrono::seconds budget)
{
    // Real boxes and held presses take time: shorter sequences.
    const long eventsPerSeed = EnvOr("ORVALIS_SOAK_EVENTS", realBoxes ? 300 : 2000);
    // A first seed chosen by hand runs a set number of seeds, one unless
    // told; otherwise the run goes from seed 1 for the time budget.
    const long firstSeed = EnvOr("ORVALIS_SOAK_SEED", 0);
    const long seedCount = EnvOr("ORVALIS_SOAK_SEEDS", firstSeed ? 1 : 0);
    const auto start = Clock::now();
    long seeds = 0;
    long played = 0;
    for (long seed = firstSeed ? firstSeed : 1;; ++seed) {
        std::mt19937 rng(static_cast<std::mt19937::result_type>(seed));
        std::vector<Event> events;
        std::optional<Failure> failure;
        {
            World world(realBoxes);
            while (static_cast<long>(events.size()) < eventsPerSeed && !failure) {
                for (const Event& e : world.Draw(rng, seed % 2 == 0)) {
                    events.push_back(e);
                    world.Apply(e);
                    if (auto broken = world.Broken()) {
                        failure = Failure{events.size() - 1, *broken};
                        break;
                    }
                }
            }
        }
        played += static_cast<long>(events.size());
        ++seeds;
        if (failure) {
            const auto shortest = Shrink(events, failure->what, realBoxes, Clock::now() + std::chrono::seconds(60));
            std::ostringstream steps;
            const auto captions = World().Captions();
            for (const Event& e : shortest)
                steps << "\n  " << Describe(e, captions);
            FAIL() << "seed " << seed << ", after event " << failure->index + 1 << ": " << failure->what
                   << "\nshortest sequence found (" << shortest.size() << " events, ORVALIS_SOAK_SEED=" << seed
                   << "):" << steps.str();
        }
        if (seedCount > 0 ? seeds >= seedCount : Clock::now() - start >= budget)
            break;
    }
    std::cout << (realBoxes ? "soak with real boxes: " : "soak: ") << seeds << " seeds, " << played << " events, " << World::Messages()
              << " message boxes, up to " << stats.maxAfterimages << " afterimages, "
              << stats.curveRepaints << " events with a curve shown\n";
    EXPECT_GE(played, realBoxes ? 1 : eventsPerSeed);
}

TEST(Soak, EveryInvariantHoldsWhateverTheStudentsPress)
{
    Soak(false, std::chrono::seconds(EnvOr("ORVALIS_SOAK_SECONDS", 40)));
}

// The message boxes really open, the zoom bar is pressed and held with the
// real mouse and keys, and no box ever stacks on another or comes back from
// the keystroke that closed it.
TEST(Soak, RealMessageBoxesNeverStackNorComeBack)
{
    Soak(true, std::chrono::seconds(EnvOr("ORVALIS_SOAK_REAL_SECONDS", 20)));
}

} // namespace
