#include "toolkit/design_scale.h"

#include <algorithm>
#include <cmath>

namespace tk {

namespace {
double scale = 1.0;
constexpr int kDesignWidth = 1024;
constexpr int kDesignHeight = 768;
// Factors far outside what screens need are held to this range.
constexpr double kLeast = 0.125, kMost = 16.0;

// A logical length of Qt's as the window system gets it: its device pixels,
// rounded.
double DevicePixels(long logical, double ratio) { return std::round(static_cast<double>(logical) * ratio); }
} // namespace

double DesignScale() { return scale; }

void SetDesignScale(double s) { scale = std::isfinite(s) && s > 0 ? std::clamp(s, kLeast, kMost) : 1.0; }

double FitScale(const ScreenPixels& screen)
{
    const double ratio = std::isfinite(screen.ratio) && screen.ratio > 0 ? screen.ratio : 1.0;
    if (screen.availableWidth <= 0 || screen.availableHeight <= 0)
        return 1.0;
    // Device pixels per design pixel at which the design fills the area.
    double device = std::min(static_cast<double>(screen.availableWidth) / kDesignWidth,
                             static_cast<double>(screen.availableHeight) / kDesignHeight);
    // A screen that holds the design shows it at least at its own size,
    // whatever panels take of it, as the design was drawn for such screens.
    double width = screen.availableWidth, height = screen.availableHeight;
    if (screen.width >= kDesignWidth && screen.height >= kDesignHeight && device < 1) {
        device = 1;
        width = kDesignWidth;
        height = kDesignHeight;
    }
    double s = std::clamp(device / ratio, kLeast, kMost);
    // Qt lays windows on whole logical pixels: where the outer size rounds
    // up beyond the area, the factor is taken a logical pixel lower.
    for (int i = 0; i < 4; ++i) {
        const long w = std::lround(kDesignWidth * s), h = std::lround(kDesignHeight * s);
        if (DevicePixels(w, ratio) <= width && DevicePixels(h, ratio) <= height)
            break;
        s = std::max(kLeast, std::min(static_cast<double>(w - 1) / kDesignWidth, static_cast<double>(h - 1) / kDesignHeight));
    }
    return s;
}

int ToLogical(int design) { return static_cast<int>(std::lround(design * scale)); }

int ToDesign(int logical) { return static_cast<int>(std::lround(logical / scale)); }

int DesignStroke(double ratio)
{
    const double unit = std::round(DesignScale() * ratio);
    return unit >= 1 && unit < 64 ? static_cast<int>(unit) : (unit >= 64 ? 64 : 1);
}

} // namespace tk
