// Test entry for everything that needs the window system: one application
// object for the whole run, on Qt's offscreen platform unless told otherwise.
// The design is shown at its own size: fitted, it would shrink to the
// offscreen screen's 800 x 600, and only the fit's own test is about that.

#include "toolkit/application.h"

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    tk::Application application(argc, argv, 1.0);
    return RUN_ALL_TESTS();
}
