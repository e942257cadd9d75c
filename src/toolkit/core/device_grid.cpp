#include "toolkit/device_grid.h"

#include <cmath>

namespace tk {

// Ratios far outside what screens use are held to a range in which every
// loop below ends after a step or two.
DeviceGrid::DeviceGrid(double scale)
    : scale_(std::isfinite(scale) && scale > 0 ? std::fmin(std::fmax(scale, 0.125), 16.0) : 1.0)
{
}

Rect DeviceGrid::ToDevice(const Rect& r) const
{
    return {EdgeClamped(r.left), EdgeClamped(r.top), EdgeClamped(r.right), EdgeClamped(r.bottom)};
}

int DeviceGrid::DesignPixelAt(double device) const
{
    // Positions beyond the limit are held there, where a step of 1 is
    // still exact.
    device = std::floor(static_cast<double>(Clamp(device)));
    if (IsUnit())
        return static_cast<int>(device);
    if (scale_ < 1) {
        // Fewer device pixels than design pixels: some design pixels have no
        // device pixel of their own and are drawn on their centre's pixel.
        // Of the design pixels drawn on this one, the one whose centre is
        // nearest to its centre, so that what is drawn at the design pixel
        // a press selects lies under the pointer.
        double x = std::floor((device + 0.5) / scale_);
        while (CentrePixel(x) > device)
            x -= 1;
        while (CentrePixel(x) < device)
            x += 1;
        return Clamp(x);
    }
    // The estimate is off by at most one either way; the edges decide.
    double x = std::floor((device + 0.5) / scale_);
    while (Edge(x) > device)
        x -= 1;
    while (Edge(x + 1) <= device)
        x += 1;
    return Clamp(x);
}

int DeviceGrid::DesignExtent(int devicePixels) const
{
    if (IsUnit())
        return devicePixels;
    double x = std::floor(devicePixels / scale_);
    while (x > 0 && Edge(x) > devicePixels)
        x -= 1;
    while (Edge(x + 1) <= devicePixels)
        x += 1;
    return Clamp(x);
}

} // namespace tk
