#include "toolkit/application.h"
#include "native.h"

#include "toolkit/design_scale.h"
#include "toolkit/form.h"
#include "messagebox.h"
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
} // namespace

// Sees every press of a mouse button before the widget does and reports it,
// so that a press in a form that is not the active one activates it before
// the press is handled.
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
        }
        return false;
    }
};

// What Qt does for the application's rules: whether a window is shown,
// OnActivate, the grace timer, and the modal box.
struct Application::Native : core::ActivationPort, core::MessageBoxPort {
    Native(int& argc, char** argv) : app(argc, argv), filter(&app) {}
    QApplication app;
    ActivationFilter filter;
    QTimer grace;
    QtTextPainter texts;

    bool Visible(const Form* form) const override { return form->Visible(); }
    void Activated(Form* form) override
    {
        if (form->OnActivate)
            form->OnActivate(form);
    }
    void StartGraceTimer(int ms) override { grace.start(ms); }
    void ShowBox(const std::string& title, const std::string& text) override
    {
        QString body = ToQString(text);
        body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        const Form* active = Application::Instance().ActiveForm();
        QWidget* owner = active ? AsWidget(active->NativeWidget()) : nullptr;
        MakeMessageBox(ToQString(title), body, owner)->exec();
        // The window that raised the box has the keyboard again, whether or
        // not the window system hands it back by itself.
        if (owner && owner->isVisible())
            owner->activateWindow();
        Application::Instance().gate_->Closed();
    }
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
    activation_ = std::make_unique<core::Activation>(*native_);
    gate_ = std::make_unique<core::MessageGate>(*native_);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    SetDesignScale(designScale > 0 ? designScale : ScreenFitScale());
    QApplication::setQuitOnLastWindowClosed(false);
    RegisterFontSubstitutes();
    SetTextPainter(&native_->texts);
    native_->app.installEventFilter(&native_->filter);
    native_->grace.setSingleShot(true);
    QObject::connect(&native_->grace, &QTimer::timeout, [this] { activation_->GraceOver(); });
}

Application::~Application()
{
    owned_.clear();
    SetTextPainter(nullptr);
    gate_.reset();
    activation_.reset();
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
    if (Form* main = MainForm())
        main->Show();
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

Form* Application::FormOf(const void* nativeWindow) const
{
    for (Form* f : activation_->Forms())
        if (AsWidget(f->NativeWidget()) == nativeWindow)
            return f;
    return nullptr;
}

} // namespace tk
