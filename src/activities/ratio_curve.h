#pragma once

#include "activities/curve_path.h"
#include "plane/mapping.h"

#include <cmath>
#include <cstdint>

namespace activities {

// The conditions of the fixed point and fixed line activity: the ratio
// PF : PH, the line (1: x = c, any other value: y = c), the focus F and the
// line's constant c.
struct RatioCurveInput {
    float ratioPF = 0.0f;
    float ratioPH = 0.0f;
    std::int32_t lineKind = 1;
    plane::RealPoint focus;
    float lineConst = 0.0f;
};

// Draws the locus of the points P with PF = e * PH, e = PF : PH, onto the
// sink: a parabola (e = 1) as one open polyline, an ellipse (e < 1) as one
// closed polyline, a hyperbola (e > 1) as two open polylines, one per branch.
//
// The curve is traced along the line: the parameter t is the coordinate along
// it, 1000 samples from -GridUnit to about +GridUnit, and for each t the
// coordinate u across the line is solved from
//   (1 - e^2) u^2 + 2 (e^2 c - Fa) u + (Fa^2 - e^2 c^2 + (t - Fb)^2) = 0,
// Fa and Fb being F's coordinates across and along the line. The ellipse and
// the hyperbola take a second pass back down with the other root. The sink
// takes MoveTo(x, y) and LineTo(x, y) in integer pixels; the pen colour is the
// caller's. Nothing is allocated.
template <class Sink>
void TraceRatioCurve(const RatioCurveInput& in, const plane::Mapping& map, Sink& sink)
{
    using Real = long double;
    const bool lineIsVertical = in.lineKind == 1;
    const float fa = lineIsVertical ? in.focus.x : in.focus.y;
    const float fb = lineIsVertical ? in.focus.y : in.focus.x;
    const float c = in.lineConst;
    const float step = detail::SampleStep(map.GridUnit());
    const auto range = static_cast<float>(map.GridUnit());
    // e is evaluated afresh in extended precision wherever it is used.
    const auto e = [&] { return static_cast<Real>(in.ratioPF) / in.ratioPH; };

    detail::CurvePath<Sink> path(map, sink);
    const auto plot = [&](float t, float u) { return lineIsVertical ? path.Plot(u, t) : path.Plot(t, u); };

    // Parabola: u = ((t - Fb)^2 + Fa^2 - c^2) / (2 (Fa - c)), one open curve.
    // With F on the line there is no parabola, and nothing is drawn.
    if (in.ratioPF == in.ratioPH) {
        if (fa == c)
            return;
        float t = -range;
        for (int i = 0; i < detail::kSamplesPerPass; ++i) {
            t = detail::Advance(t, step);
            const Real dt = static_cast<Real>(t) - fb;
            const auto u = static_cast<float>((dt * dt + static_cast<Real>(fa) * fa - static_cast<Real>(c) * c) /
                                              ((static_cast<Real>(fa) - c) * 2));
            plot(t, u);
        }
        return;
    }

    const bool hyperbola = in.ratioPF > in.ratioPH;
    const auto a = static_cast<float>(1 - e() * e());
    const auto b = static_cast<float>(e() * e() * c - fa);
    // Draws the sample at t with the root of the given sign; an ellipse has no
    // point where the discriminant is negative, beyond its ends along the line.
    const auto sample = [&](float t, int rootSign) {
        const Real dt = static_cast<Real>(t) - fb;
        const Real ce = static_cast<Real>(c) * in.ratioPF / in.ratioPH;
        const auto cc = static_cast<float>(static_cast<Real>(fa) * fa - ce * ce + dt * dt);
        const auto d = static_cast<float>(static_cast<Real>(b) * b - static_cast<Real>(a) * cc);
        if (d < 0)
            return detail::CurvePath<Sink>::Plotted::Nothing;
        const auto u = static_cast<float>((-static_cast<Real>(b) + rootSign * std::sqrt(static_cast<Real>(d))) / a);
        return plot(t, u);
    };

    detail::CurveStart start;
    float t = -range;
    for (int i = 0; i < detail::kSamplesPerPass; ++i) {
        t = detail::Advance(t, step);
        start.Note(sample(t, +1), path);
    }
    // The hyperbola's second branch is a curve of its own; the ellipse's second
    // half goes on from where the first ended.
    if (hyperbola)
        path.Break();
    t = range;
    for (int i = 0; i < detail::kSamplesPerPass; ++i) {
        t = detail::Advance(t, -step);
        sample(t, -1);
    }
    if (!hyperbola)
        start.Close(path);
}

} // namespace activities
