#include "toolkit/application.h"
#include "native.h"

#include "toolkit/design_scale.h"
#include "toolkit/form.h"
#include "messagebox.h"
#include "presses.h"
#include "qtbridge.h"
#include "text_painter.h"

#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QScreen>
#include <QStyleFactory>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cassert>
#include <cmath>

namespace tk {

namespace {
Application* instance = nullptr;

// How long an activation that a window system still owes after Show() may
// hold back the activation of another form.
constexpr int kActivationGraceMs = 1500;
} // namespace

// Sees every press of a mouse button before the widget does: a press in a
// form that is not the active one activates it, as on desktops where a click
// brings a window to the front. When a modal window blocks a form, every
// press in progress there ends, as when the modal window takes the capture.
class ActivationFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if ((type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) && watched->isWidgetType()) {
            Application& app = Application::Instance();
            if (Form* form = app.FormOf(static_cast<QWidget*>(watched)->window()))
                app.NoteActivation(form, Application::ActivationSource::Pointer);
        } else if (type == QEvent::WindowBlocked && watched->isWidgetType()) {
            auto* window = static_cast<QWidget*>(watched);
            if (Application::Instance().FormOf(window))
                CancelPresses(window);
        }
        return false;
    }
};

struct Application::Native {
    Native(int& argc, char** argv) : app(argc, argv), filter(&app) {}
    QApplication app;
    ActivationFilter filter;
    QTimer grace;
    QtTextPainter texts;
};

namespace {
// Fit the design to the screen's available area, counted in device pixels,
// so that the user's own scaling (QT_SCALE_FACTOR, the desktop's DPI) only
// changes how many logical pixels a design pixel is. A platform that reports
// no screen before the first window gets the design at its own size.
double ScreenFitScale()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 1.0;
    const double ratio = screen->devicePixelRatio();
    const auto device = [ratio](int logical) { return static_cast<int>(std::lround(logical * ratio)); };
    const QSize whole = screen->geometry().size(), area = screen->availableGeometry().size();
    return FitScale({device(whole.width()), device(whole.height()), device(area.width()), device(area.height()), ratio});
}
} // namespace

Application::Application(int& argc, char** argv, double designScale)
{
    assert(instance == nullptr);
    instance = this;
    native_ = std::make_unique<Native>(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    SetDesignScale(designScale > 0 ? designScale : ScreenFitScale());
    QApplication::setQuitOnLastWindowClosed(false);
    RegisterFontSubstitutes();
    SetTextPainter(&native_->texts);
    native_->app.installEventFilter(&native_->filter);
    native_->grace.setSingleShot(true);
    QObject::connect(&native_->grace, &QTimer::timeout, [this] { awaitingWindowSystem_ = nullptr; });
}

Application::~Application()
{
    owned_.clear();
    SetTextPainter(nullptr);
    native_.reset();
    instance = nullptr;
}

Application& Application::Instance()
{
    assert(instance != nullptr);
    return *instance;
}

int Application::Run()
{
    if (main_)
        main_->Show();
    return QApplication::exec();
}

void Application::SetIdentity(const std::string& version, const std::string& desktopEntry)
{
    QCoreApplication::setApplicationVersion(ToQString(version));
    QGuiApplication::setDesktopFileName(ToQString(desktopEntry));
}

void Application::Terminate() { QCoreApplication::exit(0); }

int Application::ScreenWidth() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? ToDesign(screen->geometry().width()) : 1024;
}

int Application::ScreenHeight() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? ToDesign(screen->geometry().height()) : 768;
}

void Application::MessageBox(const std::string& text)
{
    // One box at a time: a box that something raises while another is open
    // (a repaint inside the first, say) is not shown.
    if (boxOpen_)
        return;
    boxOpen_ = true;
    const struct Closed {
        bool& open;
        ~Closed() { open = false; }
    } closed{boxOpen_};
    if (messageHandler_) {
        messageHandler_(title_, text);
        return;
    }
    QString body = ToQString(text);
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QWidget* owner = active_ ? AsWidget(active_->NativeWidget()) : nullptr;
    MakeMessageBox(ToQString(title_), body, owner)->exec();
    // The window that raised the box has the keyboard again, whether or not
    // the window system hands it back by itself.
    if (owner && owner->isVisible())
        owner->activateWindow();
}

void Application::RegisterForm(Form* form) { forms_.push_back(form); }

void Application::UnregisterForm(Form* form)
{
    std::erase(forms_, form);
    if (active_ == form)
        active_ = nullptr;
    if (awaitingWindowSystem_ == form)
        awaitingWindowSystem_ = nullptr;
    if (main_ == form)
        main_ = nullptr;
}

Form* Application::FormOf(const void* nativeWindow) const
{
    for (Form* f : forms_)
        if (AsWidget(f->NativeWidget()) == nativeWindow)
            return f;
    return nullptr;
}

void Application::NoteActivation(Form* form, ActivationSource source)
{
    if (!form || !form->Visible())
        return;
    switch (source) {
    case ActivationSource::Show:
        // The window system will confirm this activation later; until then an
        // activation it reports for another form is stale (it was requested
        // before this Show) and must not take the focus back.
        awaitingWindowSystem_ = form;
        native_->grace.start(kActivationGraceMs);
        break;
    case ActivationSource::WindowSystem:
        if (awaitingWindowSystem_ && awaitingWindowSystem_ != form)
            return;
        awaitingWindowSystem_ = nullptr;
        break;
    case ActivationSource::Pointer:
        awaitingWindowSystem_ = nullptr;
        break;
    }
    // A message box is no form: when it closes and the window system hands
    // the focus back to the form that opened it, the active form is
    // unchanged and nothing is raised.
    if (form == active_)
        return;
    active_ = form;
    if (form->OnActivate)
        form->OnActivate(form);
}

void Application::NoteHidden(Form* form)
{
    if (active_ == form)
        active_ = nullptr;
    if (awaitingWindowSystem_ == form)
        awaitingWindowSystem_ = nullptr;
}

void ShowMessage(const std::string& text) { Application::Instance().MessageBox(text); }

} // namespace tk
