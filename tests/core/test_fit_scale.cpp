// The design scale that fits a screen: arithmetic on the screen's device
// pixels alone, the same for every backend.

#include "toolkit/design_scale.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// A screen as the window system reports it: its size and the area left by
// the desktop's panels, in device pixels, and the user's scaling.
struct FitCase {
    const char* name;
    tk::ScreenPixels screen;
    double expected;  // the design scale, in Qt's logical pixels
};

// Device pixels per design pixel at the design scale on that screen.
double DeviceFactor(const FitCase& c) { return c.expected * c.screen.ratio; }

TEST(FitScale, TheActivityWindowIsTheLargestThatFitsTheAvailableDevicePixels)
{
    const FitCase cases[] = {
        {"1024x768 at 100 %, the design's own screen", {1024, 768, 1024, 768, 1}, 1.0},
        {"1024x768 at 100 % with a panel keeps the design's size", {1024, 768, 1024, 738, 1}, 1.0},
        {"1366x768 at 100 %, a wide laptop screen", {1366, 768, 1366, 768, 1}, 1.0},
        {"1366x768 at 125 %", {1366, 768, 1366, 768, 1.25}, 0.8},
        {"1920x1080 at 100 %", {1920, 1080, 1920, 1080, 1}, 1080.0 / 768},
        {"1920x1080 at 125 %", {1920, 1080, 1920, 1080, 1.25}, 1.125},
        {"1920x1080 at 150 %", {1920, 1080, 1920, 1080, 1.5}, 0.9375},
        {"1920x1080 at 200 %", {1920, 1080, 1920, 1080, 2}, 0.703125},
        {"1920x1080 at 150 % with a panel", {1920, 1080, 1920, 1044, 1.5}, 0.90625},
        {"2048x1536 at 100 %", {2048, 1536, 2048, 1536, 1}, 2.0},
        {"3840x2160 at 200 %", {3840, 2160, 3840, 2160, 2}, 1.40625},
        {"3840x1080: the height limits a very wide screen", {3840, 1080, 3840, 1080, 1}, 1080.0 / 768},
        {"1280x720, a projector smaller than the design", {1280, 720, 1280, 720, 1}, 0.9375},
        {"800x600 shrinks the design", {800, 600, 800, 600, 1}, 0.78125},
        {"no screen reported", {0, 0, 0, 0, 1}, 1.0},
        {"no ratio reported", {1024, 768, 1024, 768, std::numeric_limits<double>::quiet_NaN()}, 1.0},
    };
    for (const FitCase& c : cases) {
        SCOPED_TRACE(c.name);
        const double s = tk::FitScale(c.screen);
        EXPECT_NEAR(s, c.expected, 1e-12);
        if (!(c.screen.ratio > 0) || c.screen.availableWidth == 0)
            continue;
        // The window's outer size in logical pixels, as Qt places it, is
        // on the available device pixels (or on the design's own size).
        const long w = std::lround(1024 * s), h = std::lround(768 * s);
        EXPECT_LE(std::lround(w * c.screen.ratio), std::max(c.screen.availableWidth, 1024));
        EXPECT_LE(std::lround(h * c.screen.ratio), std::max(c.screen.availableHeight, 768));
        EXPECT_GE(DeviceFactor(c), std::min(1.0, std::min(c.screen.width / 1024.0, c.screen.height / 768.0)));
    }
}

TEST(FitScale, AWindowRoundedToLogicalPixelsStaysOnTheArea)
{
    // 1081 device pixels at 200 %: 540.5 logical pixels would round up to a
    // window one device pixel taller than the screen.
    const double s = tk::FitScale({1920, 1081, 1920, 1081, 2});
    EXPECT_LE(std::lround(768 * s) * 2, 1081);
    EXPECT_GE(std::lround(768 * s) * 2, 1080) << "no more than a logical pixel given up";
}

} // namespace
