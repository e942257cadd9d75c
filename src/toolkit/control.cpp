#include "control.h"

#include "qtbridge.h"

#include <QPainter>
#include <QWidget>

namespace tk {

void Control::SetBounds(int left, int top, int width, int height)
{
    widget_->setGeometry(left, top, width, height);
    BoundsChanged();
}

int Control::Left() const { return widget_->x(); }
int Control::Top() const { return widget_->y(); }
int Control::Width() const { return widget_->width(); }
int Control::Height() const { return widget_->height(); }

void Control::SetVisible(bool visible) { widget_->setVisible(visible); }
bool Control::Visible() const { return !widget_->isHidden(); }

void Control::SetFont(const Font& font)
{
    font_ = font;
    widget_->setFont(ToQFont(font));
    ApplyFontColor(font.color);
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
