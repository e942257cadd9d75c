#pragma once

namespace tk {

// The windows are laid out in design pixels, for a 1024 x 768 screen. On
// any other screen the whole program is shown enlarged or shrunk by one
// factor, the design scale: a design pixel is that many of Qt's logical
// pixels. All behaviour stays in design pixels (bounds, the mapping, clicks,
// the screen size the program reads); only what reaches the window system
// is scaled.

// The factor in force (1 until the application sets it).
double DesignScale();
// Set once, by the application, before the first window is made.
void SetDesignScale(double scale);

// A screen in device pixels, and the device pixels per logical pixel of Qt on it
// (the user's scaling, through QT_SCALE_FACTOR or the desktop's DPI).
struct ScreenPixels {
    int width = 0, height = 0;
    int availableWidth = 0, availableHeight = 0;  // less the desktop's panels
    double ratio = 1;
};

// The largest factor at which a window of the design's 1024 x 768 outer
// bounds fits the available area, in device pixels, whatever the user's
// scaling; on a screen of at least the design's size, never smaller than
// the design in device pixels. 1 when the area is unknown (0).
double FitScale(const ScreenPixels& screen);

// A design length in logical pixels, and back (rounded to nearest).
int ToLogical(int design);
int ToDesign(int logical);

// One design pixel of a stroke drawn in whole device pixels (the focus
// frame's dots, the second strike of a made-up bold) on a device of the
// given pixel ratio: the design scale times the ratio, rounded, at least 1.
int DesignStroke(double ratio);

} // namespace tk
