#include "mapping.h"

#include <atomic>
#include <cmath>
#include <limits>

namespace plane {

namespace {
std::atomic<long> nonFiniteRoundoffs{0};
} // namespace

long NonFiniteRoundoffs() { return nonFiniteRoundoffs.load(std::memory_order_relaxed); }

std::int32_t Roundoff(long double v)
{
    if (!std::isfinite(v))
        nonFiniteRoundoffs.fetch_add(1, std::memory_order_relaxed);
    if (std::isnan(v))
        return 0;
    constexpr long double lo = std::numeric_limits<std::int32_t>::min();
    constexpr long double hi = std::numeric_limits<std::int32_t>::max();
    const long double r = v >= 0 ? std::trunc(v + 0.5L) : std::trunc(v - 0.5L);
    if (r <= lo)
        return std::numeric_limits<std::int32_t>::min();
    if (r >= hi)
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(r);
}

std::int32_t GridUnitForPosition(int position)
{
    const int k = (50 - position) * 8;
    return Roundoff(static_cast<long double>(k) / 25.0L) + 20;
}

float SquaredDistance(RealPoint a, RealPoint b)
{
    const long double dx = static_cast<long double>(b.x) - a.x;
    const long double dy = static_cast<long double>(b.y) - a.y;
    return static_cast<float>(dx * dx + dy * dy);
}

float Distance(RealPoint a, RealPoint b)
{
    const long double dx = static_cast<long double>(b.x) - a.x;
    const long double dy = static_cast<long double>(b.y) - a.y;
    return static_cast<float>(std::sqrt(dx * dx + dy * dy));
}

RealPixel Mapping::ZahyotoDot(RealPoint p) const
{
    const long double w = width_;
    const long double h = height_;
    return RealPixel{static_cast<float>(w * p.x / gridUnit_ + w / 2),
                     static_cast<float>(h * -static_cast<long double>(p.y) / gridUnit_ + h / 2)};
}

RealPoint Mapping::DottoZahyo(RealPixel q) const
{
    const long double w = width_;
    const long double h = height_;
    return RealPoint{static_cast<float>((q.x - w / 2) * gridUnit_ / w),
                     static_cast<float>(-(q.y - h / 2) * gridUnit_ / h)};
}

PixelPoint Mapping::ZahyoRtoPoint(RealPixel q)
{
    return PixelPoint{Roundoff(q.x), Roundoff(q.y)};
}

} // namespace plane
