#include "groupbox.h"

#include "qtbridge.h"

#include <QGroupBox>
#include <QPalette>

namespace tk {

GroupBox::GroupBox(Container& parent, const std::string& caption)
    : Control(new QGroupBox(ToQString(caption), parent.ClientWidget()))
{
}

std::string GroupBox::Caption() const
{
    return FromQString(static_cast<QGroupBox*>(NativeWidget())->title());
}

void GroupBox::SetColor(TColor color)
{
    QWidget* w = NativeWidget();
    QPalette palette = w->palette();
    palette.setColor(QPalette::Window, ToQColor(color));
    w->setPalette(palette);
    w->setAutoFillBackground(true);
}

} // namespace tk
