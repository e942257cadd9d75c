#include "toolkit/driver.h"

#include "toolkit/application.h"
#include "toolkit/design_scale.h"
#include "toolkit/device_grid.h"
#include "toolkit/form.h"
#include "toolkit/scrollbar.h"

#include "device_image.h"
#include "driver_qt.h"
#include "native.h"
#include "qtbridge.h"

#include <QAbstractButton>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <cmath>
#include <map>
#include <memory>

namespace tk::drive {

namespace {

QWidget* Widget(const Control& c) { return AsWidget(c.NativeWidget()); }
QWidget* Window(const Form& f) { return AsWidget(f.NativeWidget()); }

Qt::Key ToQtKey(Key key)
{
    switch (key) {
    case Key::Space: return Qt::Key_Space;
    case Key::Return: return Qt::Key_Return;
    case Key::Escape: return Qt::Key_Escape;
    case Key::Tab: return Qt::Key_Tab;
    case Key::Backtab: return Qt::Key_Backtab;
    case Key::Left: return Qt::Key_Left;
    case Key::Right: return Qt::Key_Right;
    case Key::Up: return Qt::Key_Up;
    case Key::Down: return Qt::Key_Down;
    case Key::Home: return Qt::Key_Home;
    case Key::End: return Qt::Key_End;
    case Key::PageUp: return Qt::Key_PageUp;
    case Key::PageDown: return Qt::Key_PageDown;
    case Key::Minus: return Qt::Key_Minus;
    default: return static_cast<Qt::Key>(Qt::Key_0 + (static_cast<int>(key) - static_cast<int>(Key::D0)));
    }
}

Qt::KeyboardModifiers ToModifiers(ShiftState shift)
{
    Qt::KeyboardModifiers mods;
    if (shift & ssShift)
        mods |= Qt::ShiftModifier;
    if (shift & ssCtrl)
        mods |= Qt::ControlModifier;
    if (shift & ssAlt)
        mods |= Qt::AltModifier;
    return mods;
}

Qt::MouseButton ToQtButton(MouseButton button)
{
    switch (button) {
    case MouseButton::Right: return Qt::RightButton;
    case MouseButton::Middle: return Qt::MiddleButton;
    default: return Qt::LeftButton;
    }
}

bool Usable(const QWidget* w) { return w && w->isVisible() && w->isEnabled(); }

// Where the keyboard's events go now.
QWidget* KeyTarget()
{
    QWidget* focus = QApplication::focusWidget();
    return focus ? focus : QApplication::activeWindow();
}

// The same for the device pixel at the centre of design pixel `design`.
QPointF PointerAt(const QWidget* widget, Point design)
{
    const DeviceGrid grid(DeviceScale(widget));
    return PointerAtDevicePixel(widget, QPoint(static_cast<int>(grid.CentrePixel(design.x)),
                                               static_cast<int>(grid.CentrePixel(design.y))));
}

// One mouse event at a logical position, as the window system delivers it.
void Send(QWidget* widget, QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::MouseButtons(Qt::NoButton) : Qt::MouseButtons(button);
    QMouseEvent event(type, at, widget->mapToGlobal(at), button, held, modifiers);
    QApplication::sendEvent(widget, &event);
}

// The middle of a part of the bar, in its logical coordinates.
QPoint BarPoint(QScrollBar* q, QStyle::SubControl which, int position)
{
    QStyleOptionSlider opt;
    opt.initFrom(q);
    opt.orientation = Qt::Horizontal;
    opt.minimum = q->minimum();
    opt.maximum = q->maximum();
    opt.sliderPosition = position;
    opt.sliderValue = q->value();
    opt.singleStep = q->singleStep();
    opt.pageStep = q->pageStep();
    opt.subControls = QStyle::SC_All;
    return q->style()->subControlRect(QStyle::CC_ScrollBar, &opt, which, q).center();
}

QStyle::SubControl ToSubControl(BarPart part)
{
    switch (part) {
    case BarPart::LeftArrow: return QStyle::SC_ScrollBarSubLine;
    case BarPart::RightArrow: return QStyle::SC_ScrollBarAddLine;
    case BarPart::LeftTrough: return QStyle::SC_ScrollBarSubPage;
    case BarPart::RightTrough: return QStyle::SC_ScrollBarAddPage;
    default: return QStyle::SC_ScrollBarSlider;
    }
}

QScrollBar* NativeBar(const ScrollBar& bar) { return static_cast<QScrollBar*>(Widget(bar)); }

// Where the button went down on each held bar, and where the pointer is.
struct HeldPointer {
    QPoint down, now;
};
std::map<const ScrollBar*, HeldPointer>& HeldBars()
{
    static std::map<const ScrollBar*, HeldPointer> held;
    return held;
}

QMessageBox* ModalMessageBox()
{
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    return box && box->isVisible() ? box : nullptr;
}

Box Describe(const QMessageBox* box) { return Box{box, FromQString(box->windowTitle()), FromQString(box->text())}; }

} // namespace

QPointF PointerAtDevicePixel(const QWidget* widget, QPoint device)
{
    const double ratio = widget->devicePixelRatioF();
    const QPointF offset = widget->mapTo(widget->window(), QPointF(0, 0));
    const QPointF window(std::round(offset.x() * ratio) + device.x(), std::round(offset.y() * ratio) + device.y());
    return window / ratio - offset;
}

void ClickAtPointer(QWidget* widget, QPointF at)
{
    Send(widget, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::NoModifier);
    Send(widget, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoModifier);
}

void ProcessEvents() { QApplication::processEvents(); }
void Wait(int milliseconds) { QTest::qWait(milliseconds); }
void Later(std::function<void()> function) { QTimer::singleShot(0, qApp, std::move(function)); }
int RunEventLoop() { return QApplication::exec(); }
void EndRun(int code) { QApplication::exit(code); }

struct Ticker::Native {
    QTimer timer;
};

Ticker::Ticker(int milliseconds, std::function<void()> tick) : native_(std::make_unique<Native>())
{
    QObject::connect(&native_->timer, &QTimer::timeout, std::move(tick));
    native_->timer.start(milliseconds);
}

Ticker::~Ticker() = default;

bool Shown(const Control& control) { return Widget(control)->isVisible(); }

std::vector<Control*> Controls(const Form& form)
{
    std::vector<Control*> all;
    for (QWidget* w : Window(form)->findChildren<QWidget*>())
        if (Control* c = ControlOf(w))
            all.push_back(c);
    return all;
}

bool Press(const Control& control)
{
    QWidget* w = Widget(control);
    if (!Usable(w))
        return false;
    QTest::mouseClick(w, Qt::LeftButton);
    return true;
}

bool Hold(const Control& control)
{
    QWidget* w = Widget(control);
    if (!Usable(w))
        return false;
    QTest::mousePress(w, Qt::LeftButton);
    return true;
}

void Release(const Control& control) { QTest::mouseRelease(Widget(control), Qt::LeftButton); }

bool Click(const PaintBox& box, Point at, MouseButton button, ShiftState shift)
{
    QWidget* w = Widget(box);
    if (!Usable(w))
        return false;
    const QPointF pointer = PointerAt(w, at);
    Send(w, QEvent::MouseButtonPress, pointer, ToQtButton(button), ToModifiers(shift));
    Send(w, QEvent::MouseButtonRelease, pointer, ToQtButton(button), ToModifiers(shift));
    return true;
}

bool DoubleClick(const PaintBox& box, Point at, MouseButton button)
{
    QWidget* w = Widget(box);
    if (!Usable(w))
        return false;
    const QPointF pointer = PointerAt(w, at);
    const Qt::MouseButton b = ToQtButton(button);
    Send(w, QEvent::MouseButtonPress, pointer, b, Qt::NoModifier);
    Send(w, QEvent::MouseButtonRelease, pointer, b, Qt::NoModifier);
    Send(w, QEvent::MouseButtonDblClick, pointer, b, Qt::NoModifier);
    Send(w, QEvent::MouseButtonRelease, pointer, b, Qt::NoModifier);
    return true;
}

bool Click(const Form& form, Point at)
{
    QWidget* window = Window(form);
    if (!window->isVisible())
        return false;
    const QPoint client = AsWidget(form.ClientWidget())->mapTo(window, QPoint(0, 0));
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, client + QPoint(ToLogical(at.x), ToLogical(at.y)));
    return true;
}

