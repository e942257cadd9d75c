#include "toolkit/scrollbar.h"
#include "native.h"

#include "presses.h"
#include "qtbridge.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>

#include <set>

namespace tk {

// The native bar. Every action reaches OnScroll while sliderPosition() holds
// the new position and value() still the old one. Releasing the mouse or a
// key ends the scroll with one more notification, but only for a press the
// bar itself handled: a key pressed elsewhere (the Return that closed a
// message box, the Tab that brought the focus here) ends nothing. A modal
// window ends the press in progress at once, with no further notification.
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
        if (cancelling_)
            return;
        int position = sliderPosition();
        if (owner_->OnScroll)
            owner_->OnScroll(owner_, code, position);
        if (position != sliderPosition())
            setSliderPosition(std::clamp(position, minimum(), maximum()));
    }

protected:
    bool event(QEvent* event) override
    {
        if (event->type() == CancelPressEvent()) {
            CancelPress();
            return true;
        }
        return QScrollBar::event(event);
    }

    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton)
            mousePressed_ = true;
        QScrollBar::mousePressEvent(event);
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        QScrollBar::mouseReleaseEvent(event);
        if (event->button() == Qt::LeftButton && mousePressed_) {
            mousePressed_ = false;
            Notify(ScrollCode::EndScroll);
        }
    }

    // The keys of a horizontal bar: right and down one step to the right,
    // left and up one step to the left, Page Down and Page Up a page, Home
    // and End to the ends (Qt's bars invert these by default).
    void keyPressEvent(QKeyEvent* event) override
    {
        SliderAction action = SliderNoAction;
        switch (event->key()) {
        case Qt::Key_Right:
        case Qt::Key_Down: action = SliderSingleStepAdd; break;
        case Qt::Key_Left:
        case Qt::Key_Up: action = SliderSingleStepSub; break;
        case Qt::Key_PageDown: action = SliderPageStepAdd; break;
        case Qt::Key_PageUp: action = SliderPageStepSub; break;
        case Qt::Key_Home: action = SliderToMinimum; break;
        case Qt::Key_End: action = SliderToMaximum; break;
        default: break;
        }
        if (action == SliderNoAction || event->modifiers() & ~Qt::KeypadModifier) {
            event->ignore();
            return;
        }
        event->accept();
        keysPressed_.insert(event->key());
        triggerAction(action);
    }
    void keyReleaseEvent(QKeyEvent* event) override
    {
        if (event->isAutoRepeat() || keysPressed_.erase(event->key()) == 0) {
            event->ignore();
            return;
        }
        event->accept();
        Notify(ScrollCode::EndScroll);
    }

    // The bar's own menu, in the program's language; each item scrolls
    // through the notification like the mouse and the keys.
    void contextMenuEvent(QContextMenuEvent* event) override
    {
        QMenu menu(this);
        const int here = PositionAt(event->pos().x());
        connect(menu.addAction(QStringLiteral("ここへスクロール")), &QAction::triggered, this, [this, here] {
            // As a thumb moved there and let go.
            int position = std::clamp(here, minimum(), maximum());
            if (owner_->OnScroll)
                owner_->OnScroll(owner_, ScrollCode::Position, position);
            const QSignalBlocker quiet(this);
            setValue(std::clamp(position, minimum(), maximum()));
        });
        const std::pair<const char*, SliderAction> items[] = {
            {nullptr, SliderNoAction},           {"左端", SliderToMinimum},
            {"右端", SliderToMaximum},           {nullptr, SliderNoAction},
            {"1 ページ左へ", SliderPageStepSub}, {"1 ページ右へ", SliderPageStepAdd},
            {nullptr, SliderNoAction},           {"左へスクロール", SliderSingleStepSub},
            {"右へスクロール", SliderSingleStepAdd}};
        for (const auto& [text, action] : items) {
            if (!text) {
                menu.addSeparator();
                continue;
            }
            connect(menu.addAction(QString::fromUtf8(text)), &QAction::triggered, this,
                    [this, action = action] { triggerAction(action); });
        }
        menu.exec(event->globalPos());
    }

    // A focused bar shows a focus frame just inside its edge.
    void paintEvent(QPaintEvent* event) override
    {
        QScrollBar::paintEvent(event);
        DrawFocusFrame(this, 1);
    }
    void focusInEvent(QFocusEvent* event) override
    {
        QScrollBar::focusInEvent(event);
        update();
    }
    void focusOutEvent(QFocusEvent* event) override
    {
        QScrollBar::focusOutEvent(event);
        keysPressed_.clear();
        update();
    }

private:
    // Ends the press in progress as its release would, without a
    // notification: the arrow's or the trough's repeat stops, a dragged
    // thumb is let go where it is.
    void CancelPress()
    {
        keysPressed_.clear();
        if (!mousePressed_)
            return;
        mousePressed_ = false;
        cancelling_ = true;
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(-1, -1), QPointF(-1, -1), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QScrollBar::mouseReleaseEvent(&release);
        cancelling_ = false;
    }

    // The position the thumb's centre would have at x.
    int PositionAt(int x) const
    {
        QStyleOptionSlider opt;
        initStyleOption(&opt);
        const QRect groove = style()->subControlRect(QStyle::CC_ScrollBar, &opt, QStyle::SC_ScrollBarGroove, this);
        const QRect thumb = style()->subControlRect(QStyle::CC_ScrollBar, &opt, QStyle::SC_ScrollBarSlider, this);
        const int span = groove.width() - thumb.width();
        return QStyle::sliderValueFromPosition(minimum(), maximum(), x - groove.left() - thumb.width() / 2,
                                               span > 0 ? span : 1);
    }

    ScrollBar* owner_;
    bool mousePressed_ = false;
    bool cancelling_ = false;
    std::set<int> keysPressed_;
};

ScrollBar::ScrollBar(Container& parent)
    : Control(AsView(new ScrollBarWidget(this, AsWidget(parent.ClientWidget()))))
{
    bar_ = static_cast<ScrollBarWidget*>(AsWidget(NativeWidget()));
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
