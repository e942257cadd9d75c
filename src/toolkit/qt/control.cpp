#include "toolkit/control.h"
#include "native.h"

#include "toolkit/design_scale.h"
#include "qtbridge.h"

#include <QEvent>
#include <QPainter>
#include <QTransform>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace tk {

int WindowShowingEvent()
{
    static const int type = QEvent::registerEventType();
    return type;
}

// Holds a control's font back until its window is about to be shown (or,
// shown some other way, the control itself is): widgets of a window that
// is never shown never open the faces they were given.
class PendingFont : public QObject {
public:
    explicit PendingFont(Control& control) : control_(control)
    {
        AsWidget(control.NativeWidget())->installEventFilter(this);
    }
    bool pending = false;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (pending && (event->type() == WindowShowingEvent() || event->type() == QEvent::Show)) {
            pending = false;
            control_.ApplyFont();
        }
        return false;
    }

private:
    Control& control_;
};

Control::Control(NativeView* view) : widget_(view)
{
    const QWidget* widget = AsWidget(view);
    bounds_ = {widget->x(), widget->y(), widget->x() + widget->width(), widget->y() + widget->height()};
}

Control::~Control() = default;

void Control::SetBounds(int left, int top, int width, int height)
{
    bounds_ = {left, top, left + width, top + height};
    // Scaled edge by edge, so that controls that meet in the design still meet.
    const int l = ToLogical(left), t = ToLogical(top);
    AsWidget(widget_)->setGeometry(l, t, ToLogical(left + width) - l, ToLogical(top + height) - t);
    BoundsChanged();
}

int Control::Left() const { return bounds_.left; }
int Control::Top() const { return bounds_.top; }
int Control::Width() const { return bounds_.Width(); }
int Control::Height() const { return bounds_.Height(); }

void Control::SetVisible(bool visible) { AsWidget(widget_)->setVisible(visible); }
bool Control::Visible() const { return !AsWidget(widget_)->isHidden(); }

void Control::SetFont(const Font& font)
{
    font_ = font;
    ApplyFontColor(font.color);
    if (AsWidget(widget_)->window()->isVisible()) {
        ApplyFont();
        return;
    }
    if (!pendingFont_)
        pendingFont_ = std::make_unique<PendingFont>(*this);
    pendingFont_->pending = true;
}

void Control::ApplyFont()
{
    AsWidget(widget_)->setFont(ToQFont(font_, DesignScale()));
    FontChanged();
}

void Control::SetFontColor(TColor color)
{
    font_.color = color;
    ApplyFontColor(color);
}

void DrawFocusFrame(QWidget* widget, int inset)
{
    if (!widget->hasFocus())
        return;
    // Dots as long as they are thick with gaps of two, the pattern of a
    // one-pixel dotted pen, all in whole device pixels: a design pixel of
    // the frame is as thick on the screen as a design pixel of anything
    // else, whatever the design scale and the device's pixel ratio.
    const double ratio = widget->devicePixelRatioF();
    const double unit = DesignScale() * ratio;
    const int dot = DesignStroke(ratio);
    const int in = static_cast<int>(std::lround(inset * unit));
    const int left = in, top = in;
    const int right = static_cast<int>(std::lround(widget->width() * ratio)) - in;
    const int bottom = static_cast<int>(std::lround(widget->height() * ratio)) - in;
    if (right - left < 2 * dot || bottom - top < 2 * dot)
        return;
    QPainter p(widget);
    // Device pixels: undo the painter's scaling to the device.
    p.setTransform(QTransform::fromScale(1 / ratio, 1 / ratio));
    const QColor colour = widget->palette().color(QPalette::WindowText);
    for (int x = left; x < right; x += 3 * dot) {
        const int length = std::min(dot, right - x);
        p.fillRect(x, top, length, dot, colour);
        p.fillRect(x, bottom - dot, length, dot, colour);
    }
    for (int y = top; y < bottom; y += 3 * dot) {
        const int length = std::min(dot, bottom - y);
        p.fillRect(left, y, dot, length, colour);
        p.fillRect(right - dot, y, dot, length, colour);
    }
}

void Control::ApplyFontColor(TColor color) { SetTextColor(AsWidget(widget_), color); }

} // namespace tk
