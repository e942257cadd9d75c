#include "device_grid.h"

#include <cmath>

namespace tk {

namespace {
constexpr double kLimit = 1 << 29;
}

// Ratios far outside what screens use are held to a range in which every
// loop below ends after a step or two.
DeviceGrid::DeviceGrid(double scale)
    : scale_(std::isfinite(scale) && scale > 0 ? std::fmin(std::fmax(scale, 0.125), 16.0) : 1.0)
{
}

int DeviceGrid::Clamp(double v)
{
    if (!(v > -kLimit))  // also NaN
        return static_cast<int>(-kLimit);
    if (v > kLimit)
        return static_cast<int>(kLimit);
    return static_cast<int>(v);
}

double DeviceGrid::Edge(double x) const { return IsUnit() ? x : std::floor(x * scale_ + 0.5); }

Rect DeviceGrid::ToDevice(const Rect& r) const
{
    return {EdgeClamped(r.left), EdgeClamped(r.top), EdgeClamped(r.right), EdgeClamped(r.bottom)};
}

int DeviceGrid::PenWidth(int designWidth) const
{
    if (designWidth < 1)
        designWidth = 1;
    if (IsUnit())
        return designWidth;
    const double w = std::floor(designWidth * scale_ + 0.5);
    return w < 1 ? 1 : Clamp(w);
}

double DeviceGrid::PenCoordinate(double x, int designWidth) const
{
    if (IsUnit())
        return x;
    const double centre = (designWidth % 2 == 1 ? x + 0.5 : x) * scale_;
    return PenWidth(designWidth) % 2 == 1 ? std::floor(centre) : std::floor(centre + 0.5);
}

double DeviceGrid::CentrePixel(double x) const { return IsUnit() ? x : std::floor((x + 0.5) * scale_); }

int DeviceGrid::DesignPixelAt(double device) const
{
    // Positions beyond the limit are held there, where a step of 1 is
    // still exact.
    device = std::floor(static_cast<double>(Clamp(device)));
    if (IsUnit())
        return static_cast<int>(device);
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
