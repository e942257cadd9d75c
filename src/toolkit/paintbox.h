#pragma once

#include "canvas.h"
#include "control.h"

#include <functional>

namespace tk {

class Container;
class PaintBoxWidget;

enum class MouseButton { Left, Right, Middle };

// Shift state of a mouse event: keys held and buttons down.
enum ShiftFlag : unsigned {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
    ssDouble = 64,
};
using ShiftState = unsigned;

using MouseEvent =
    std::function<void(Object* sender, MouseButton button, ShiftState shift, int x, int y)>;

// An owner-drawn surface with a retained image of its client size. OnPaint
// is raised from the event loop whenever the surface must get its content
// from the program (when its window is shown, or when the image had to be
// remade), never from inside the window system's paint; handlers may draw on
// the canvas at any time and the widget shows the result. Once shown, a box
// that is hidden again lets its image go (drawing then has no effect) and
// gets it back, through OnPaint, when it is shown again.
class PaintBox : public Control {
public:
    explicit PaintBox(Container& parent);
    ~PaintBox() override;

    Canvas& GetCanvas() { return canvas_; }
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    int ClientWidth() const { return Width(); }
    int ClientHeight() const { return Height(); }

    NotifyEvent OnPaint;
    MouseEvent OnMouseDown;

protected:
    void BoundsChanged() override;

private:
    friend class PaintBoxWidget;
    void RequestPaint();
    void RaisePaint();

    PaintBoxWidget* box_;
    Canvas canvas_;
    TColor color_ = clWhite;
    bool paintPending_ = false;
};

} // namespace tk
