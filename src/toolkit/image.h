#pragma once

#include "color.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tk {

// A pixel of an image: 0xFFRRGGBB, opaque.
constexpr std::uint32_t PixelOf(TColor c)
{
    return 0xFF000000u | static_cast<std::uint32_t>(RedOf(c)) << 16 | static_cast<std::uint32_t>(GreenOf(c)) << 8 |
           static_cast<std::uint32_t>(BlueOf(c));
}
constexpr TColor ColorOfPixel(std::uint32_t p)
{
    return RGB(static_cast<int>(p >> 16 & 0xFF), static_cast<int>(p >> 8 & 0xFF), static_cast<int>(p & 0xFF));
}

// A retained image of device pixels, 32 bits each, rows Stride() pixels
// apart from the top: the layout a platform shows without copying (Qt's
// Format_RGB32 wraps the very same buffer).
class Image {
public:
    Image() = default;
    // Sizes below 1, or too large to address, make an empty image.
    Image(int width, int height, std::uint32_t fill = 0xFFFFFFFFu);

    bool IsNull() const { return pixels_.empty(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Pixels from one row to the next.
    std::ptrdiff_t Stride() const { return width_; }
    std::uint32_t* Bits() { return pixels_.data(); }
    const std::uint32_t* Bits() const { return pixels_.data(); }
    // 0 outside the image.
    std::uint32_t Pixel(int x, int y) const
    {
        if (x < 0 || y < 0 || x >= width_ || y >= height_)
            return 0;
        return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
    }
    void Fill(std::uint32_t pixel);

private:
    int width_ = 0, height_ = 0;
    std::vector<std::uint32_t> pixels_;
};

} // namespace tk
