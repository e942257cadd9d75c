#pragma once

#include "native.h"
#include "toolkit/canvas.h"

#include <map>
#include <string>
#include <utility>

namespace tk {

// Sets texts with the browser's own text engine: drawn onto a scratch
// canvas, then every pixel at least half covered takes the text's colour,
// so that texts are as crisp as the rest of the image. A surface may carry
// a readout: an element that holds, as text, what is written on it, for
// screen readers and find-in-page.
class WebTextPainter : public TextPainter {
public:
    void DrawText(Image& image, const Font& font, const Rect& clip, int x, int y, const std::string& text) override;
    void Finish(const Image&) override {}

    void SetReadout(const Image* image, val element);

private:
    struct Readout {
        val element = val::null();
        // The texts by where they begin (device pixels, row first).
        std::map<std::pair<int, int>, std::string> texts;
    };
    std::map<const Image*, Readout> readouts_;
};

} // namespace tk
