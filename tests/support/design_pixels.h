#pragma once

// What a user does and sees in design pixels, whatever the device scale the
// tests run at (Qt's own scaling times the design scale): a press on a
// design pixel lands where the pointer is on a whole device pixel inside it,
// and what a surface shows is measured in its device pixels against what a
// pen of a design width gives there. A single design pixel of a surface is
// read with Canvas::Pixel, at the device pixel at its centre.

#include "toolkit/canvas.h"
#include "toolkit/device_grid.h"
#include "toolkit/qt/device_image.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPoint>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace design_test {

// The device pixels of the widget's design pixels.
inline tk::DeviceGrid Grid(const QWidget* widget) { return tk::DeviceGrid(tk::DeviceScale(widget)); }

// Where, in the widget's logical coordinates, the window system reports a
// pointer on device pixel `device` of the widget's own area: a whole device
// pixel of the window divided by Qt's ratio. The widget's area starts on
// the device pixel nearest to its origin.
inline QPointF PointerAtDevicePixel(const QWidget* widget, QPoint device)
{
    const double ratio = widget->devicePixelRatioF();
    const QPointF offset = widget->mapTo(widget->window(), QPointF(0, 0));
    const QPointF window(std::round(offset.x() * ratio) + device.x(), std::round(offset.y() * ratio) + device.y());
    return window / ratio - offset;
}

// The same for the device pixel at the centre of design pixel `design`.
inline QPointF PointerAt(const QWidget* widget, QPoint design)
{
    const tk::DeviceGrid grid = Grid(widget);
    return PointerAtDevicePixel(widget, QPoint(static_cast<int>(grid.CentrePixel(design.x())),
                                               static_cast<int>(grid.CentrePixel(design.y()))));
}

// One mouse event at a logical position, as the window system delivers it.
inline void Send(QWidget* widget, QEvent::Type type, QPointF at, Qt::MouseButton button,
                 Qt::KeyboardModifiers modifiers)
{
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::MouseButtons(Qt::NoButton) : Qt::MouseButtons(button);
    QMouseEvent event(type, at, widget->mapToGlobal(at), button, held, modifiers);
    QApplication::sendEvent(widget, &event);
}

// A press and release of the button at a logical position.
inline void ClickAtPointer(QWidget* widget, QPointF at, Qt::MouseButton button = Qt::LeftButton,
                           Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    Send(widget, QEvent::MouseButtonPress, at, button, modifiers);
    Send(widget, QEvent::MouseButtonRelease, at, button, modifiers);
}

// A click of the button on design pixel `design` of the widget.
inline void Click(QWidget* widget, QPoint design, Qt::MouseButton button = Qt::LeftButton,
                  Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    ClickAtPointer(widget, PointerAt(widget, design), button, modifiers);
}

// A double click on design pixel `design` as a widget receives it: press,
// release, the second press as a double click, release.
inline void DoubleClick(QWidget* widget, QPoint design, Qt::MouseButton button = Qt::LeftButton)
{
    const QPointF at = PointerAt(widget, design);
    ClickAtPointer(widget, at, button);
    Send(widget, QEvent::MouseButtonDblClick, at, button, Qt::NoModifier);
    Send(widget, QEvent::MouseButtonRelease, at, button, Qt::NoModifier);
}

// The device pixels of one colour within a design rectangle of a canvas:
// how many, and their bounds (inclusive).
struct Ink {
    int count = 0;
    int left = 1 << 29, top = 1 << 29, right = -1, bottom = -1;
    int Width() const { return right - left + 1; }
    int Height() const { return bottom - top + 1; }
};

inline Ink InkOf(const tk::Canvas& c, tk::TColor colour, const tk::Rect& design)
{
    const tk::DeviceGrid& g = c.Grid();
    const int left = std::max(0, g.EdgeClamped(design.left));
    const int right = std::min(c.DeviceWidth(), g.EdgeClamped(design.right));
    const int top = std::max(0, g.EdgeClamped(design.top));
    const int bottom = std::min(c.DeviceHeight(), g.EdgeClamped(design.bottom));
    Ink ink;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (c.DevicePixel(x, y) == colour) {
                ++ink.count;
                ink.left = std::min(ink.left, x), ink.right = std::max(ink.right, x);
                ink.top = std::min(ink.top, y), ink.bottom = std::max(ink.bottom, y);
            }
    return ink;
}

// How much farther from the true line a line drawn at the grid's scale may
// be found when read back in design pixels: its pen lies within half a
// device pixel of its design place, and the device pixel read for a design
// pixel within half a device pixel of that pixel's centre.
inline double Slack(const tk::DeviceGrid& g) { return g.IsUnit() ? 0 : 1 / g.Scale(); }

// How many device pixels the canvas's disc of a pen of the design width
// covers at the scale (21 for 5 at one device pixel per design pixel).
inline int DiscPixels(const tk::DeviceGrid& g, int designWidth)
{
    tk::Image image(g.EdgeClamped(4 * designWidth), g.EdgeClamped(4 * designWidth));
    tk::Canvas c;
    c.Attach(&image, nullptr, g.Scale());
    c.SetPenColor(tk::clBlack);
    c.SetPenWidth(designWidth);
    c.MoveTo(2 * designWidth, 2 * designWidth);
    c.LineTo(2 * designWidth, 2 * designWidth);
    c.Flush();
    return InkOf(c, tk::clBlack, {0, 0, 4 * designWidth, 4 * designWidth}).count;
}

// Whether the ink is a round disc as wide as a pen of the design width,
// centred on design pixel `at` (a disc of even width on its top-left
// corner), within half a device pixel.
inline ::testing::AssertionResult IsDisc(const Ink& ink, const tk::DeviceGrid& g, int designWidth, QPoint at)
{
    const int d = g.PenWidth(designWidth);
    const double odd = designWidth % 2 == 1 ? 0.5 : 0;
    const double cx = (at.x() + odd) * g.Scale(), cy = (at.y() + odd) * g.Scale();
    auto failure = [&] {
        return ::testing::AssertionFailure() << "at scale " << g.Scale() << " the ink spans device pixels " << ink.left
                                             << ".." << ink.right << " x " << ink.top << ".." << ink.bottom << " ("
                                             << ink.count << " pixels), a disc of " << d << " centred on (" << cx
                                             << ", " << cy << ") was expected";
    };
    if (ink.Width() != d || ink.Height() != d)
        return failure() << ": not as wide as the pen";
    if (std::fabs(ink.count - 3.14159 * d * d / 4) > d)
        return failure() << ": not round";
    if (ink.count != DiscPixels(g, designWidth))
        return failure() << ": not the pen's disc, or partly covered";
    if (std::fabs((ink.left + ink.right + 1) / 2.0 - cx) > 0.5 + 1e-9 ||
        std::fabs((ink.top + ink.bottom + 1) / 2.0 - cy) > 0.5 + 1e-9)
        return failure() << ": off centre";
    return ::testing::AssertionSuccess();
}

} // namespace design_test
