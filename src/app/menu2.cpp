#include "menu2.h"

#include "activities/junsen_form.h"
#include "activities/syoten_form.h"
#include "app/forms.h"
#include "toolkit/application.h"

namespace app {

TMenu2::TMenu2()
    : junsen(std::make_unique<tk::Button>(*this, "定点と定直線との距離の比")),
      syoten(std::make_unique<tk::Button>(*this, "２つの定点との距離の和と差")),
      syuryo(std::make_unique<tk::Button>(*this, "終　　了"))
{
    SetCaption("Orvalis");
    SetColor(tk::RGB(255, 210, 210));
    SetFont({"ＭＳ Ｐゴシック", 12, tk::clWindowText, false});

    const tk::Font buttonFont{"ＭＳ Ｐゴシック", 16, tk::clWindowText, false};
    junsen->SetBounds(16, 8, 209, 49);
    syoten->SetBounds(16, 72, 209, 49);
    syuryo->SetBounds(16, 136, 209, 49);
    for (tk::Button* b : {junsen.get(), syoten.get(), syuryo.get()})
        b->SetFont(buttonFont);
    SetTabOrder({junsen.get(), syoten.get(), syuryo.get()});

    junsen->OnClick = [this](tk::Object* s) { junsenClick(s); };
    syoten->OnClick = [this](tk::Object* s) { syotenClick(s); };
    syuryo->OnClick = [this](tk::Object* s) { syuryoClick(s); };
    OnActivate = [this](tk::Object* s) { FormActivate(s); };
    FormCreate();
}

void TMenu2::FormCreate()
{
    SetTop(0);
    SetLeft(0);
    SetWidth(250);
    SetHeight(250);
}

void TMenu2::FormActivate(tk::Object*)
{
    if (Junsen_Form)
        Junsen_Form->Hide();
    if (Syoten_Form)
        Syoten_Form->Hide();
}

void TMenu2::junsenClick(tk::Object*)
{
    // Showing activates the window, which resets it; the clear then resets
    // it once more.
    Junsen_Form->Show();
    Junsen_Form->ClsButtonClick(nullptr);
}

void TMenu2::syotenClick(tk::Object*)
{
    Syoten_Form->Show();
    Syoten_Form->ClsButtonClick(nullptr);
}

void TMenu2::syuryoClick(tk::Object*) { tk::Application::Instance().Terminate(); }

} // namespace app
