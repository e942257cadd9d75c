#include "button.h"

#include "qtbridge.h"

#include <QPushButton>

namespace tk {

namespace {
QPushButton* MakeButton(Container& parent, const std::string& caption)
{
    auto* b = new QPushButton(ToQString(caption), parent.ClientWidget());
    b->setAutoDefault(false);
    return b;
}
} // namespace

Button::Button(Container& parent, const std::string& caption)
    : Control(MakeButton(parent, caption))
{
    QObject::connect(static_cast<QPushButton*>(NativeWidget()), &QPushButton::clicked,
                     NativeWidget(), [this] {
                         if (OnClick)
                             OnClick(this);
                     });
}

void Button::SetCaption(const std::string& caption)
{
    static_cast<QPushButton*>(NativeWidget())->setText(ToQString(caption));
}

std::string Button::Caption() const
{
    return FromQString(static_cast<QPushButton*>(NativeWidget())->text());
}

void Button::Click() { static_cast<QPushButton*>(NativeWidget())->click(); }

} // namespace tk
