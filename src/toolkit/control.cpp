#include "control.h"

#include "design_scale.h"
#include "qtbridge.h"

#include <QPainter>
#include <QWidget>

namespace tk {

Control::Control(QWidget* widget)
    : widget_(widget),
      bounds_{widget->x(), widget->y(), widget->x() + widget->width(), widget->y() + widget->height()}
{
}

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
    widget_->setFont(ToQFont(font, DesignScale()));
    ApplyFontColor(font.color);
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