bool Press(const ScrollBar& bar, BarPart part)
{
    if (!Hold(bar, part))
        return false;
    Release(bar);
    return true;
}

bool Hold(const ScrollBar& bar, BarPart part)
{
    QScrollBar* q = NativeBar(bar);
    if (!Usable(q))
        return false;
    const QPoint at = BarPoint(q, ToSubControl(part), q->sliderPosition());
    HeldBars()[&bar] = {at, at};
    QTest::mousePress(q, Qt::LeftButton, Qt::NoModifier, at);
    return true;
}

void MovePointer(const ScrollBar& bar, int dx)
{
    const auto it = HeldBars().find(&bar);
    if (it == HeldBars().end())
        return;
    it->second.now = it->second.down + QPoint(ToLogical(dx), 0);
    QTest::mouseMove(NativeBar(bar), it->second.now);
}

void Release(const ScrollBar& bar)
{
    const auto it = HeldBars().find(&bar);
    if (it == HeldBars().end())
        return;
    const QPoint at = it->second.now;
    HeldBars().erase(it);
    QTest::mouseRelease(NativeBar(bar), Qt::LeftButton, Qt::NoModifier, at);
}

bool DragThumb(const ScrollBar& bar, std::span<const int> positions)
{
    QScrollBar* q = NativeBar(bar);
    if (!Usable(q))
        return false;
    const QPoint down = BarPoint(q, QStyle::SC_ScrollBarSlider, q->sliderPosition());
    QTest::mousePress(q, Qt::LeftButton, Qt::NoModifier, down);
    QPoint at = down;
    for (const int position : positions) {
        // The thumb's middle where it stands at the position: the pointer
        // keeps the place on the thumb where it took it.
        at = BarPoint(q, QStyle::SC_ScrollBarSlider, std::clamp(position, q->minimum(), q->maximum()));
        QTest::mouseMove(q, at);
    }
    QTest::mouseRelease(q, Qt::LeftButton, Qt::NoModifier, at);
    return true;
}

