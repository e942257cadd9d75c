#include "label.h"

#include "qtbridge.h"

#include <QLabel>
#include <QPalette>

namespace tk {

namespace {
QLabel* MakeLabel(Container& parent, const std::string& caption)
{
    auto* l = new QLabel(ToQString(caption), parent.ClientWidget());
    l->setTextFormat(Qt::PlainText);
    l->setMargin(0);
    l->setIndent(0);
    l->setWordWrap(false);
    return l;
}
} // namespace

Label::Label(Container& parent, const std::string& caption)
    : Control(MakeLabel(parent, caption)), caption_(caption)
{
    static_cast<QLabel*>(NativeWidget())->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void Label::SetCaption(const std::string& caption)
{
    if (caption == caption_)
        return;
    caption_ = caption;
    static_cast<QLabel*>(NativeWidget())->setText(ToQString(caption));
}

void Label::SetAlignment(Alignment alignment)
{
    const Qt::Alignment h = alignment == Alignment::Left     ? Qt::AlignLeft
                            : alignment == Alignment::Center ? Qt::AlignHCenter
                                                             : Qt::AlignRight;
    static_cast<QLabel*>(NativeWidget())->setAlignment(h | Qt::AlignVCenter);
}

void Label::SetColor(TColor color)
{
    QWidget* w = NativeWidget();
    QPalette palette = w->palette();
    palette.setColor(QPalette::Window, ToQColor(color));
    w->setPalette(palette);
    w->setAutoFillBackground(true);
}

StaticText::StaticText(Container& parent, const std::string& caption)
    : Control(MakeLabel(parent, caption))
{
    static_cast<QLabel*>(NativeWidget())->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

std::string StaticText::Caption() const
{
    return FromQString(static_cast<QLabel*>(NativeWidget())->text());
}

} // namespace tk
