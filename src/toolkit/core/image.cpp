#include "toolkit/image.h"

#include <algorithm>

namespace tk {

Image::Image(int width, int height, std::uint32_t fill)
{
    // A surface is at most a screen of a few thousand pixels at a ratio of
    // 16; beyond this a size is a fault, not an image.
    constexpr int kLargest = 1 << 16;
    if (width < 1 || height < 1 || width > kLargest || height > kLargest)
        return;
    width_ = width;
    height_ = height;
    pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill);
}

void Image::Fill(std::uint32_t pixel) { std::fill(pixels_.begin(), pixels_.end(), pixel); }

} // namespace tk
