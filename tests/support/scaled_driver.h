#pragma once

// The program fitted to another screen, and presses delivered the way the
// window system delivers them.

#include "toolkit/design_scale.h"

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <QWindow>

namespace form_test {

// The program fitted to another screen while it lives: the windows made
// meanwhile are laid out at that design scale.
struct DesignScaled {
    explicit DesignScaled(double s) : before(tk::DesignScale()) { tk::SetDesignScale(s); }
    ~DesignScaled() { tk::SetDesignScale(before); }
    DesignScaled(const DesignScaled&) = delete;
    DesignScaled& operator=(const DesignScaled&) = delete;
    double before;
};

// A press and release of the left button at `at`, in the window's logical
// coordinates, delivered through the window as the window system delivers
// it: Qt makes the native position of it, and rounds the position it hands
// the widget under it to whole logical pixels.
inline void PressWindow(QWidget* window, QPointF at)
{
    static int timestamp = 0;
    QWindow* native = window->windowHandle();
    const QPointF global = at + native->position();
    timestamp += 1000;  // never a double click
    qt_handleMouseEvent(native, at, global, Qt::LeftButton, Qt::LeftButton, QEvent::MouseButtonPress,
                        Qt::NoModifier, timestamp);
    qt_handleMouseEvent(native, at, global, Qt::NoButton, Qt::LeftButton, QEvent::MouseButtonRelease,
                        Qt::NoModifier, timestamp + 1);
    QApplication::processEvents();
}

} // namespace form_test
