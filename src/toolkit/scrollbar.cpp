#include "scrollbar.h"

#include "qtbridge.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

namespace tk {

// The native bar. Every action reaches OnScroll while sliderPosition() holds
// the new position and value() still the old one; releasing the mouse or a
// key ends the scroll with one more notification.
class ScrollBarWidget : public QScrollBar {
public:
    ScrollBarWidget(ScrollBar* owner, QWidget* parent) : QScrollBar(Qt::Horizontal, parent), owner_(owner)
    {
        connect(this, &QAbstractSlider::actionTriggered, this, [this](int action) {
            switch (action) {
            case SliderSingleStepAdd: Notify(ScrollCode::LineDown); break;
            case SliderSingleStepSub: Notify(ScrollCode::LineUp); break;
            case SliderPageStepAdd: Notify(ScrollCode::PageDown); break;
            case SliderPageStepSub: Notify(ScrollCode::PageUp); break;
            case SliderToMinimum: Notify(ScrollCode::Top); break;
            case SliderToMaximum: Notify(ScrollCode::Bottom); break;
            case SliderMove: Notify(ScrollCode::Track); break;
            default: break;
            }
        });
        connect(this, &QAbstractSlider::sliderReleased, this, [this] { Notify(ScrollCode::Position); });
    }

    void Notify(ScrollCode code)
    {
        int position = sliderPosition();
        if (owner_->OnScroll)
            owner_->OnScroll(owner_, code, position);
        if (position != sliderPosition())
            setSliderPosition(std::clamp(position, minimum(), maximum()));
    }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        QScrollBar::mouseReleaseEvent(event);
        if (event->button() == Qt::LeftButton)
            Notify(ScrollCode::EndScroll);
    }
    void keyReleaseEvent(QKeyEvent* event) override
    {
        QScrollBar::keyReleaseEvent(event);
        if (!event->isAutoRepeat())
            Notify(ScrollCode::EndScroll);
    }

private:
    ScrollBar* owner_;
};

ScrollBar::ScrollBar(Container& parent) : Control(new ScrollBarWidget(this, parent.ClientWidget()))
{
    bar_ = static_cast<ScrollBarWidget*>(NativeWidget());
    bar_->setRange(0, 100);
    bar_->setSingleStep(1);
    bar_->setPageStep(1);
    bar_->setTracking(true);
    // Like every windowed control, the bar takes the focus from Tab and from
    // a click, and its keys scroll (Qt's bars take none by default).
    bar_->setFocusPolicy(Qt::StrongFocus);
}

void ScrollBar::SetRange(int minimum, int maximum) { bar_->setRange(minimum, maximum); }
int ScrollBar::Min() const { return bar_->minimum(); }
int ScrollBar::Max() const { return bar_->maximum(); }
int ScrollBar::Position() const { return bar_->value(); }

void ScrollBar::SetPosition(int position)
{
    const QSignalBlocker quiet(bar_);
    bar_->setValue(position);
}

void ScrollBar::SetPageSize(int pageSize)
{
    // A page size of 0 means a plain thumb; Qt sizes the thumb from the page
    // step, so the page size only matters when it is larger than one step.
    if (pageSize > 0)
        bar_->setPageStep(pageSize);
}

void ScrollBar::SetSteps(int lineStep, int pageStep)
{
    bar_->setSingleStep(lineStep);
    bar_->setPageStep(pageStep);
}

} // namespace tk
