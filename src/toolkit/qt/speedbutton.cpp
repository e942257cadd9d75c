#include "toolkit/speedbutton.h"
#include "native.h"

#include "toolkit/core/focus_chain.h"
#include "toolkit/core/presses.h"
#include "toolkit/core/toggle_group.h"
#include "qtbridge.h"

#include <QToolButton>

namespace tk {

// The native button: Qt's tool button, which only shows the toggle's state
// (checked is down); the group's rule decides it, in place of Qt's own
// toggling (an exclusive QButtonGroup cannot be all up).
class SpeedButtonWidget : public QToolButton, public core::PressHolder {
public:
    SpeedButtonWidget(int groupIndex, QWidget* parent)
        : QToolButton(parent), toggle(parent, groupIndex, [this](bool down) { setChecked(down); })
    {
        setFocusPolicy(core::TakesFocus(core::ControlKind::SpeedButton) ? Qt::StrongFocus : Qt::NoFocus);
        setAutoRaise(false);
        setToolButtonStyle(Qt::ToolButtonTextOnly);
        setCheckable(groupIndex != 0);
    }

    core::Toggle toggle;

    void CancelPress() override
    {
        if (isDown())
            setDown(false);
    }

protected:
    void nextCheckState() override { toggle.Click(); }
};

SpeedButton::SpeedButton(Container& parent, const std::string& caption, int groupIndex)
    : Control(AsView(new SpeedButtonWidget(groupIndex, AsWidget(parent.ClientWidget())))), groupIndex_(groupIndex)
{
    button_ = static_cast<SpeedButtonWidget*>(AsWidget(NativeWidget()));
    button_->setText(ToQString(caption));
    QObject::connect(button_, &QToolButton::clicked, button_, [this] {
        if (OnClick)
            OnClick(this);
    });
}

void SpeedButton::SetCaption(const std::string& caption) { button_->setText(ToQString(caption)); }
std::string SpeedButton::Caption() const { return FromQString(button_->text()); }

bool SpeedButton::Down() const { return button_->toggle.Down(); }
void SpeedButton::SetDown(bool down) { button_->toggle.SetDown(down); }

void SpeedButton::Click() { button_->click(); }

} // namespace tk
