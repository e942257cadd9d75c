#pragma once

#include "plane/plane.h"
#include "toolkit/object.h"

#include <string>

namespace tk {
class Canvas;
}

namespace plane {

// Where the readout writes on the window's own canvas, above the plane.
constexpr tk::Rect kCoordinateRect{10, 5, 210, 25};
constexpr tk::Rect kQuantityRect{345, 5, 700, 25};
constexpr tk::Rect kStatusStrip{10, 5, 700, 25};

// One readout of P against the entered condition, as a window measured it.
struct Measurement {
    std::string text;   // the measured quantity and its error
    RealPoint from;     // the fixed object the first segment starts at
    RealPoint to;       // the fixed object the second segment ends at
    bool matched;       // the error is within the window's tolerance
};

// "点Ｐ (x , y)" with both coordinates in the number format.
std::string CoordinateText(RealPoint p);

// Writes a text opaquely into its rectangle of the window canvas, in the
// given colour, from the rectangle's top-left corner.
void WriteStrip(tk::Canvas& window, const tk::Rect& rect, tk::TColor colour, const std::string& text);

// Shows the readout: the quantity text, P's marker and coordinates, the
// segments from -> P -> to (magenta when matched, yellow otherwise, 2 pixels
// wide), and stores P as an afterimage when it matched. Leaves the plane's
// pen 2 pixels wide in the segments' colour.
void ShowReadout(Plane& plane, tk::Canvas& window, const Measurement& m);

} // namespace plane
