#include "toolkit/scrollbar.h"
#include "native.h"

#include "toolkit/core/focus_chain.h"
#include "toolkit/core/scroll_rules.h"
#include "qtbridge.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTimer>

namespace tk {

using core::ScrollKey;
using core::ScrollPart;

namespace {
ScrollKey KeyOf(int key)
{
    switch (key) {
    case Qt::Key_Left: return ScrollKey::Left;
    case Qt::Key_Right: return ScrollKey::Right;
    case Qt::Key_Up: return ScrollKey::Up;
    case Qt::Key_Down: return ScrollKey::Down;
    case Qt::Key_PageUp: return ScrollKey::PageUp;
    case Qt::Key_PageDown: return ScrollKey::PageDown;
    case Qt::Key_Home: return ScrollKey::Home;
    case Qt::Key_End: return ScrollKey::End;
    default: return ScrollKey::Other;
    }
}

QStyle::SubControl SubControlOf(ScrollPart part)
{
    switch (part) {
    case ScrollPart::LineLeft: return QStyle::SC_ScrollBarSubLine;
    case ScrollPart::LineRight: return QStyle::SC_ScrollBarAddLine;
    case ScrollPart::PageLeft: return QStyle::SC_ScrollBarSubPage;
    case ScrollPart::PageRight: return QStyle::SC_ScrollBarAddPage;
    case ScrollPart::Thumb: return QStyle::SC_ScrollBarSlider;
    default: return QStyle::SC_None;
    }
}
} // namespace

// The native bar: a QScrollBar for the look and for telling which part lies
// under the pointer, driven by the bar's rules. Qt's own stepping, repeat
// and drag are not used; the actions the slider still triggers itself (the
// wheel, accessibility's triggerAction) are taken as the rules' codes.
class ScrollBarWidget : public QScrollBar, public core::ScrollBarPort {
public:
    ScrollBarWidget(ScrollBar* owner, QWidget* parent) : QScrollBar(Qt::Horizontal, parent), rules(*this)
    {
        rules.onScroll = [owner](ScrollCode code, int& position) {
            if (owner->OnScroll)
                owner->OnScroll(owner, code, position);
        };
        repeat_.setSingleShot(true);
        connect(&repeat_, &QTimer::timeout, this, [this] { rules.TimerFired(); });
        connect(this, &QAbstractSlider::actionTriggered, this, [this](int action) { Translate(action); });
        ShowState();
    }

    core::ScrollBarRules rules;

    void ShowState() override
    {
        const QSignalBlocker quiet(this);
        setRange(rules.Min(), rules.Max());
        setSingleStep(rules.LineStep());
        setPageStep(rules.PageStep());
        setValue(rules.Position());
        update();
    }
    ScrollPart PartUnderPointer() const override { return PartAt(pointer_); }
    void StartTimer(int ms) override { repeat_.start(ms); }
    void StopTimer() override { repeat_.stop(); }

protected:
    // Only the left button scrolls; the others go on to the window (the
    // right one opens the menu).
    void mousePressEvent(QMouseEvent* event) override
    {
        pointer_ = event->position().toPoint();
        if (event->button() != Qt::LeftButton || (event->buttons() & ~Qt::LeftButton)) {
            event->ignore();
            return;
        }
        event->accept();
        const ScrollPart part = PartAt(pointer_);
        if (part == ScrollPart::Thumb)
            grip_ = pointer_.x() - Rect(QStyle::SC_ScrollBarSlider).left();
        rules.PointerPressed(part);
    }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        event->accept();
        pointer_ = event->position().toPoint();
        if (rules.Held() == ScrollPart::Thumb)
            rules.PointerDragged(PositionOfThumbAt(pointer_.x() - grip_));
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        pointer_ = event->position().toPoint();
        if (event->button() != Qt::LeftButton) {
            event->ignore();
            return;
        }
        event->accept();
        rules.PointerReleased();
    }

    void keyPressEvent(QKeyEvent* event) override
    {
        event->setAccepted(rules.KeyPressed(KeyOf(event->key()), event->modifiers() & ~Qt::KeypadModifier));
    }
    void keyReleaseEvent(QKeyEvent* event) override
    {
        event->setAccepted(rules.KeyReleased(KeyOf(event->key()), event->isAutoRepeat()));
    }

