#include "toolkit/paintbox.h"
#include "native.h"

#include "device_image.h"
#include "qtbridge.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

namespace tk {

// The native surface: it only shows the retained image; the program's
// drawing happens outside Qt's paint event.
class PaintBoxWidget : public QWidget {
public:
    PaintBoxWidget(PaintBox* owner, QWidget* parent) : QWidget(parent), owner_(owner), viewer_(this)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_StaticContents);
    }

    // Held at device resolution: `scale` device pixels per design pixel.
    Image image;
    double scale = 1.0;

    // The box is gone; its widget lives on until its window goes.
    void Orphan() { owner_ = nullptr; }

    // Makes the image hold the widget's device pixels, drawn on in design
    // pixels, keeping what it shows; returns true when it had to be remade.
    bool FitImage()
    {
        const double wanted = DeviceScale(this);
        const DeviceGrid grid(wanted);
        // The design size, whatever the window system made of it.
        const QSize pixels(grid.EdgeClamped(owner_->Width()), grid.EdgeClamped(owner_->Height()));
        if (!image.IsNull() && QSize(image.Width(), image.Height()) == pixels.expandedTo(QSize(1, 1)) &&
            scale == grid.Scale())
            return false;
        owner_->canvas_.Flush();
        image = RemadeImage(image, scale, pixels, grid.Scale(), owner_->color_);
        scale = grid.Scale();
        owner_->canvas_.Attach(&image, &viewer_, scale);
        return true;
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        if (FitImage())
            owner_->RequestPaint();
        owner_->canvas_.Flush();
        QPainter p(this);
        ShowImage(p, image, event->rect());
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
    void hideEvent(QHideEvent* event) override
    {
        // Nothing shows the image while the box is hidden, and OnPaint draws
        // it whole again when the box is shown: a hidden box lets it go. A
        // window the window system only minimized keeps it. (A window that
        // is destroyed hides its children after the boxes in it are gone.)
        if (!owner_ || event->spontaneous())
            return;
        owner_->canvas_.Flush();
        image = Image();
        owner_->canvas_.Attach(nullptr, &viewer_, scale);
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
        // The design pixel that holds the device pixel under the pointer.
        const QPoint device = ImagePixelAt(this, event->position(), event->scenePosition());
        const DeviceGrid& grid = owner_->canvas_.Grid();
        if (owner_->OnMouseDown)
            owner_->OnMouseDown(owner_, button, shift, grid.DesignPixelAt(device.x()), grid.DesignPixelAt(device.y()));
    }

    PaintBox* owner_;
    WidgetViewer viewer_;
};

PaintBox::PaintBox(Container& parent) : Control(AsView(new PaintBoxWidget(this, AsWidget(parent.ClientWidget()))))
{
    box_ = static_cast<PaintBoxWidget*>(AsWidget(NativeWidget()));
    box_->FitImage();
}

PaintBox::~PaintBox()
{
    canvas_.Flush();
    box_->Orphan();
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
