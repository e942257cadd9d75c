#pragma once

#include "font.h"
#include "object.h"

#include <memory>
#include <string>

namespace tk {

// A backend's native widget; only the backend knows what it is.
struct NativeView;

class PendingFont;

// Base of every control: a child widget with bounds, visibility and font.
// The widget belongs to its parent window; the control object only steers it.
class Control : public Object {
public:
    ~Control() override;

    // Bounds in design pixels, relative to the parent.
    void SetBounds(int left, int top, int width, int height);
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;

    void SetVisible(bool visible);
    bool Visible() const;
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }

    // Face, size, colour and weight; children that set no font of their own
    // take their parent's. The face reaches the widget when its window is
    // first about to be shown, so that it is only opened and read then.
    void SetFont(const Font& font);
    const Font& GetFont() const { return font_; }
    void SetFontColor(TColor color);

    // The backend's widget, for the backend itself and its own tests.
    NativeView* NativeWidget() const { return widget_; }

protected:
    explicit Control(NativeView* widget);
    virtual void ApplyFontColor(TColor color);
    // Runs after the bounds changed.
    virtual void BoundsChanged() {}
    // Runs after the font changed.
    virtual void FontChanged() {}

private:
    friend class PendingFont;
    // Gives the widget the control's font.
    void ApplyFont();

    NativeView* widget_;
    Font font_;
    std::unique_ptr<PendingFont> pendingFont_;
    // The bounds as placed, in design pixels; a control may give its widget
    // a larger surface (a transparent label whose glyphs overhang it).
    Rect bounds_;
};

// Something controls can be placed in: a form or a group box. Children are
// positioned relative to the container's top-left corner.
class Container {
public:
    virtual ~Container() = default;
    virtual NativeView* ClientWidget() const = 0;
};

} // namespace tk
