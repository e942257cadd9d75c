#pragma once

// A retained image held at device resolution and the widget that shows it
// pixel for pixel.

#include "toolkit/canvas.h"
#include "toolkit/image.h"

#include <QImage>
#include <QPoint>

class QColor;
class QPainter;
class QRect;
class QWidget;

namespace tk {

// Device pixels per design pixel of the widget: Qt's device pixel ratio of
// its window times the design scale. This is the one number the drawing
// scales by.
double DeviceScale(const QWidget* widget);

// The image's own pixels as a QImage, no copy: valid while the image is
// neither remade nor destroyed.
QImage Wrapped(Image& image);
QImage Wrapped(const Image& image);

// A fresh image of `pixels` filled with `fill`, showing what `old` (held at
// `oldScale`) showed, at `scale`.
Image RemadeImage(const Image& old, double oldScale, QSize pixels, double scale, TColor fill);

// Copies the part of the image under the widget's area (logical
// coordinates) to the paint device one image pixel to one device pixel,
// the image's origin on the device pixel nearest to the widget's origin, as
// Qt places the widget's own area; never resampled, also where the widget
// starts on a fraction of a device pixel.
void ShowImage(QPainter& painter, const Image& image, const QRect& area);

// Shows the areas a canvas drew on a widget: design pixels become the
// widget's logical pixels, the design's times the design scale.
class WidgetViewer : public CanvasViewer {
public:
    explicit WidgetViewer(QWidget* widget) : widget_(widget) {}
    void ShowArea(const Rect& area) override;

private:
    QWidget* widget_;
};

// The image pixel (as placed by ShowImage) under a press that Qt reports at
// `position` in the widget and `windowPosition` in its window (a mouse
// event's position() and scenePosition()), in logical coordinates.
QPoint ImagePixelAt(const QWidget* widget, QPointF position, QPointF windowPosition);

} // namespace tk
