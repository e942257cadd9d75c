#include "text_painter.h"

#include "toolkit/image.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace tk {

void WebTextPainter::DrawText(Image& image, const Font& font, const Rect& clip, int x, int y, const std::string& text)
{
    const Rect c{std::max(clip.left, 0), std::max(clip.top, 0), std::min(clip.right, image.Width()),
                 std::min(clip.bottom, image.Height())};
    if (const auto it = readouts_.find(&image); it != readouts_.end()) {
        // What the rectangle wiped goes from the readout with it.
        auto& texts = it->second.texts;
        for (auto t = texts.begin(); t != texts.end();) {
            const auto [row, column] = t->first;
            const bool wiped = column >= clip.left && column < clip.right && row >= clip.top && row < clip.bottom;
            t = wiped ? texts.erase(t) : std::next(t);
        }
        if (!text.empty())
            texts[{y, x}] = text;
        std::string all;
        for (const auto& [at, t] : texts)
            all += (all.empty() ? "" : " ") + t;
        it->second.element.set("textContent", all);
    }
    if (text.empty() || c.left >= c.right || c.top >= c.bottom)
        return;
    // One byte a pixel of the clip: 1 where the text covers it.
    static std::vector<std::uint8_t> mask;
    const auto w = static_cast<std::size_t>(c.Width()), h = static_cast<std::size_t>(c.Height());
    mask.assign(w * h, 0);
    const int covered = val::module_property("tkText")(CssFont(font), text, x - c.left, y - c.top, c.Width(),
                                                       c.Height(), reinterpret_cast<std::uintptr_t>(mask.data()))
                            .as<int>();
    if (covered == 0)
        return;
    const std::uint32_t ink = PixelOf(font.color);
    for (int row = 0; row < c.Height(); ++row) {
        std::uint32_t* out = image.Bits() + static_cast<std::ptrdiff_t>(c.top + row) * image.Stride() + c.left;
        const std::uint8_t* in = mask.data() + static_cast<std::size_t>(row) * w;
        for (std::size_t col = 0; col < w; ++col)
            if (in[col])
                out[col] = ink;
    }
}

void WebTextPainter::SetReadout(const Image* image, val element)
{
    if (element.isNull())
        readouts_.erase(image);
    else
        readouts_.insert_or_assign(image, Readout{std::move(element), {}});
}

} // namespace tk
