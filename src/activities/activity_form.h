#pragma once

#include "plane/plane.h"
#include "toolkit/button.h"
#include "toolkit/form.h"
#include "toolkit/paintbox.h"
#include "toolkit/scrollbar.h"

#include <memory>
#include <string>

namespace activities {

// What tells the two activity windows apart in their frame.
struct ActivityLayout {
    std::string caption;
    tk::Rect graphButton;  // left, top, right, bottom of BtnByoga
    bool maximized = false;
    plane::PlaneStyle planeStyle;
};

// The frame both activity windows share: the plane with its zoom bar, the
// retry, end and graph buttons, the reset and the plane's
// repaint and click. Each window adds its conditions, readout and curve.
class ActivityForm : public tk::Form {
public:
    explicit ActivityForm(const ActivityLayout& layout);

    std::unique_ptr<tk::PaintBox> PaintBox1;
    std::unique_ptr<tk::ScrollBar> ScrollBar1;
    std::unique_ptr<tk::Button> BtnSyuryo;
    std::unique_ptr<tk::Button> BtnSai;
    std::unique_ptr<tk::Button> BtnByoga;

    plane::Plane Plane;
    bool CurveShown = false;
    // How many resets have run, for checks from outside.
    int ResetCount = 0;

    void FormCreate();
    // The reset: runs on every activation and on the retry button.
    void Syokika(tk::Object* sender);
    // Wipes everything drawn on the window, then resets.
    void ClsButtonClick(tk::Object* sender);
    void BtnSyuryoClick(tk::Object* sender);
    void BtnByogaClick(tk::Object* sender);
    void ScrollBar1Scroll(tk::Object* sender, tk::ScrollCode code, int& position);
    // Redraws the whole plane from the window's state.
    void PaintBox1Paint(tk::Object* sender);
    void PaintBox1MouseDown(tk::Object* sender, tk::MouseButton button, tk::ShiftState shift, int x,
                            int y);

protected:
    // Puts the keypad and the condition panel, which the window's condition
    // entry builds, into the focus order.
    void SetPanelTabOrder(const tk::Control& keypad, const tk::Control& panel);
    // Drops a drawn curve without repainting: the curve stays on the plane
    // until its next repaint.
    void InvalidateCurve();

    // The window's own share of the reset, between the zoom and font steps
    // and the hiding of the graph button.
    virtual void ResetConditions(tk::Object* sender) = 0;
    // Everything the repaint draws after the grid and the afterimages.
    virtual void DrawConditions() = 0;
    // Runs after a click has set P, before the repaint.
    virtual void AfterClick() {}
};

} // namespace activities
