#include "design_scale.h"

#include <algorithm>
#include <cmath>

namespace tk {

namespace {
double scale = 1.0;
constexpr int kDesignWidth = 1024;
constexpr int kDesignHeight = 768;
} // namespace

double DesignScale() { return scale; }

void SetDesignScale(double s) { scale = std::isfinite(s) && s >= 1.0 ? s : 1.0; }

double FitScale(int availableWidth, int availableHeight, bool userScales)
{
    if (userScales || availableWidth <= 0 || availableHeight <= 0)
        return 1.0;
    const double fit = std::min(static_cast<double>(availableWidth) / kDesignWidth,
                                static_cast<double>(availableHeight) / kDesignHeight);
    return std::max(1.0, fit);
}

int ToLogical(int design) { return static_cast<int>(std::lround(design * scale)); }

int ToDesign(int logical) { return static_cast<int>(std::lround(logical / scale)); }

} // namespace tk
