#include "control.h"

#include "qtbridge.h"

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
    widget_->setGeometry(left, top, width, height);
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
    widget_->setFont(ToQFont(font));
    ApplyFontColor(font.color);
    FontChanged();
}

void Control::SetFontColor(TColor color)
{
    font_.color = color;
    ApplyFontColor(color);
}

void Control::ApplyFontColor(TColor color) { SetTextColor(widget_, color); }

} // namespace tk
