#pragma once

#include "object.h"

#include <cmath>

namespace tk {

// Where the design pixels of a surface fall on its device pixels when the
// surface is held at `scale` device pixels per design pixel (Qt's device
// pixel ratio; any factor the program itself scales by multiplies it).
// Design pixel x covers the device pixels from Edge(x) up to Edge(x + 1);
// a pen of one design width is one whole number of device pixels wide
// everywhere, so lines do not alternate between two widths. At scale 1
// every function is the identity.
class DeviceGrid {
public:
    DeviceGrid() = default;
    // A scale that is not a positive finite number counts as 1.
    explicit DeviceGrid(double scale);

    double Scale() const { return scale_; }
    bool IsUnit() const { return scale_ == 1.0; }

    // The device edge of design coordinate x. Rounding is half up, not away
    // from zero, so that the grid looks the same on both sides of 0.
    double Edge(double x) const { return IsUnit() ? x : std::floor(x * scale_ + 0.5); }
    int EdgeClamped(double x) const { return Clamp(Edge(x)); }
    Rect ToDevice(const Rect& r) const;

    // The device width of a pen of the given design width (at least 1). A
    // pen of one design pixel is no wider than the narrowest design pixel,
    // so that a line lies on its own design pixel's device pixels only and
    // a press on any pixel of it selects that design pixel.
    int PenWidth(int designWidth) const
    {
        if (designWidth < 1)
            designWidth = 1;
        if (IsUnit())
            return designWidth;
        const double w = designWidth == 1 ? std::floor(scale_) : std::floor(designWidth * scale_ + 0.5);
        return w < 1 ? 1 : Clamp(w);
    }
    // The device coordinate at which a pen of the design width, laid at
    // design coordinate x, is drawn by an aliased rasteriser: a pen of odd
    // width is centred on its pixel's centre, one of even width on the
    // pixel's top-left corner, in device pixels as in design pixels. A pen
    // of one design pixel stays within that pixel's device pixels.
    double PenCoordinate(double x, int designWidth) const
    {
        if (IsUnit())
            return x;
        const double centre = (designWidth % 2 == 1 ? x + 0.5 : x) * scale_;
        const int pen = PenWidth(designWidth);
        double at = pen % 2 == 1 ? std::floor(centre) : std::floor(centre + 0.5);
        if (designWidth == 1 && scale_ > 1) {
            // The pen covers [at - before, at + after] in device pixels.
            const int before = pen / 2, after = (pen - 1) / 2;
            const double x0 = std::floor(x);
            at = std::fmax(std::fmin(at, Edge(x0 + 1) - 1 - after), Edge(x0) + before);
        }
        return at;
    }

    // The device pixel at the centre of design pixel x.
    double CentrePixel(double x) const { return IsUnit() ? x : std::floor((x + 0.5) * scale_); }
    // The design pixel that device pixel `device` belongs to; where there
    // are fewer device pixels than design pixels, the one drawn on it whose
    // centre is nearest.
    int DesignPixelAt(double device) const;
    // How many whole design pixels a surface of `devicePixels` holds.
    int DesignExtent(int devicePixels) const;

    // A device coordinate as an int, held within a range where sums of a
    // few of them cannot overflow.
    static int Clamp(double v)
    {
        constexpr double kLimit = 1 << 29;
        if (!(v > -kLimit))  // also NaN
            return static_cast<int>(-kLimit);
        return v > kLimit ? static_cast<int>(kLimit) : static_cast<int>(v);
    }

private:
    double scale_ = 1.0;
};

} // namespace tk
