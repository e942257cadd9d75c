#pragma once

#include "plane/mapping.h"
#include "toolkit/color.h"

#include <array>
#include <cstdint>
#include <string>

namespace tk {
class PaintBox;
class Canvas;
} // namespace tk

namespace plane {

// Where the two activity windows draw their plane differently.
struct PlaneStyle {
    // The border of the cleared plane is drawn 1 pixel wide; otherwise it
    // takes whatever width the pen was left with.
    bool thinBorder = true;
    // Every grid line sets the pen width to 1 itself.
    bool thinGridLines = false;
    // A point marker leaves the pen maroon instead of in its own colour.
    bool markerLeavesMaroon = false;
    // Kyori gives the squared distance instead of the distance.
    bool squaredKyori = false;
};

// The coordinate plane of one activity window: its zoom, the moving point P
// with the afterimages of P, and the drawing of grid, axes and markers on
// the window's plane surface.
class Plane {
public:
    static constexpr int kMaxAfterimages = 1000;

    Plane(tk::PaintBox& surface, PlaneStyle style) : surface_(surface), style_(style) {}

    // Plane units across the surface; 0 until the first reset sets the zoom.
    std::int32_t GridUnit = 0;
    int AfterimageCount = 0;
    RealPixel ClickPixel;
    // The two texts the last readout wrote above the plane.
    std::string ReadoutCoordinates;
    std::string ReadoutQuantity;

    RealPoint& PointP() { return points_[0]; }
    const RealPoint& PointP() const { return points_[0]; }
    // Element k of the store, 1 <= k <= AfterimageCount.
    const RealPoint& Afterimage(int k) const { return points_[static_cast<std::size_t>(k)]; }

    // The zoom formula applied to a scroll position.
    void SetZoom(int scrollPosition) { GridUnit = GridUnitForPosition(scrollPosition); }

    Mapping Map() const;
    RealPixel ZahyotoDot(RealPoint p) const { return Map().ZahyotoDot(p); }
    RealPoint DottoZahyo(RealPixel q) const { return Map().DottoZahyo(q); }
    static PixelPoint ZahyoRtoPoint(RealPixel q) { return Mapping::ZahyoRtoPoint(q); }
    PixelPoint ToPixel(RealPoint p) const { return Map().ToPixel(p); }
    float Kyori(RealPoint a, RealPoint b) const
    {
        return style_.squaredKyori ? SquaredDistance(a, b) : Distance(a, b);
    }

    // Clears the surface to white and draws the grid and the axes; leaves
    // the pen maroon.
    void ZahyoHeimen_Draw();
    // A 5-pixel dot at p in the pen's current colour.
    void Ten_Dsp(RealPoint p);
    // Stores P as one more afterimage while the store has room.
    void ZanzoKioku();
    // Dots at every stored afterimage.
    void Zanzo_Dsp();
    // P taken from a click at pixel (x, y) of the surface.
    void SetPFromClick(int x, int y);

    tk::Canvas& Canvas();

private:
    tk::PaintBox& surface_;
    PlaneStyle style_;
    std::array<RealPoint, kMaxAfterimages + 1> points_{};
};

} // namespace plane
