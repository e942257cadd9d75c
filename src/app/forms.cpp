#include "app/forms.h"

#include "activities/junsen_form.h"
#include "activities/syoten_form.h"
#include "app/menu2.h"
#include "orvalis_version.h"
#include "toolkit/application.h"

namespace app {

TMenu2* Menu2 = nullptr;
activities::TJunsen_Form* Junsen_Form = nullptr;
activities::TSyoten_Form* Syoten_Form = nullptr;

void CreateForms()
{
    tk::Application& application = tk::Application::Instance();
    Menu2 = application.CreateForm<TMenu2>();
    Junsen_Form = application.CreateForm<activities::TJunsen_Form>();
    Syoten_Form = application.CreateForm<activities::TSyoten_Form>();
}

int RunProgram(int& argc, char** argv)
{
    tk::Application application(argc, argv);
    // The installed program's version, and its desktop entry, by which a
    // Wayland desktop finds the name and icon of its windows.
    application.SetIdentity(ORVALIS_VERSION, ORVALIS_APP_ID);
    CreateForms();
    const int result = application.Run();
    Menu2 = nullptr;
    Junsen_Form = nullptr;
    Syoten_Form = nullptr;
    return result;
}

} // namespace app
