#include "application.h"

#include "form.h"
#include "messagebox.h"
#include "qtbridge.h"

#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QScreen>
#include <QStyleFactory>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cassert>

namespace tk {

namespace {
Application* instance = nullptr;

// How long an activation that a window system still owes after Show() may
// hold back the activation of another form.
constexpr int kActivationGraceMs = 1500;
} // namespace

// Sees every press of a mouse button before the widget does: a press in a
// form that is not the active one activates it, as on desktops where a click
// brings a window to the front.
class ActivationFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if ((event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) &&
            watched->isWidgetType()) {
            Application& app = Application::Instance();
            if (Form* form = app.FormOf(static_cast<QWidget*>(watched)->window()))
                app.NoteActivation(form, Application::ActivationSource::Pointer);
        }
        return false;
    }
};

struct Application::Native {
    Native(int& argc, char** argv) : app(argc, argv), filter(&app) {}
    QApplication app;
    ActivationFilter filter;
    QTimer grace;
};

Application::Application(int& argc, char** argv)
{
    assert(instance == nullptr);
    instance = this;
    native_ = std::make_unique<Native>(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setQuitOnLastWindowClosed(false);
    RegisterFontSubstitutes();
    native_->app.installEventFilter(&native_->filter);
    native_->grace.setSingleShot(true);
    QObject::connect(&native_->grace, &QTimer::timeout, [this] { awaitingWindowSystem_ = nullptr; });
}

Application::~Application()
{
    owned_.clear();
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

void Application::Terminate() { QCoreApplication::exit(0); }

int Application::ScreenWidth() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().width() : 1024;
}

int Application::ScreenHeight() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().height() : 768;
}

void Application::MessageBox(const std::string& text)
{
    if (messageHandler_) {
        messageHandler_(title_, text);
        return;
    }
    QString body = ToQString(text);
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QWidget* owner = active_ ? active_->NativeWidget() : nullptr;
    MakeMessageBox(ToQString(title_), body, owner)->exec();
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
        if (f->NativeWidget() == nativeWindow)
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
