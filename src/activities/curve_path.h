#pragma once

#include "plane/mapping.h"

#include <cmath>
#include <cstdint>

namespace activities::detail {

// Both curves take at most this many samples in each of their two passes.
inline constexpr int kSamplesPerPass = 1000;

// The distance between samples: 1000 samples span twice GridUnit, so the
// curve is sampled across twice the visible range, 1.32 pixels apart at
// every zoom.
inline float SampleStep(std::int32_t gridUnit)
{
    return static_cast<float>(2.0L * gridUnit / kSamplesPerPass);
}

// One step of the parameter, rounded to a float as the parameter is stored.
inline float Advance(float t, float step) { return static_cast<float>(static_cast<long double>(t) + step); }

// Turns plane points into a polyline on a sink with MoveTo and LineTo in
// integer pixels. The first point after a break starts a new polyline with a
// move; every later one is joined to the pen position by a line. A point
// whose coordinates or pixel position are not finite is left out: the pen
// stays where it is and the next point is joined to it.
template <class Sink>
class CurvePath {
public:
    enum class Plotted { Nothing, Moved, Joined };

    CurvePath(const plane::Mapping& map, Sink& sink) : map_(map), sink_(sink) {}

    // The next point drawn starts a new polyline.
    void Break() { startsPolyline_ = true; }

    Plotted Plot(float x, float y)
    {
        if (!std::isfinite(x) || !std::isfinite(y))
            return Plotted::Nothing;
        const plane::RealPixel q = map_.ZahyotoDot(plane::ZahyoR(x, y));
        if (!std::isfinite(q.x) || !std::isfinite(q.y))
            return Plotted::Nothing;
        pen_ = plane::Mapping::ZahyoRtoPoint(q);
        if (startsPolyline_) {
            startsPolyline_ = false;
            sink_.MoveTo(pen_.x, pen_.y);
            return Plotted::Moved;
        }
        sink_.LineTo(pen_.x, pen_.y);
        return Plotted::Joined;
    }

    // The pixel of the last point drawn.
    plane::PixelPoint Pen() const { return pen_; }

    void LineTo(plane::PixelPoint p)
    {
        pen_ = p;
        sink_.LineTo(p.x, p.y);
    }

private:
    const plane::Mapping& map_;
    Sink& sink_;
    bool startsPolyline_ = true;
    plane::PixelPoint pen_;
};

// Remembers the first pixel of a closed curve and draws the closing line back
// to it; nothing is closed when the first half drew no point.
struct CurveStart {
    bool recorded = false;
    plane::PixelPoint pixel;

    template <class Sink>
    void Note(typename CurvePath<Sink>::Plotted plotted, const CurvePath<Sink>& path)
    {
        if (plotted == CurvePath<Sink>::Plotted::Moved && !recorded) {
            recorded = true;
            pixel = path.Pen();
        }
    }

    template <class Sink>
    void Close(CurvePath<Sink>& path) const
    {
        if (recorded)
            path.LineTo(pixel);
    }
};

} // namespace activities::detail
