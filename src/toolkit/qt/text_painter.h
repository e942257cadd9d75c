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
    void Finish(const Image& image) override;

private:
    // One painter stays open on the image of the last text until the
    // drawing on it is done, as the texts of one repaint follow each other.
    struct Open;
    std::unique_ptr<Open> open_;
};

} // namespace tk
