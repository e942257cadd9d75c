#include "toolkit/button.h"
#include "native.h"

#include "qtbridge.h"

#include <QKeyEvent>
#include <QPushButton>

namespace tk {

namespace {
// The native button. A focused button is pressed by Return (and Enter) as
// well as by Space, as on the platform the windows were designed for.
class ButtonWidget : public QPushButton {
public:
    ButtonWidget(const QString& caption, QWidget* parent) : QPushButton(caption, parent)
    {
        setAutoDefault(false);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (enter && !(event->modifiers() & ~Qt::KeypadModifier)) {
            event->accept();
            if (!event->isAutoRepeat())
                click();
            return;
        }
        QPushButton::keyPressEvent(event);
    }
    void paintEvent(QPaintEvent* event) override
    {
        QPushButton::paintEvent(event);
        DrawFocusFrame(this, 4);
    }
};
} // namespace

Button::Button(Container& parent, const std::string& caption)
    : Control(AsView(new ButtonWidget(ToQString(caption), AsWidget(parent.ClientWidget()))))
{
    QObject::connect(static_cast<QPushButton*>(AsWidget(NativeWidget())), &QPushButton::clicked,
                     AsWidget(NativeWidget()), [this] {
                         if (OnClick)
                             OnClick(this);
                     });
}

void Button::SetCaption(const std::string& caption)
{
    static_cast<QPushButton*>(AsWidget(NativeWidget()))->setText(ToQString(caption));
}

std::string Button::Caption() const
{
    return FromQString(static_cast<QPushButton*>(AsWidget(NativeWidget()))->text());
}

void Button::Click() { static_cast<QPushButton*>(AsWidget(NativeWidget()))->click(); }

} // namespace tk
