#pragma once

#include "canvas.h"
#include "control.h"

#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace tk {

class FormWidget;

enum class WindowState { Normal, Maximized };

// A top-level window. Its bounds are outer sizes (where the window system
// draws no frame the client area equals them). The close box hides it; on
// the main form it ends the run. The window carries its own retained drawing
// surface for the area its canvas draws on, painted under the controls.
class Form : public Object, public Container {
public:
    Form();
    ~Form() override;

    void SetCaption(const std::string& caption);
    std::string Caption() const;
    void SetColor(TColor color);
    TColor Color() const { return color_; }
    void SetFont(const Font& font);
    const Font& GetFont() const { return font_; }

    void SetTop(int top);
    void SetLeft(int left);
    void SetWidth(int width);
    void SetHeight(int height);
    int Top() const;
    int Left() const;
    int Width() const;
    int Height() const;
    int ClientWidth() const;
    int ClientHeight() const;

    void SetWindowState(WindowState state);
    WindowState GetWindowState() const { return state_; }
    // Centre the window on the desktop when it is first shown (left and top
    // never below 0).
    void SetCenteredOnFirstShow(bool centred) { centreOnFirstShow_ = centred; }

    // Shows the window and makes it the active form; OnActivate runs before
    // Show returns when the active form changes.
    void Show();
    void Hide();
    bool Visible() const;

    Canvas& GetCanvas() { return canvas_; }
    // The area the window's canvas draws on, from the client's top-left
    // corner, in design pixels. The retained surface holds this area only;
    // the rest of the client shows the window's colour, and drawing outside
    // it is cut off. A form draws nothing of its own until this is set.
    void SetCanvasExtent(int width, int height);
    // The focus order of controls that share one parent (the form or a
    // group box). Tab runs through the form's controls in their order and
    // through a group box's controls where the box stands in it; controls
    // left out follow in the order they were made.
    void SetTabOrder(std::initializer_list<const Control*> order);

    NotifyEvent OnActivate;

    NativeView* ClientWidget() const override;
    NativeView* NativeWidget() const;

    // The frame the window system draws around the client, as far as known.
    struct FrameMargins {
        int left = 0, top = 0, right = 0, bottom = 0;
        friend bool operator==(const FrameMargins&, const FrameMargins&) = default;
    };

private:
    friend class FormWidget;
    void PlaceOnShow();
    void ApplyBounds();
    FrameMargins Frame() const;
    // The client's logical length inside an outer length with frame margins.
    int ClientLength(int outer, int before, int after) const;
    // An outer length read back (logical pixels) in design pixels, where the
    // bounds asked for `bounds` and the frame had the given margins.
    int OuterLength(int logical, int bounds, int before, int after) const;
    // Places the controls and the surface in the client area.
    void PlaceContent();
    // Applies the bounds again when the window system reports another frame
    // than the one they were applied with.
    void FrameReported();
    // Holds the surface at the window's current device scale.
    void EnsureSurface();
    void RelinkFocusChain();

    FormWidget* widget_;
    NativeView* client_;
    // Shows what the canvas drew: the client's area, where the surface lies.
    std::unique_ptr<CanvasViewer> viewer_;
    Canvas canvas_;
    TColor color_ = clBtnFace;
    Font font_;
    WindowState state_ = WindowState::Normal;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    int canvasWidth_ = 0, canvasHeight_ = 0;
    bool centreOnFirstShow_ = false;
    bool shownOnce_ = false;
    bool applying_ = false;
    FrameMargins appliedFrame_;
    std::map<const NativeView*, std::vector<NativeView*>> tabOrders_;  // by parent
};

} // namespace tk
