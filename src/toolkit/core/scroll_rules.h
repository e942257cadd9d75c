#pragma once

#include "presses.h"
#include "toolkit/scrollbar.h"

#include <cstddef>
#include <functional>
#include <set>
#include <span>

namespace tk::core {

// The parts of a horizontal bar a pointer can press.
enum class ScrollPart { None, LineLeft, LineRight, PageLeft, PageRight, Thumb };

// The keys a bar knows; Other stands for every other key.
enum class ScrollKey { Left, Right, Up, Down, PageUp, PageDown, Home, End, Other };

// The designed platform's repeat of a held arrow or trough: one step at the
// press, the next after the delay, then one every interval.
constexpr int kScrollRepeatDelayMs = 200;
constexpr int kScrollRepeatIntervalMs = 50;

// One entry of the bar's own menu; a null text is a separator. The item
// with the code Position scrolls to where the menu was opened.
struct ScrollMenuItem {
    const char* text;
    ScrollCode code;
};
std::span<const ScrollMenuItem> ScrollMenu();

// What a platform does for a scroll bar: shows the bar's state (range,
// position, steps, the part held), tells which part lies under the pointer
// now, and runs the bar's one single-shot timer, which calls
// ScrollBarRules::TimerFired when it runs out.
class ScrollBarPort {
public:
    virtual void ShowState() = 0;
    virtual ScrollPart PartUnderPointer() const = 0;
    virtual void StartTimer(int ms) = 0;
    virtual void StopTimer() = 0;

protected:
    ~ScrollBarPort() = default;
};

// A horizontal scroll bar's behaviour. Every notification carries the new
// position, clamped to the range, before the bar stores it; the handler may
// change it, and the bar stores what it leaves, clamped again. Releasing
// the mouse or a key ends the scroll with EndScroll, but only for a press
// the bar itself handled: a key pressed elsewhere (the Return that closed a
// message box, the Tab that brought the focus here) ends nothing, nor does
// an auto-repeat release. A cancelled press (a modal box appeared) ends at
// once with no further notification.
class ScrollBarRules : public PressHolder {
public:
    using Notify = std::function<void(ScrollCode code, int& position)>;

    explicit ScrollBarRules(ScrollBarPort& port) : port_(port) {}

    Notify onScroll;

    // A maximum below the minimum is taken as the minimum.
    void SetRange(int minimum, int maximum);
    int Min() const { return min_; }
    int Max() const { return max_; }
    int Position() const { return position_; }
    // Sets the position from code; raises no notification.
    void SetPosition(int position);
    void SetSteps(int lineStep, int pageStep);
    // A page size above 0 is also the page step; 0 keeps a plain thumb.
    void SetPageSize(int pageSize);
    int LineStep() const { return line_; }
    int PageStep() const { return page_; }
    ScrollPart Held() const { return held_; }

    // One notification with the code's new position (`target` for Track
    // and Position), then the bar stores it.
    void Scroll(ScrollCode code, int target = 0);

    // The left button went down on a part: an arrow or the trough steps at
    // once and repeats while held; the thumb starts a drag.
    void PointerPressed(ScrollPart part);
    // The pointer moved while the thumb is held: the position it puts the
    // thumb at (Track, when it differs from the bar's).
    void PointerDragged(int position);
    void PointerReleased();
    void TimerFired();
    // A key went down with no modifier other than the keypad's (`modified`
    // when there was one); true when the bar used it.
    bool KeyPressed(ScrollKey key, bool modified);
    bool KeyReleased(ScrollKey key, bool autoRepeat);
    // The bar lost the keyboard focus: the keys held end nothing.
    void FocusLost() { keys_.clear(); }
    // An item of ScrollMenu() was chosen; `here` is the position under the
    // pointer where the menu was opened.
    void MenuChosen(std::size_t item, int here);

    void CancelPress() override;

private:
    int Clamp(long long position) const;
    static ScrollCode CodeOf(ScrollPart part);

    ScrollBarPort& port_;
    int min_ = 0, max_ = 100, position_ = 0, line_ = 1, page_ = 1;
    ScrollPart held_ = ScrollPart::None;
    // Counts the presses and their ends, so that a press ended while a
    // notification ran (a modal box) is seen after it.
    unsigned press_ = 0;
    std::set<ScrollKey> keys_;
};

} // namespace tk::core
