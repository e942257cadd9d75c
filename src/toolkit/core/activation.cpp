#include "activation.h"

#include <algorithm>

namespace tk::core {

void Activation::Add(Form* form)
{
    forms_.push_back(form);
}

void Activation::Remove(Form* form)
{
    std::erase(forms_, form);
    if (main_ == form)
        main_ = nullptr;
    Hidden(form);
}

void Activation::Hidden(Form* form)
{
    if (active_ == form)
        active_ = nullptr;
    if (awaiting_ == form)
        awaiting_ = nullptr;
}

void Activation::Note(Form* form, ActivationSource source)
{
    if (!form || std::find(forms_.begin(), forms_.end(), form) == forms_.end() || !port_.Visible(form))
        return;
    switch (source) {
    case ActivationSource::Show:
        awaiting_ = form;
        port_.StartGraceTimer(kGraceMs);
        break;
    case ActivationSource::WindowSystem:
        if (awaiting_ && awaiting_ != form)
            return;
        awaiting_ = nullptr;
        break;
    case ActivationSource::Pointer:
        awaiting_ = nullptr;
        break;
    }
    // A message box is no form: when it closes and the window system hands
    // the focus back to the form that opened it, the active form is
    // unchanged and nothing is raised.
    if (form == active_)
        return;
    active_ = form;
    port_.Activated(form);
}

} // namespace tk::core
