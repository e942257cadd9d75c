#pragma once

#include <QEvent>

class QWidget;

namespace tk {

// Sent to every control of a window that a modal window blocks: a control
// that tracks a press of its own (the scroll bar) ends it without effect.
QEvent::Type CancelPressEvent();

// Ends every press in progress in the window, as the platform does when a
// modal window takes the mouse capture: held push buttons come up without a
// click, and the scroll bar stops repeating and lets go of its thumb.
void CancelPresses(QWidget* window);

} // namespace tk
