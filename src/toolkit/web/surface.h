#pragma once

#include "native.h"
#include "toolkit/canvas.h"
#include "toolkit/image.h"

#include <memory>

namespace tk {

// A <canvas> that shows a canvas's image one image pixel to one device
// pixel: its backing store is the image's size, and its box is laid out so
// that the page's scale and the device's pixel ratio bring it back to
// exactly that many device pixels.
class Surface : public CanvasViewer {
public:
    explicit Surface(val element);
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    // Holds the image for a canvas of the design size at the page's device
    // scale; what it showed is kept, scaled, until drawn again. True when
    // the image had to be remade.
    bool Fit(Canvas& canvas, int width, int height, TColor fill);
    // Lets the image go (nothing shows it): drawing then has no effect.
    void Release(Canvas& canvas);

    void ShowArea(const Rect& area) override;
    // The design pixel under a pointer event's position, within the image.
    Point DesignPixelAt(const val& event, const Canvas& canvas) const;

    val element;
    Image image;
    double scale = 1.0;

private:
    void Show();
    Canvas* canvas_ = nullptr;
    Rect pending_;  // device pixels
    bool queued_ = false;
    // A show queued for a surface that has gone since does nothing.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

} // namespace tk
