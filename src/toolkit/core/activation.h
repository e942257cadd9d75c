#pragma once

#include <vector>

namespace tk {
class Form;
}

namespace tk::core {

// What made a form the active one: its Show, a press of a mouse button in
// it, or the window system's report that its window became active.
enum class ActivationSource { Show, Pointer, WindowSystem };

// What a platform does for the activation rule: tells whether a form's
// window is shown, runs a form's OnActivate, and runs the one grace timer,
// which calls Activation::GraceOver when it runs out.
class ActivationPort {
public:
    virtual bool Visible(const Form* form) const = 0;
    virtual void Activated(Form* form) = 0;
    virtual void StartGraceTimer(int ms) = 0;

protected:
    ~ActivationPort() = default;
};

// The application's forms in order of creation, the main form (the first
// one the application itself creates) and the active form. A form becomes active when it is shown, when a
// mouse button is pressed in it and when the window system reports it
// active; OnActivate runs once per change of the active form, at once (so
// before Show returns). After a Show the window system still owes its own
// report for that form; until it comes, or the grace period runs out, a
// report for another form is stale (it was asked for before this Show) and
// does not take the focus back.
class Activation {
public:
    // How long an activation that a window system still owes after a Show
    // may hold back the activation of another form.
    static constexpr int kGraceMs = 1500;

    explicit Activation(ActivationPort& port) : port_(port) {}

    void Add(Form* form);
    void Remove(Form* form);
    const std::vector<Form*>& Forms() const { return forms_; }
    // The first form offered becomes the main form; later ones are not.
    void OfferMain(Form* form)
    {
        if (!main_)
            main_ = form;
    }
    Form* Main() const { return main_; }
    Form* Active() const { return active_; }

    void Note(Form* form, ActivationSource source);
    // The form's window was hidden: it is no longer active.
    void Hidden(Form* form);
    // The grace timer ran out.
    void GraceOver() { awaiting_ = nullptr; }

private:
    ActivationPort& port_;
    std::vector<Form*> forms_;
    Form* main_ = nullptr;
    Form* active_ = nullptr;
    Form* awaiting_ = nullptr;
};

} // namespace tk::core
