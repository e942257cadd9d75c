#include "toolkit/form.h"
#include "native.h"

#include "toolkit/application.h"
#include "toolkit/core/focus_chain.h"
#include "toolkit/design_scale.h"
#include "device_image.h"
#include "qtbridge.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace tk {

namespace {
// The frame the window manager draws around a window that is not
// maximized, as a form last reported it.
Form::FrameMargins normalFrame;
} // namespace

// The native top-level window with the form's retained drawing surface.
class FormWidget : public QWidget {
public:
    explicit FormWidget(Form* owner) : QWidget(nullptr), owner_(owner)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    // The canvas's area, held at device resolution: `scale` device pixels
    // per design pixel. Null while the form draws nothing of its own.
    Image surface;
    double scale = 1.0;

protected:
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::WindowActivate)
            Application::Instance().NoteActivation(owner_, Application::ActivationSource::WindowSystem);
        const bool handled = QWidget::event(event);
        // A window manager reports the frame it adds some time after the
        // window is shown, with a move or a resize of the client.
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
            owner_->FrameReported();
            owner_->PlaceContent();
            break;
        default:
            break;
        }
        return handled;
    }
    void paintEvent(QPaintEvent* event) override
    {
        // A move to a screen of another pixel ratio remakes the surface.
        owner_->EnsureSurface();
        owner_->canvas_.Flush();
        QPainter p(this);
        const QRect r = event->rect();
        p.fillRect(r, ToQColor(owner_->color_));
        if (!surface.IsNull()) {
            // The surface lies under the controls, where the content is placed.
            const QPoint at = AsWidget(owner_->client_)->pos();
            p.translate(at);
            ShowImage(p, surface, r.translated(-at));
        }
    }
    void showEvent(QShowEvent*) override { owner_->EnsureSurface(); }
    void closeEvent(QCloseEvent* event) override
    {
        Application& app = Application::Instance();
        if (app.MainForm() == owner_) {
            app.Terminate();
            event->accept();
            return;
        }
        // The close box of any other window only hides it.
        event->ignore();
        owner_->Hide();
    }

private:
    Form* owner_;
};

Form::Form()
    : widget_(new FormWidget(this)), client_(AsView(new QWidget(widget_))),
      viewer_(std::make_unique<WidgetViewer>(AsWidget(client_)))
{
    // The controls' parent, which only places them; the window paints what
    // lies under it.
    AsWidget(client_)->setGeometry(0, 0, 1, 1);
    widget_->setAttribute(Qt::WA_DeleteOnClose, false);
    Application::Instance().RegisterForm(this);
    SetColor(color_);
    SetFont(font_);
    EnsureSurface();
}

Form::~Form()
{
    Application::Instance().UnregisterForm(this);
    canvas_.Flush();
    delete widget_;
}

void Form::SetCaption(const std::string& caption) { widget_->setWindowTitle(ToQString(caption)); }
std::string Form::Caption() const { return FromQString(widget_->windowTitle()); }

void Form::SetColor(TColor color)
{
    color_ = color;
    QPalette palette = widget_->palette();
    palette.setColor(QPalette::Window, ToQColor(color));
    widget_->setPalette(palette);
    canvas_.SetBrushColor(color);
    canvas_.Flush();
    widget_->surface.Fill(PixelOf(color));
    widget_->update();
}

void Form::SetFont(const Font& font)
{
    font_ = font;
    widget_->setFont(ToQFont(font, DesignScale()));
    SetTextColor(widget_, font.color);
    // The window canvas writes with a copy of the window's font.
    canvas_.SetFont(font);
}

void Form::SetTop(int top) { top_ = top; ApplyBounds(); }
void Form::SetLeft(int left) { left_ = left; ApplyBounds(); }
void Form::SetWidth(int width) { width_ = width; ApplyBounds(); }
void Form::SetHeight(int height) { height_ = height; ApplyBounds(); }

int Form::Top() const { return widget_->isVisible() ? ToDesign(widget_->frameGeometry().top()) : top_; }
int Form::Left() const { return widget_->isVisible() ? ToDesign(widget_->frameGeometry().left()) : left_; }
int Form::Width() const
{
    if (!widget_->isVisible())
        return width_;
    const FrameMargins f = Frame();
    return OuterLength(widget_->frameGeometry().width(), width_, f.left, f.right);
}