    void contextMenuEvent(QContextMenuEvent* event) override
    {
        QMenu menu(this);
        // As a thumb moved there and let go.
        const int here = PositionOfThumbAt(event->pos().x() - Rect(QStyle::SC_ScrollBarSlider).width() / 2);
        const auto items = core::ScrollMenu();
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (!items[i].text) {
                menu.addSeparator();
                continue;
            }
            connect(menu.addAction(QString::fromUtf8(items[i].text)), &QAction::triggered, this,
                    [this, i, here] { rules.MenuChosen(i, here); });
        }
        menu.exec(event->globalPos());
    }

    // The held part is drawn sunken; a focused bar shows a focus frame just
    // inside its edge.
    void paintEvent(QPaintEvent* event) override
    {
        const QStyle::SubControl held = SubControlOf(rules.Held());
        if (held == QStyle::SC_None) {
            QScrollBar::paintEvent(event);
        } else {
            QPainter p(this);
            QStyleOptionSlider opt = Option();
            opt.activeSubControls = held;
            if (PartAt(pointer_) == rules.Held())
                opt.state |= QStyle::State_Sunken;
            style()->drawComplexControl(QStyle::CC_ScrollBar, &opt, &p, this);
        }
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
        rules.FocusLost();
        update();
    }

private:
    // The slider's own actions, as the codes they stand for.
    void Translate(int action)
    {
        switch (action) {
        case SliderSingleStepAdd: rules.Scroll(ScrollCode::LineDown); break;
        case SliderSingleStepSub: rules.Scroll(ScrollCode::LineUp); break;
        case SliderPageStepAdd: rules.Scroll(ScrollCode::PageDown); break;
        case SliderPageStepSub: rules.Scroll(ScrollCode::PageUp); break;
        case SliderToMinimum: rules.Scroll(ScrollCode::Top); break;
        case SliderToMaximum: rules.Scroll(ScrollCode::Bottom); break;
        case SliderMove: rules.Scroll(ScrollCode::Track, sliderPosition()); break;
        default: break;
        }
        // The slider then takes its position from what it shows.
        ShowState();
    }

    QStyleOptionSlider Option() const
    {
        QStyleOptionSlider opt;
        initStyleOption(&opt);
        opt.subControls = QStyle::SC_All;
        return opt;
    }
    QRect Rect(QStyle::SubControl which) const
    {
        const QStyleOptionSlider opt = Option();
        return style()->subControlRect(QStyle::CC_ScrollBar, &opt, which, this);
    }
    ScrollPart PartAt(QPoint at) const
    {
        if (!rect().contains(at))
            return ScrollPart::None;
        const QStyleOptionSlider opt = Option();
        switch (style()->hitTestComplexControl(QStyle::CC_ScrollBar, &opt, at, this)) {
        case QStyle::SC_ScrollBarSubLine: return ScrollPart::LineLeft;
        case QStyle::SC_ScrollBarAddLine: return ScrollPart::LineRight;
        case QStyle::SC_ScrollBarSubPage: return ScrollPart::PageLeft;
        case QStyle::SC_ScrollBarAddPage: return ScrollPart::PageRight;
        case QStyle::SC_ScrollBarSlider: return ScrollPart::Thumb;
        default: return ScrollPart::None;
        }
    }
    // The position that puts the thumb's left edge at x.
    int PositionOfThumbAt(int x) const
    {
        const QRect groove = Rect(QStyle::SC_ScrollBarGroove);
        const int span = groove.width() - Rect(QStyle::SC_ScrollBarSlider).width();
        return QStyle::sliderValueFromPosition(minimum(), maximum(), x - groove.left(), span > 0 ? span : 1);
    }

    QTimer repeat_;
    QPoint pointer_{-1, -1};
    int grip_ = 0;  // where on the thumb it was taken
};

ScrollBar::ScrollBar(Container& parent)
    : Control(AsView(new ScrollBarWidget(this, AsWidget(parent.ClientWidget()))))
{
    bar_ = static_cast<ScrollBarWidget*>(AsWidget(NativeWidget()));
    bar_->setTracking(true);
    // Like every windowed control, the bar takes the focus from Tab and from
    // a click, and its keys scroll (Qt's bars take none by default).
    bar_->setFocusPolicy(core::TakesFocus(core::ControlKind::ScrollBar) ? Qt::StrongFocus : Qt::NoFocus);
}

void ScrollBar::SetRange(int minimum, int maximum) { bar_->rules.SetRange(minimum, maximum); }
int ScrollBar::Min() const { return bar_->rules.Min(); }
int ScrollBar::Max() const { return bar_->rules.Max(); }
int ScrollBar::Position() const { return bar_->rules.Position(); }
void ScrollBar::SetPosition(int position) { bar_->rules.SetPosition(position); }
void ScrollBar::SetPageSize(int pageSize) { bar_->rules.SetPageSize(pageSize); }
void ScrollBar::SetSteps(int lineStep, int pageStep) { bar_->rules.SetSteps(lineStep, pageStep); }

} // namespace tk
