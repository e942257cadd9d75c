#pragma once

namespace tk {

// The windows are laid out in design pixels, for a 1024 x 768 screen. On a
// larger screen the whole program is shown enlarged by one factor, the
// design scale: a design pixel is that many of Qt's logical pixels. All
// behaviour stays in design pixels (bounds, the mapping, clicks, the screen
// size the program reads); only what reaches the window system is scaled.

// The factor in force (1 until the application sets it).
double DesignScale();
// Set once, by the application, before the first window is made.
void SetDesignScale(double scale);

// The largest factor, never below 1, at which a window of the design's
// 1024 x 768 outer bounds fits an available area of the given size; 1 when
// the area is unknown (0) or when the user's own scaling is to win.
double FitScale(int availableWidth, int availableHeight, bool userScales);

// A design length in logical pixels, and back (rounded to nearest).
int ToLogical(int design);
int ToDesign(int logical);

} // namespace tk
