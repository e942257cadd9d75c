#pragma once

namespace activities {
class TJunsen_Form;
class TSyoten_Form;
} // namespace activities

namespace app {

class TMenu2;

// The program's three windows, created once at start-up in this order.
extern TMenu2* Menu2;
extern activities::TJunsen_Form* Junsen_Form;
extern activities::TSyoten_Form* Syoten_Form;

// Creates the three windows (the menu first, so it is the main window).
void CreateForms();
// Start-up: the application object, the windows, the event loop.
int RunProgram(int& argc, char** argv);

} // namespace app
