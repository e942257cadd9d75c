#pragma once

#include "toolkit/canvas.h"

#include <memory>

namespace tk {

// The canvases' texts set by Qt: a painter on the image's own pixels,
// without antialiasing, in a font of the device height.
class QtTextPainter : public TextPainter {
public:
    QtTextPainter();
    ~QtTextPainter() override;
    void DrawText(Image& image, const Font& font, const Rect& clip, int x, int y, const std::string& text) override;

private:
    struct Made;
    std::unique_ptr<Made> made_;
};

} // namespace tk
