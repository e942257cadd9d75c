// Test entry for everything that needs the window system: one application
// object for the whole run, on Qt's offscreen platform unless told otherwise.
// The design is shown at its own size: fitted, it would shrink to the
// offscreen screen's 800 x 600, and only the fit's own test is about that.

#include "toolkit/application.h"

#include <gtest/gtest.h>

#include <cstdlib>

#ifdef __EMSCRIPTEN__
#include <emscripten/emscripten.h>
#endif

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    int code = 0;
    {
        tk::Application application(argc, argv, 1.0);
        code = RUN_ALL_TESTS();
    }
#ifdef __EMSCRIPTEN__
    // In the page the tests run suspended and resumed by the event loop, so
    // main's return reaches nobody, and timers the program left keep the
    // runtime alive: the run ends with the code explicitly.
    emscripten_force_exit(code);
#endif
    return code;
}
