#include "toolkit/button.h"
#include "native.h"

#include "toolkit/core/focus_chain.h"
#include "toolkit/core/presses.h"
#include "toolkit/core/focus_chain.h"
#include "toolkit/core/presses.h"
#include "qtbridge.h"

#include <QKeyEvent>
#include <QPushButton>

namespace tk {

namespace {
// The native button. A focused button is pressed by Return (and Enter) as
// well as by Space, as on the platform the windows were designed for. A
// held button that a modal box interrupts comes up without a click.
class ButtonWidget : public QPushButton, public core::PressHolder {
public:
    ButtonWidget(const QString& caption, QWidget* parent) : QPushButton(caption, parent)
    {
        setAutoDefault(false);
        setFocusPolicy(core::TakesFocus(core::ControlKind::PushButton) ? Qt::StrongFocus : Qt::NoFocus);
    }

    void CancelPress() override
    {
        if (isDown())
            setDown(false);
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