int Form::Height() const
{
    if (!widget_->isVisible())
        return height_;
    const FrameMargins f = Frame();
    return OuterLength(widget_->frameGeometry().height(), height_, f.top, f.bottom);
}
int Form::ClientWidth() const { return ToDesign(AsWidget(client_)->width()); }
int Form::ClientHeight() const { return ToDesign(AsWidget(client_)->height()); }

Form::FrameMargins Form::Frame() const
{
    if (!widget_->isVisible())
        return {};
    const QRect frame = widget_->frameGeometry();
    const QRect client = widget_->geometry();
    return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
            frame.bottom() - client.bottom()};
}

int Form::ClientLength(int outer, int before, int after) const
{
    // Qt reports the frame in logical pixels, each margin rounded from the
    // window manager's device pixels: the client is made short enough for
    // the widest frame that rounds so, and the outer size never exceeds
    // what the bounds ask for.
    const double ratio = widget_->devicePixelRatioF();
    const auto most = [ratio](int margin) { return margin <= 0 ? 0.0 : std::floor((margin + 0.5) * ratio); };
    const double device = std::round(outer * ratio) - most(before) - most(after);
    return std::max(1, static_cast<int>(std::floor(device / ratio + 1e-9)));
}

int Form::OuterLength(int logical, int bounds, int before, int after) const
{
    // The client made short for a frame known only rounded (ClientLength)
    // leaves the window that much short of its bounds: the window still
    // has the bounds it was given.
    const int asked = ToLogical(bounds);
    if (logical < asked && ClientLength(asked, before, after) + before + after == logical)
        return bounds;
    return ToDesign(logical);
}

void Form::ApplyBounds()
{
    // Bounds are outer bounds: the frame the window system draws, once it is
    // known, is taken off the size; the position is the frame's. The frame
    // is the window system's own, in logical pixels, not scaled with the
    // design.
    appliedFrame_ = Frame();
    widget_->move(ToLogical(left_), ToLogical(top_));
    const FrameMargins& f = appliedFrame_;
    widget_->resize(ClientLength(ToLogical(width_), f.left, f.right), ClientLength(ToLogical(height_), f.top, f.bottom));
    PlaceContent();
}

void Form::FrameReported()
{
    if (state_ == WindowState::Normal && widget_->isVisible() && !widget_->isMaximized() && Frame() != FrameMargins{})
        normalFrame = Frame();
    if (applying_ || state_ != WindowState::Normal || !shownOnce_ || Frame() == appliedFrame_)
        return;
    applying_ = true;
    ApplyBounds();
    applying_ = false;
}

void Form::PlaceContent()
{
    // A maximized window shows its content where the same window, not
    // maximized and centred on the screen, would show it: in the middle of
    // the window, and where the other windows have theirs. Everything the
    // program reads stays counted from the content's corner.
    QPoint at(0, 0);
    if (state_ == WindowState::Maximized && widget_->isVisible()) {
        const Application& app = Application::Instance();
        const FrameMargins f = normalFrame;
        const QSize content(ToLogical(width_) - f.left - f.right, ToLogical(height_) - f.top - f.bottom);
        const QPoint centred(ToLogical(std::max(0, (app.ScreenWidth() - width_) / 2)) + f.left,
                             ToLogical(std::max(0, (app.ScreenHeight() - height_) / 2)) + f.top);
        const QScreen* screen = widget_->screen();
        const QPoint wanted =
            centred + (screen ? screen->geometry().topLeft() : QPoint()) - widget_->geometry().topLeft();
        at = QPoint(std::clamp(wanted.x(), 0, std::max(0, widget_->width() - content.width())),
                    std::clamp(wanted.y(), 0, std::max(0, widget_->height() - content.height())));
    }
    const QRect placed(at, QSize(std::max(1, widget_->width() - at.x()), std::max(1, widget_->height() - at.y())));
    if (AsWidget(client_)->geometry() == placed)
        return;
    AsWidget(client_)->setGeometry(placed);
    widget_->update();
}

