#include "control.h"

#include "design_scale.h"
#include "qtbridge.h"

#include <QEvent>
#include <QPainter>
#include <QWidget>

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
    explicit PendingFont(Control& control) : control_(control) { control.NativeWidget()->installEventFilter(this); }
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

Control::Control(QWidget* widget)
    : widget_(widget),
      bounds_{widget->x(), widget->y(), widget->x() + widget->width(), widget->y() + widget->height()}
{
}

Control::~Control() = default;

void Control::SetBounds(int left, int top, int width, int height)
{
    bounds_ = {left, top, left + width, top + height};
    // Scaled edge by edge, so that controls that meet in the design still meet.
    const int l = ToLogical(left), t = ToLogical(top);
    widget_->setGeometry(l, t, ToLogical(left + width) - l, ToLogical(top + height) - t);
    BoundsChanged();
}

int Control::Left() const { return bounds_.left; }
int Control::Top() const { return bounds_.top; }
int Control::Width() const { return bounds_.Width(); }
int Control::Height() const { return bounds_.Height(); }

void Control::SetVisible(bool visible) { widget_->setVisible(visible); }
bool Control::Visible() const { return !widget_->isHidden(); }

void Control::SetFont(const Font& font)
{
    font_ = font;
    ApplyFontColor(font.color);
    if (widget_->window()->isVisible()) {
        ApplyFont();
        return;
    }
    if (!pendingFont_)
        pendingFont_ = std::make_unique<PendingFont>(*this);
    pendingFont_->pending = true;
}

void Control::ApplyFont()
{
    widget_->setFont(ToQFont(font_, DesignScale()));
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
    QPainter p(widget);
    QPen pen(widget->palette().color(QPalette::WindowText), 1, Qt::DotLine);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(widget->rect().adjusted(inset, inset, -inset - 1, -inset - 1));
}

void Control::ApplyFontColor(TColor color) { SetTextColor(widget_, color); }

} // namespace tk
