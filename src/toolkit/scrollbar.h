#pragma once

#include "control.h"

#include <functional>

namespace tk {

class Container;
class ScrollBarWidget;

enum class ScrollCode {
    LineUp,
    LineDown,
    PageUp,
    PageDown,
    Position,  // thumb released
    Track,     // thumb dragged
    Top,
    Bottom,
    EndScroll,
};

// The position passed to OnScroll is the bar's new position, clamped to its
// range and not yet stored in the bar; a handler may change it.
using ScrollEvent = std::function<void(Object* sender, ScrollCode code, int& position)>;

// A horizontal scroll bar that reports every notification.
class ScrollBar : public Control {
public:
    explicit ScrollBar(Container& parent);

    void SetRange(int minimum, int maximum);
    int Min() const;
    int Max() const;
    int Position() const;
    // Sets the position from code; raises no event.
    void SetPosition(int position);
    void SetPageSize(int pageSize);
    void SetSteps(int lineStep, int pageStep);

    ScrollEvent OnScroll;

private:
    friend class ScrollBarWidget;
    ScrollBarWidget* bar_;
};

} // namespace tk
