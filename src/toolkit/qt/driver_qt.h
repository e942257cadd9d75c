#pragma once

// The pointer of tk::drive in Qt's own terms, for the tests that are about
// how Qt reports it; only they and the backend include this.

#include <QPoint>
#include <QPointF>

class QWidget;

namespace tk::drive {

// Where, in the widget's logical coordinates, the window system reports a
// pointer on device pixel `device` of the widget's own area: a whole device
// pixel of the window divided by Qt's ratio. The widget's area starts on the
// device pixel nearest to its origin.
QPointF PointerAtDevicePixel(const QWidget* widget, QPoint device);
// A press and release of the left button at a logical position of the
// widget, as the window system delivers them to it.
void ClickAtPointer(QWidget* widget, QPointF at);

} // namespace tk::drive
