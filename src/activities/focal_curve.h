#pragma once

#include "activities/curve_path.h"
#include "plane/mapping.h"

#include <cmath>
#include <cstdint>

namespace activities {

// The conditions of the two fixed points activity: the foci F1 and F2 and
// either the sum (kind 1) or the difference (kind 2) of the distances PF1 and
// PF2, a whole number.
struct FocalCurveInput {
    plane::RealPoint focus1;
    plane::RealPoint focus2;
    std::int32_t distanceKind = 0;
    std::int32_t distanceValue = 0;
};

// Whether the curve of two foci can be drawn: they lie on a common vertical
// or horizontal line (equal points included).
inline bool FociAligned(plane::RealPoint f1, plane::RealPoint f2) { return f1.x == f2.x || f1.y == f2.y; }

// Draws the locus of the points P whose distances to F1 and F2 have the given
// sum (an ellipse: one closed polyline) or difference (a hyperbola: two open
// polylines, one per branch) onto the sink, for aligned foci; other pairs and
// other kinds draw nothing.
//
// With the centre M, a = value / 2 and c = |F1F2| / 2, the ellipse is sampled
// along its major axis, t from the centre: the offset across the axis is
// b sqrt(1 - (t / a)^2), b^2 = a^2 - c^2, and samples beyond the ends of the
// axis are left out. The hyperbola is sampled across the focus line: the
// offset along it is a sqrt(1 + (t / b)^2), b^2 = c^2 - a^2. Each curve takes
// two passes of 1000 samples over twice the visible range, up with the plus
// sign and back down with the minus sign. The sink takes MoveTo(x, y) and
// LineTo(x, y) in integer pixels; the pen colour is the caller's. Nothing is
// allocated.
template <class Sink>
void TraceFocalCurve(const FocalCurveInput& in, const plane::Mapping& map, Sink& sink)
{
    using Real = long double;
    const plane::RealPoint f1 = in.focus1;
    const plane::RealPoint f2 = in.focus2;
    const bool sum = in.distanceKind == 1;
    if (!FociAligned(f1, f2) || (!sum && in.distanceKind != 2))
        return;

    // A vertical pair (equal x, which includes F1 = F2) has its focus line
    // along y; any other aligned pair along x.
    const bool vertical = f1.x == f2.x;
    const Real half = vertical ? (static_cast<Real>(f1.y) - f2.y) / 2 : (static_cast<Real>(f1.x) - f2.x) / 2;
    const auto a = static_cast<float>(static_cast<Real>(in.distanceValue) / 2);
    const Real aa = static_cast<Real>(a) * a;
    const Real bb = sum ? aa - half * half : half * half - aa;
    // A sum shorter than F1F2 or a difference longer than it has no points; a
    // difference equal to F1F2 would divide by b = 0. A sum equal to F1F2
    // keeps b = 0 and traces the segment F1F2, which is its true locus.
    if (!(bb >= 0))
        return;
    const auto b = static_cast<float>(std::sqrt(bb));
    if (!sum && b == 0)
        return;
    const auto m = static_cast<float>(vertical ? (static_cast<Real>(f1.y) + f2.y) / 2
                                               : (static_cast<Real>(f1.x) + f2.x) / 2);
    const float across = vertical ? f1.x : f1.y;
    const float step = detail::SampleStep(map.GridUnit());
    const auto range = static_cast<float>(map.GridUnit());

    detail::CurvePath<Sink> path(map, sink);
    // Plots the point at `along` on the focus line's axis and `off` across it.
    const auto plot = [&](float along, float off) { return vertical ? path.Plot(off, along) : path.Plot(along, off); };
    const auto sample = [&](float t, Real sign) {
        if (sum) {
            const Real r = static_cast<Real>(t) / a;
            const auto u = static_cast<float>(1 - r * r);
            if (u < 0)
                return detail::CurvePath<Sink>::Plotted::Nothing;
            const auto w = static_cast<float>(b * std::sqrt(static_cast<Real>(u)));
            return plot(static_cast<float>(static_cast<Real>(m) + t),
                        static_cast<float>(static_cast<Real>(across) + sign * w));
        }
        const Real r = static_cast<Real>(t) / b;
        const auto w = static_cast<float>(a * std::sqrt(1 + r * r));
        return plot(static_cast<float>(static_cast<Real>(m) + sign * w),
                    static_cast<float>(static_cast<Real>(across) + t));
    };

    detail::CurveStart start;
    float t = -range;
    for (int i = 0; i < detail::kSamplesPerPass; ++i) {
        t = detail::Advance(t, step);
        start.Note(sample(t, +1), path);
    }
    // Each branch of the hyperbola is a curve of its own; the ellipse's second
    // half goes on from where the first ended.
    if (!sum)
        path.Break();
    t = range;
    for (int i = 0; i < detail::kSamplesPerPass; ++i) {
        t = detail::Advance(t, -step);
        sample(t, -1);
    }
    if (sum)
        start.Close(path);
}

} // namespace activities
