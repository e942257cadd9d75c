#pragma once

// Drives the program as a user does, for tests: presses, clicks, keys and
// the pointer go through the platform's own input path to the native
// controls, so that the same code runs as for a user; and reads back what a
// user sees. Positions are design pixels. Each backend implements this
// header; the program itself never calls it.

#include "canvas.h"
#include "control.h"
#include "paintbox.h"

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tk {

class Form;
class ScrollBar;

namespace drive {

// The keys the tests press.
enum class Key {
    Space, Return, Escape, Tab, Backtab,
    Left, Right, Up, Down, Home, End, PageUp, PageDown,
    Minus, D0, D1, D2, D3, D4, D5, D6, D7, D8, D9,
};

// The event loop.
// Handles whatever input and timers are pending.
void ProcessEvents();
// Keeps handling events for the time (held presses repeat meanwhile).
void Wait(int milliseconds);
// Runs the function from the event loop, once, as soon as it is idle.
void Later(std::function<void()> function);
// Runs the event loop as Application::Run does, but showing nothing first,
// until the program ends the run or EndRun does; returns the run's code.
int RunEventLoop();
// Ends the run with the code.
void EndRun(int code);

// Runs a function from the event loop every so often while it lives.
class Ticker {
public:
    Ticker(int milliseconds, std::function<void()> tick);
    ~Ticker();
    Ticker(const Ticker&) = delete;
    Ticker& operator=(const Ticker&) = delete;

private:
    struct Native;
    std::unique_ptr<Native> native_;
};

// What a user sees of the controls.
// Whether the user sees the control: it and every parent up to its window
// are shown, and the window is.
bool Shown(const Control& control);
// Every control of the window, each parent before its children, in the order
// they were made.
std::vector<Control*> Controls(const Form& form);

// Presses with the mouse. A control the user cannot see, or a disabled one,
// cannot be pressed: these then do nothing and return false.
// A click of the left button at the control's centre.
[[nodiscard]] bool Press(const Control& control);
// The left button pressed on the control and held; Release lets it go.
[[nodiscard]] bool Hold(const Control& control);
void Release(const Control& control);

// A click on design pixel `at` of the paint box, on a whole device pixel
// inside that design pixel at any device scale, with the keys of `shift`
// held (ssShift, ssCtrl, ssAlt).
[[nodiscard]] bool Click(const PaintBox& box, Point at, MouseButton button = MouseButton::Left,
                         ShiftState shift = 0);
// Press, release, the second press as a double click, release.
[[nodiscard]] bool DoubleClick(const PaintBox& box, Point at, MouseButton button = MouseButton::Left);
// A click of the left button at design pixel `at` of a window's content.
[[nodiscard]] bool Click(const Form& form, Point at);

// The parts of a horizontal scroll bar, as its style lays them out now.
enum class BarPart { LeftArrow, RightArrow, LeftTrough, RightTrough, Thumb };
// A click on the middle of the part.
[[nodiscard]] bool Press(const ScrollBar& bar, BarPart part);
// The left button pressed on the middle of the part and held (an arrow or
// the trough repeats while it is held); MovePointer moves the pointer with
// the button held, `dx` design pixels right of where it went down; Release
// lets the button go where the pointer is.
[[nodiscard]] bool Hold(const ScrollBar& bar, BarPart part);
void MovePointer(const ScrollBar& bar, int dx);
void Release(const ScrollBar& bar);
// The thumb taken and dragged so that it stands at each position in turn,
// then let go.
[[nodiscard]] bool DragThumb(const ScrollBar& bar, std::span<const int> positions);

// The bar's own menu (a right click on it): each item gives the bar one
// notification, as an arrow or the trough gives it but without the end of
// the scroll that letting the mouse go adds.
enum class BarMenuItem { LeftEnd, RightEnd, PageLeft, PageRight, StepLeft, StepRight };
// Opens the menu in the middle of the bar and clicks the item; false when
// the bar cannot be used or the item is not there.
[[nodiscard]] bool ChooseFromMenu(const ScrollBar& bar, BarMenuItem item);

// The keyboard: keys go where the platform sends them now, to the focused
// control, else to the active window.
void KeyPress(Key key, ShiftState shift = 0);
void KeyRelease(Key key);
void KeyClick(Key key, ShiftState shift = 0);
// A key to a window: to its focused control, or to the window itself.
void KeyClick(const Form& form, Key key);
// Gives the control the keyboard focus, as the program itself may.
void Focus(const Control& control);
// The control that has the keyboard focus, if the focus is on one.
Control* Focused();
// The control of the window that has, or will have when the window is
// active, the focus.
Control* FocusedIn(const Form& form);

// The windows.
// The window the platform has active (null for none, or a message box).
Form* ActiveWindow();

// The message boxes.
struct Box {
    const void* id;  // the same while the box stays open
    std::string title;
    std::string text;  // lines broken with "\n"
};
// The message boxes open now, oldest first.
std::vector<Box> OpenBoxes();
// The modal box that takes the input now, if any.
std::optional<Box> ModalBox();
enum class CloseBy { Return, Escape, Space, Mouse };
// Closes the modal box as a user does: Return or Escape pressed in it (their
// release is the caller's, to wherever the keys go once the box is gone),
// Space on its OK button, or a click on OK. Returns whether it closed.
bool CloseBox(CloseBy by);
// Closes the modal box as its OK does, when no key could.
void AcceptBox();

// A canvas on an image of its own, white, `scale` device pixels per design
// pixel: for drawing what a surface of the program is expected to show.
class Sketch {
public:
    Sketch(int width, int height, double scale);
    ~Sketch();
    Sketch(const Sketch&) = delete;
    Sketch& operator=(const Sketch&) = delete;
    Canvas& GetCanvas() { return canvas_; }

private:
    struct Native;
    std::unique_ptr<Native> native_;
    Canvas canvas_;
};

} // namespace drive
} // namespace tk