bool ChooseFromMenu(const ScrollBar& bar, BarMenuItem item)
{
    QScrollBar* q = NativeBar(bar);
    if (!Usable(q))
        return false;
    // The items as the menu shows them.
    static const char* const captions[] = {"左端", "右端", "1 ページ左へ", "1 ページ右へ", "左へスクロール",
                                           "右へスクロール"};
    const QString caption = QString::fromUtf8(captions[static_cast<int>(item)]);
    const auto chosen = std::make_shared<bool>(false);
    // The menu runs its own event loop until an item is clicked: the click
    // comes from there, once the menu is up.
    QTimer::singleShot(0, q, [chosen, caption] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction* action : menu->actions())
            if (action->text() == caption) {
                QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(action).center());
                *chosen = true;
                return;
            }
        menu->close();
    });
    const QPoint at = q->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, q->mapToGlobal(at));
    QApplication::sendEvent(q, &event);
    return *chosen;
}

void KeyPress(Key key, ShiftState shift)
{
    if (QWidget* target = KeyTarget())
        QTest::keyPress(target, ToQtKey(key), ToModifiers(shift));
}

void KeyRelease(Key key)
{
    if (QWidget* target = KeyTarget())
        QTest::keyRelease(target, ToQtKey(key));
}

void KeyClick(Key key, ShiftState shift)
{
    if (QWidget* target = KeyTarget())
        QTest::keyClick(target, ToQtKey(key), ToModifiers(shift));
}

void KeyClick(const Form& form, Key key)
{
    QWidget* window = Window(form);
    QWidget* focus = window->focusWidget();
    QTest::keyClick(focus ? focus : window, ToQtKey(key));
}

void Focus(const Control& control) { Widget(control)->setFocus(Qt::OtherFocusReason); }

Control* Focused() { return ControlOf(QApplication::focusWidget()); }

Control* FocusedIn(const Form& form) { return ControlOf(Window(form)->focusWidget()); }

Form* ActiveWindow() { return Application::Instance().FormOf(QApplication::activeWindow()); }

std::vector<Box> OpenBoxes()
{
    std::vector<Box> boxes;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible())
            boxes.push_back(Describe(box));
    return boxes;
}

std::optional<Box> ModalBox()
{
    if (QMessageBox* box = ModalMessageBox())
        return Describe(box);
    return std::nullopt;
}

bool CloseBox(CloseBy by)
{
    QMessageBox* box = ModalMessageBox();
    if (!box)
        return false;
    QPushButton* ok = box->findChild<QPushButton*>();
    switch (by) {
    case CloseBy::Return: QTest::keyPress(box, Qt::Key_Return); break;
    case CloseBy::Escape: QTest::keyPress(box, Qt::Key_Escape); break;
    case CloseBy::Space:
        if (ok)
            QTest::keyClick(ok, Qt::Key_Space);
        break;
    case CloseBy::Mouse:
        if (ok)
            QTest::mouseClick(ok, Qt::LeftButton);
        break;
    }
    return !box->isVisible();
}

void AcceptBox()
{
    if (QMessageBox* box = ModalMessageBox())
        box->accept();
}

struct Sketch::Native {
    Image image;
};

Sketch::Sketch(int width, int height, double scale) : native_(std::make_unique<Native>())
{
    const DeviceGrid grid(scale);
    native_->image = Image(grid.EdgeClamped(width), grid.EdgeClamped(height));
    canvas_.Attach(&native_->image, nullptr, scale);
}

Sketch::~Sketch() = default;

} // namespace tk::drive
