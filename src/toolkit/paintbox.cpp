#include "paintbox.h"

#include "design_scale.h"
#include "qtbridge.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace tk {

// The native surface: it only shows the retained image; the program's
// drawing happens outside Qt's paint event.
class PaintBoxWidget : public QWidget {
public:
    PaintBoxWidget(PaintBox* owner, QWidget* parent) : QWidget(parent), owner_(owner)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_StaticContents);
    }

    QImage image;

    // Makes the image hold the widget's device pixels, drawn on in design
    // pixels, keeping what it shows; returns true when it had to be remade.
    bool FitImage()
    {
        const qreal dpr = devicePixelRatioF();
        const qreal ratio = dpr * DesignScale();
        const QSize pixels = size() * dpr;
        if (!image.isNull() && image.size() == pixels && image.devicePixelRatio() == ratio)
            return false;
        owner_->canvas_.Flush();
        QImage fresh(pixels.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
        fresh.setDevicePixelRatio(ratio);
        fresh.fill(ToQColor(owner_->color_));
        if (!image.isNull()) {
            QPainter p(&fresh);
            p.drawImage(QPointF(0, 0), image);
        }
        image = std::move(fresh);
        owner_->canvas_.Attach(&image, this);
        return true;
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        if (FitImage())
            owner_->RequestPaint();
        owner_->canvas_.Flush();
        QPainter p(this);
        const QRect r = event->rect();
        const qreal dpr = devicePixelRatioF();
        p.drawImage(r, image, QRectF(r.topLeft() * dpr, r.size() * dpr));
    }
    void resizeEvent(QResizeEvent*) override
    {
        if (FitImage() && isVisible())
            owner_->RequestPaint();
    }
    void showEvent(QShowEvent*) override
    {
        FitImage();
        owner_->RequestPaint();
    }
    void mousePressEvent(QMouseEvent* event) override { MouseDown(event, 0); }
    // A second press in quick succession is still a press.
    void mouseDoubleClickEvent(QMouseEvent* event) override { MouseDown(event, ssDouble); }

private:
    void MouseDown(QMouseEvent* event, ShiftState extra)
    {
        MouseButton button = MouseButton::Left;
        if (event->button() == Qt::RightButton)
            button = MouseButton::Right;
        else if (event->button() == Qt::MiddleButton)
            button = MouseButton::Middle;
        ShiftState shift = extra;
        const auto mods = event->modifiers();
        if (mods & Qt::ShiftModifier)
            shift |= ssShift;
        if (mods & Qt::AltModifier)
            shift |= ssAlt;
        if (mods & Qt::ControlModifier)
            shift |= ssCtrl;
        const auto buttons = event->buttons();
        if (buttons & Qt::LeftButton)
            shift |= ssLeft;
        if (buttons & Qt::RightButton)
            shift |= ssRight;
        if (buttons & Qt::MiddleButton)
            shift |= ssMiddle;
        // The design pixel under the pointer.
        const QPointF at = event->position() / DesignScale();
        const int x = static_cast<int>(std::floor(std::clamp(at.x(), -1e6, 1e6)));
        const int y = static_cast<int>(std::floor(std::clamp(at.y(), -1e6, 1e6)));
        if (owner_->OnMouseDown)
            owner_->OnMouseDown(owner_, button, shift, x, y);
    }

    PaintBox* owner_;
};

PaintBox::PaintBox(Container& parent) : Control(new PaintBoxWidget(this, parent.ClientWidget()))
{
    box_ = static_cast<PaintBoxWidget*>(NativeWidget());
    box_->FitImage();
}

void PaintBox::SetColor(TColor color) { color_ = color; }

void PaintBox::BoundsChanged()
{
    // The image follows the bounds at once, also while the window is hidden.
    if (box_->FitImage() && box_->isVisible())
        RequestPaint();
}

void PaintBox::RequestPaint()
{
    if (paintPending_)
        return;
    paintPending_ = true;
    // Raised from the event loop, after whatever showed the window returned.
    QMetaObject::invokeMethod(box_, [this] { RaisePaint(); }, Qt::QueuedConnection);
}

void PaintBox::RaisePaint()
{
    paintPending_ = false;
    if (!box_->isVisible())
        return;
    box_->FitImage();
    canvas_.SetBrushColor(color_);
    canvas_.SetBrushStyle(BrushStyle::Solid);
    if (OnPaint)
        OnPaint(this);
}

} // namespace tk
