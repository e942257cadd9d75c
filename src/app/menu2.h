#pragma once

#include "toolkit/button.h"
#include "toolkit/form.h"

#include <memory>

namespace app {

// The start menu: opens one activity at a time and hides both whenever it
// becomes the active window itself.
class TMenu2 : public tk::Form {
public:
    TMenu2();

    std::unique_ptr<tk::Button> junsen;
    std::unique_ptr<tk::Button> syoten;
    std::unique_ptr<tk::Button> syuryo;

    void FormCreate();
    void FormActivate(tk::Object* sender);
    void junsenClick(tk::Object* sender);
    void syotenClick(tk::Object* sender);
    void syuryoClick(tk::Object* sender);
};

} // namespace app
