// Test entry for everything that needs the window system: one application
// object for the whole run, on Qt's offscreen platform unless told otherwise.

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
