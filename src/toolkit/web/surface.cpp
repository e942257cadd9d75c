#include "surface.h"

#include "toolkit/device_grid.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

namespace tk {

namespace {

// The image's pixels scaled by `factor`, nearest pixel, onto a fresh image.
Image Rescaled(const Image& old, double factor, int width, int height, TColor fill)
{
    Image fresh(std::max(1, width), std::max(1, height), PixelOf(fill));
    if (old.IsNull() || fresh.IsNull() || !(factor > 0))
        return fresh;
    for (int y = 0; y < fresh.Height(); ++y) {
        const auto sy = static_cast<int>(std::floor((y + 0.5) / factor));
        if (sy >= old.Height())
            break;
        std::uint32_t* row = fresh.Bits() + static_cast<std::ptrdiff_t>(y) * fresh.Stride();
        for (int x = 0; x < fresh.Width(); ++x) {
            const auto sx = static_cast<int>(std::floor((x + 0.5) / factor));
            if (sx >= old.Width())
                break;
            row[x] = old.Pixel(sx, sy);
        }
    }
    return fresh;
}

} // namespace

Surface::Surface(val canvasElement) : element(std::move(canvasElement)) {}

bool Surface::Fit(Canvas& canvas, int width, int height, TColor fill)
{
    const DeviceGrid grid(DeviceScale());
    const int w = std::max(1, grid.EdgeClamped(width)), h = std::max(1, grid.EdgeClamped(height));
    if (!image.IsNull() && image.Width() == w && image.Height() == h && scale == grid.Scale())
        return false;
    canvas.Flush();
    image = Rescaled(image, grid.Scale() / scale, w, h, fill);
    scale = grid.Scale();
    canvas_ = &canvas;
    canvas.Attach(&image, this, scale);
    element.set("width", w);
    element.set("height", h);
    val style = element["style"];
    style.set("width", CssNumber(w / scale) + "px");
    style.set("height", CssNumber(h / scale) + "px");
    ShowArea({0, 0, width, height});
    return true;
}

void Surface::Release(Canvas& canvas)
{
    canvas.Flush();
    image = Image();
    canvas.Attach(nullptr, this, scale);
}

void Surface::ShowArea(const Rect& area)
{
    if (image.IsNull())
        return;
    const DeviceGrid grid(scale);
    // A device pixel more on each side: edges round to device pixels.
    const Rect d{std::max(0, grid.EdgeClamped(area.left) - 1), std::max(0, grid.EdgeClamped(area.top) - 1),
                 std::min(image.Width(), grid.EdgeClamped(area.right) + 1),
                 std::min(image.Height(), grid.EdgeClamped(area.bottom) + 1)};
    if (d.left >= d.right || d.top >= d.bottom)
        return;
    if (pending_.left >= pending_.right)
        pending_ = d;
    else
        pending_ = {std::min(pending_.left, d.left), std::min(pending_.top, d.top), std::max(pending_.right, d.right),
                    std::max(pending_.bottom, d.bottom)};
    if (queued_)
        return;
    queued_ = true;
    ShowAfterEvent([this, alive = std::weak_ptr<bool>(alive_)] {
        if (!alive.expired())
            Show();
    });
}

void Surface::Show()
{
    queued_ = false;
    // The batch of drawing ends here: whatever the canvas draws next asks
    // to be shown again.
    if (canvas_)
        canvas_->Flush();
    const Rect r{pending_.left, pending_.top, std::min(pending_.right, image.Width()),
                 std::min(pending_.bottom, image.Height())};
    pending_ = {};
    if (image.IsNull() || r.left >= r.right || r.top >= r.bottom)
        return;
    // 0xFFRRGGBB words to the canvas's R, G, B, A bytes.
    static std::vector<std::uint8_t> rgba;
    const auto w = static_cast<std::size_t>(r.Width()), h = static_cast<std::size_t>(r.Height());
    rgba.resize(w * h * 4);
    std::uint8_t* out = rgba.data();
    for (int y = r.top; y < r.bottom; ++y) {
        const std::uint32_t* row = image.Bits() + static_cast<std::ptrdiff_t>(y) * image.Stride();
        for (int x = r.left; x < r.right; ++x) {
            const std::uint32_t p = row[x];
            *out++ = static_cast<std::uint8_t>(p >> 16);
            *out++ = static_cast<std::uint8_t>(p >> 8);
            *out++ = static_cast<std::uint8_t>(p);
            *out++ = 0xFF;
        }
    }
    val::module_property("tkBlit")(element, reinterpret_cast<std::uintptr_t>(rgba.data()), r.left, r.top, r.Width(),
                                   r.Height());
}

Point Surface::DesignPixelAt(const val& event, const Canvas& canvas) const
{
    // The device pixel under the pointer: the box is exactly the image's
    // device pixels on the screen, whatever the page's scale.
    const val box = element.call<val>("getBoundingClientRect");
    const double ratio = val::global("devicePixelRatio").as<double>();
    const auto pixel = [ratio](double client, double edge, int limit) {
        const double v = std::floor((client - edge) * ratio + 1e-6);
        if (!(v >= 0))
            return 0;
        return v >= limit ? limit - 1 : static_cast<int>(v);
    };
    const int x = pixel(event["clientX"].as<double>(), box["left"].as<double>(), std::max(1, image.Width()));
    const int y = pixel(event["clientY"].as<double>(), box["top"].as<double>(), std::max(1, image.Height()));
    const DeviceGrid& grid = canvas.Grid();
    return {grid.DesignPixelAt(x), grid.DesignPixelAt(y)};
}

} // namespace tk
