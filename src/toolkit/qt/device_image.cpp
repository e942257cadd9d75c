#include "device_image.h"

#include "toolkit/design_scale.h"
#include "native.h"

#include <QColor>
#include <QPainter>
#include <QRect>
#include <QTransform>
#include <QWidget>

#include <cmath>

namespace tk {

double DeviceScale(const QWidget* widget)
{
    // Held to a multiple of 2^-20, so that a factor fitted to the device
    // pixels and divided by the ratio gives that fit back exactly.
    const double scale = widget->devicePixelRatioF() * DesignScale();
    return std::isfinite(scale) ? std::round(scale * 0x1p20) / 0x1p20 : 1.0;
}

QImage Wrapped(Image& image)
{
    if (image.IsNull())
        return QImage();
    return QImage(reinterpret_cast<uchar*>(image.Bits()), image.Width(), image.Height(),
                  static_cast<qsizetype>(image.Stride() * 4), QImage::Format_RGB32);
}

QImage Wrapped(const Image& image)
{
    if (image.IsNull())
        return QImage();
    return QImage(reinterpret_cast<const uchar*>(image.Bits()), image.Width(), image.Height(),
                  static_cast<qsizetype>(image.Stride() * 4), QImage::Format_RGB32);
}

Image RemadeImage(const Image& old, double oldScale, QSize pixels, double scale, TColor fill)
{
    const QSize size = pixels.expandedTo(QSize(1, 1));
    Image fresh(size.width(), size.height(), PixelOf(fill));
    if (!old.IsNull() && !fresh.IsNull()) {
        QImage target = Wrapped(fresh);
        QPainter p(&target);
        // Until the program draws again at the new scale.
        if (oldScale != scale && oldScale > 0)
            p.scale(scale / oldScale, scale / oldScale);
        p.drawImage(QPointF(0, 0), Wrapped(old));
    }
    return fresh;
}

void WidgetViewer::ShowArea(const Rect& area)
{
    const double f = DesignScale();
    if (f == 1.0)
        widget_->update(area.left, area.top, area.Width(), area.Height());
    else
        widget_->update(QRectF(area.left * f, area.top * f, area.Width() * f, area.Height() * f)
                            .toAlignedRect()
                            .adjusted(-1, -1, 1, 1));
}

void ShowImage(QPainter& painter, const Image& source, const QRect& area)
{
    const QImage image = Wrapped(source);
    const QTransform device = painter.deviceTransform();
    if (device.type() <= QTransform::TxTranslate && device.dx() == std::floor(device.dx()) &&
        device.dy() == std::floor(device.dy())) {
        painter.drawImage(area, image, area);
        return;
    }
    const QPointF origin = device.map(QPointF(0, 0));
    const QPoint o(qRound(origin.x()), qRound(origin.y()));
    // One device pixel more on each side: the widget's own area rounds its
    // edges to device pixels, and the painter clips to it.
    const QRect part =
        device.mapRect(QRectF(area)).toAlignedRect().translated(-o).adjusted(-1, -1, 1, 1) & image.rect();
    if (part.isEmpty())
        return;
    // The painter's transform below the world transform (the widget's
    // offset and the device pixel ratio) is undone, so that the image lands
    // at whole device pixels.
    const QTransform rest = painter.worldTransform().inverted() * device;
    painter.save();
    painter.setWorldTransform(QTransform::fromTranslate(o.x(), o.y()) * rest.inverted());
    painter.drawImage(part.topLeft(), image, part);
    painter.restore();
}

QPoint ImagePixelAt(const QWidget* widget, QPointF position, QPointF windowPosition)
{
    const double dpr = widget->devicePixelRatioF();
    const QPointF offset = widget->mapTo(widget->window(), QPointF(0, 0));
    // Qt hands a widget the press rounded to whole logical pixels, which at
    // a ratio above 1 may be the next device pixel; the position in the
    // window is the native one divided by the ratio, exact, and counted from
    // the native window's own origin, wherever the window lies on the
    // screen. A press made for the widget alone carries its own position in
    // both, and is taken as it is.
    const QPointF inWidget = position + offset;
    const QPointF rounding = windowPosition - inWidget;
    const bool exact = std::abs(rounding.x()) <= 0.5 + 1e-6 && std::abs(rounding.y()) <= 0.5 + 1e-6;
    const QPointF device = (exact ? windowPosition : inWidget) * dpr;
    const QPoint o(qRound(offset.x() * dpr), qRound(offset.y() * dpr));
    // Native positions are whole device pixels; the division by the ratio
    // that made the logical position may leave them a hair below.
    const auto pixel = [](double v) {
        const double f = std::floor(v + 1e-3);
        return f > -(1 << 29) && f < (1 << 29) ? static_cast<int>(f) : 0;
    };
    return QPoint(pixel(device.x()) - o.x(), pixel(device.y()) - o.y());
}

} // namespace tk
