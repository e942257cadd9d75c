#include "toolkit/paintbox.h"
#include "native.h"

#include "surface.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace tk {

NativeView* NewView(const char* tag, const char* className, const Container& parent);
bool ShownOnPage(const val& element);

namespace {
std::vector<PaintBox*>& Boxes()
{
    static std::vector<PaintBox*> boxes;
    return boxes;
}
} // namespace

// The native surface: a <canvas> that only shows the retained image; the
// program's drawing happens in the event handlers.
class PaintBoxWidget {
public:
    PaintBoxWidget(PaintBox* owner, const val& element)
        : surface(element), paint([owner] { owner->RaisePaint(); })
    {
    }
    Surface surface;
    // Raises OnPaint from the event loop; it goes with the box.
    Timer paint;
    bool shown = false;

    // Every paint box of the page hears when windows are shown or hidden:
    // a box that comes into view gets its image back through OnPaint, one
    // that goes out of view lets it go.
    static void ShownChanged()
    {
        for (PaintBox* box : Boxes()) {
            PaintBoxWidget& w = *box->box_;
            const bool shown = ShownOnPage(w.surface.element);
            if (shown == w.shown)
                continue;
            w.shown = shown;
            if (shown) {
                w.surface.Fit(box->canvas_, box->Width(), box->Height(), box->color_);
                box->RequestPaint();
            } else {
                w.surface.Release(box->canvas_);
            }
        }
    }
    // The page's scale changed: shown boxes are drawn again at the new one.
    static void Rescaled()
    {
        for (PaintBox* box : Boxes()) {
            PaintBoxWidget& w = *box->box_;
            if (w.shown && w.surface.Fit(box->canvas_, box->Width(), box->Height(), box->color_))
                box->RequestPaint();
        }
    }
};

void PaintBoxesShownChanged() { PaintBoxWidget::ShownChanged(); }
void PaintBoxesRescaled() { PaintBoxWidget::Rescaled(); }

PaintBox::PaintBox(Container& parent) : Control(NewView("canvas", "tk-paintbox", parent))
{
    auto parts = std::make_shared<PaintBoxWidget>(this, ElementOf(NativeWidget()));
    box_ = parts.get();
    NativeWidget()->parts = std::move(parts);
    Boxes().push_back(this);
    val& element = ElementOf(NativeWidget());
    // A press on the plane does not move the keyboard focus or select text.
    Listen(element, "mousedown", [](val event) { event.call<void>("preventDefault"); });
    Listen(element, "pointerdown", [this](val event) {
        MouseButton button = MouseButton::Left;
        const int which = event["button"].as<int>();
        if (which == 2)
            button = MouseButton::Right;
        else if (which == 1)
            button = MouseButton::Middle;
        else if (which != 0)
            return;
        ShiftState shift = 0;
        if (event["shiftKey"].as<bool>())
            shift |= ssShift;
        if (event["altKey"].as<bool>())
            shift |= ssAlt;
        if (event["ctrlKey"].as<bool>())
            shift |= ssCtrl;
        const int buttons = event["buttons"].as<int>();
        if (buttons & 1)
            shift |= ssLeft;
        if (buttons & 2)
            shift |= ssRight;
        if (buttons & 4)
            shift |= ssMiddle;
        if (event["pointerType"].as<std::string>() == "mouse" && event["detail"].as<int>() == 2)
            shift |= ssDouble;
        if (box_->surface.image.IsNull())
            return;
        const Point at = box_->surface.DesignPixelAt(event, canvas_);
        if (OnMouseDown)
            OnMouseDown(this, button, shift, at.x, at.y);
    });
    Listen(element, "contextmenu", [](val event) { event.call<void>("preventDefault"); });
}

PaintBox::~PaintBox()
{
    canvas_.Flush();
    auto& boxes = Boxes();
    boxes.erase(std::remove(boxes.begin(), boxes.end(), this), boxes.end());
}

void PaintBox::SetColor(TColor color) { color_ = color; }

void PaintBox::BoundsChanged()
{
    // The image follows the bounds at once, also while the window is hidden.
    if (box_->surface.Fit(canvas_, Width(), Height(), color_) && box_->shown)
        RequestPaint();
}

void PaintBox::RequestPaint()
{
    if (paintPending_)
        return;
    paintPending_ = true;
    // Raised from the event loop, after whatever showed the window returned.
    box_->paint.Start(0);
}

void PaintBox::RaisePaint()
{
    paintPending_ = false;
    if (!box_->shown)
        return;
    box_->surface.Fit(canvas_, Width(), Height(), color_);
    canvas_.SetBrushColor(color_);
    canvas_.SetBrushStyle(BrushStyle::Solid);
    if (OnPaint)
        OnPaint(this);
}

} // namespace tk
