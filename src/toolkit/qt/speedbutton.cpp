#include "toolkit/speedbutton.h"
#include "native.h"

#include "qtbridge.h"

#include <QToolButton>

namespace tk {

// The native button: Qt's checkable tool button with the group rule in
// place of Qt's own toggling (an exclusive QButtonGroup cannot be all up).
class SpeedButtonWidget : public QToolButton {
public:
    SpeedButtonWidget(SpeedButton* owner, QWidget* parent) : QToolButton(parent), owner_(owner)
    {
        setFocusPolicy(Qt::NoFocus);
        setAutoRaise(false);
        setToolButtonStyle(Qt::ToolButtonTextOnly);
    }
    SpeedButton* owner() const { return owner_; }

protected:
    void nextCheckState() override
    {
        if (owner_->groupIndex_ == 0)
            return;
        owner_->SetDown(!isChecked());
    }

private:
    SpeedButton* owner_;
};

SpeedButton::SpeedButton(Container& parent, const std::string& caption, int groupIndex)
    : Control(AsView(new SpeedButtonWidget(this, AsWidget(parent.ClientWidget())))), groupIndex_(groupIndex)
{
    button_ = static_cast<SpeedButtonWidget*>(AsWidget(NativeWidget()));
    button_->setText(ToQString(caption));
    button_->setCheckable(groupIndex != 0);
    QObject::connect(button_, &QToolButton::clicked, button_, [this] {
        if (OnClick)
            OnClick(this);
    });
}

void SpeedButton::SetCaption(const std::string& caption) { button_->setText(ToQString(caption)); }
std::string SpeedButton::Caption() const { return FromQString(button_->text()); }

bool SpeedButton::Down() const { return button_->isChecked(); }

void SpeedButton::SetDown(bool down)
{
    if (groupIndex_ == 0)
        return;
    if (down) {
        // Putting a member down raises every other member of its group.
        for (QObject* sibling : button_->parent()->children()) {
            auto* other = dynamic_cast<SpeedButtonWidget*>(sibling);
            if (other && other != button_ && other->isChecked() &&
                other->owner()->groupIndex_ == groupIndex_)
                other->setChecked(false);
        }
    }
    button_->setChecked(down);
}

void SpeedButton::Click() { button_->click(); }

} // namespace tk
