#pragma once

#include <cstdint>

namespace plane {

// A point of the plane in plane units: x to the right, y upwards.
struct RealPoint {
    float x = 0.0f;
    float y = 0.0f;
    friend bool operator==(const RealPoint&, const RealPoint&) = default;
};

// A pixel position of the plane surface before rounding (y grows downwards).
struct RealPixel {
    float x = 0.0f;
    float y = 0.0f;
    friend bool operator==(const RealPixel&, const RealPixel&) = default;
};

// A pixel position as the canvas takes it.
struct PixelPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

// The one rounding rule for pixel positions: halves go away from zero.
// NaN gives 0 and values beyond the 32-bit range are clamped to it, so no
// non-finite or huge value ever reaches an integer conversion.
std::int32_t Roundoff(long double v);
// How many values Roundoff was given that were NaN or infinite: every such
// value is a point that should never have reached the drawing.
long NonFiniteRoundoffs();

inline RealPoint ZahyoR(float x, float y) { return RealPoint{x, y}; }

// Zoom bar position (0..100) to GridUnit: Roundoff((50 - pos) * 8 / 25) + 20.
std::int32_t GridUnitForPosition(int position);

// The true distance between two plane points, and its square.
float Distance(RealPoint a, RealPoint b);
float SquaredDistance(RealPoint a, RealPoint b);

// Mapping between plane units and the pixels of a surface of the given size,
// which shows GridUnit plane units across its width and its height.
class Mapping {
public:
    Mapping(int width, int height, std::int32_t gridUnit)
        : width_(width), height_(height), gridUnit_(gridUnit) {}

    RealPixel ZahyotoDot(RealPoint p) const;
    RealPoint DottoZahyo(RealPixel q) const;
    static PixelPoint ZahyoRtoPoint(RealPixel q);
    // ZahyoRtoPoint(ZahyotoDot(p)), the path of every plane point to the canvas.
    PixelPoint ToPixel(RealPoint p) const { return ZahyoRtoPoint(ZahyotoDot(p)); }

    std::int32_t GridUnit() const { return gridUnit_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    int width_;
    int height_;
    std::int32_t gridUnit_;
};

} // namespace plane