void Form::SetWindowState(WindowState state)
{
    state_ = state;
    if (widget_->isVisible())
        widget_->setWindowState(state == WindowState::Maximized ? Qt::WindowMaximized : Qt::WindowNoState);
}

void Form::PlaceOnShow()
{
    if (shownOnce_)
        return;
    shownOnce_ = true;
    if (centreOnFirstShow_) {
        const Application& app = Application::Instance();
        left_ = std::max(0, (app.ScreenWidth() - width_) / 2);
        top_ = std::max(0, (app.ScreenHeight() - height_) / 2);
    }
    ApplyBounds();
}

void Form::Show()
{
    PlaceOnShow();
    if (!widget_->isVisible()) {
        QEvent showing(static_cast<QEvent::Type>(WindowShowingEvent()));
        for (QWidget* w : widget_->findChildren<QWidget*>())
            QCoreApplication::sendEvent(w, &showing);
    }
    if (state_ == WindowState::Maximized)
        widget_->showMaximized();
    else
        widget_->show();
    // Now that the frame the window system adds is known, the outer size
    // can be honoured.
    if (state_ == WindowState::Normal)
        ApplyBounds();
    // The offscreen platform has no stacking order and warns on every raise.
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        widget_->raise();
    widget_->activateWindow();
    Application::Instance().NoteActivation(this, Application::ActivationSource::Show);
}

void Form::Hide()
{
    widget_->hide();
    Application::Instance().NoteHidden(this);
}

bool Form::Visible() const { return widget_->isVisible(); }

void Form::SetTabOrder(std::initializer_list<const Control*> order)
{
    if (order.size() == 0)
        return;
    std::vector<NativeView*>& list = tabOrders_[AsView(AsWidget(order.begin()[0]->NativeWidget())->parentWidget())];
    list.clear();
    for (const Control* c : order)
        list.push_back(c->NativeWidget());
    RelinkFocusChain();
}

// Qt keeps one focus chain for the whole window, and setTabOrder between
// compound widgets drags their children along in ways that are hard to
// foresee: the chain is instead laid anew, leaf by leaf, from the order the
// toolkit computes over the window's widgets.
void Form::RelinkFocusChain()
{
    const auto tree = [](auto& self, const QWidget* parent) -> core::FocusNode {
        core::FocusNode node{parent, (parent->focusPolicy() & Qt::TabFocus) != 0, {}};
        for (const QObject* o : parent->children())
            if (const auto* w = qobject_cast<const QWidget*>(o); w && !w->isWindow())
                node.children.push_back(self(self, w));
        return node;
    };
    core::TabOrders orders;
    for (const auto& [parent, list] : tabOrders_)
        for (const NativeView* v : list)
            orders[AsWidget(const_cast<NativeView*>(parent))].push_back(AsWidget(const_cast<NativeView*>(v)));
    const std::vector<const void*> chain = core::FocusChain(tree(tree, widget_), orders);
    const auto widget = [](const void* id) { return const_cast<QWidget*>(static_cast<const QWidget*>(id)); };
    for (std::size_t i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(widget(chain[i - 1]), widget(chain[i]));
}

NativeView* Form::ClientWidget() const { return client_; }
NativeView* Form::NativeWidget() const { return AsView(widget_); }

void Form::SetCanvasExtent(int width, int height)
{
    canvasWidth_ = std::max(0, width);
    canvasHeight_ = std::max(0, height);
    EnsureSurface();
}

void Form::EnsureSurface()
{
    // Only the canvas's area is held, at device resolution; the window's
    // colour beyond it is painted with every paint event.
    const DeviceGrid grid(DeviceScale(widget_));
    const bool draws = canvasWidth_ > 0 && canvasHeight_ > 0;
    const QSize wanted = draws ? QSize(grid.EdgeClamped(canvasWidth_), grid.EdgeClamped(canvasHeight_)) : QSize(0, 0);
    Image& s = widget_->surface;
    if (QSize(s.Width(), s.Height()) == wanted && widget_->scale == grid.Scale())
        return;
    canvas_.Flush();
    s = draws ? RemadeImage(s, widget_->scale, wanted, grid.Scale(), color_) : Image();
    widget_->scale = grid.Scale();
    canvas_.Attach(draws ? &s : nullptr, viewer_.get(), widget_->scale);
}

} // namespace tk
