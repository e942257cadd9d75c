#include "activity_form.h"

#include "plane/readout.h"
#include "toolkit/application.h"

#include <algorithm>

namespace activities {

namespace {
const tk::Font kWindowFont{"ＭＳ Ｐゴシック", 12, tk::clWindowText, false};
const tk::Font kBoldButtonFont{"ＭＳ 明朝", 21, tk::clWindowText, true};
} // namespace

ActivityForm::ActivityForm(const ActivityLayout& layout)
    : PaintBox1(std::make_unique<tk::PaintBox>(*this)),
      ScrollBar1(std::make_unique<tk::ScrollBar>(*this)),
      BtnSyuryo(std::make_unique<tk::Button>(*this, "終わる")),
      BtnSai(std::make_unique<tk::Button>(*this, "再試行")),
      BtnByoga(std::make_unique<tk::Button>(*this, "条件を満たすグラフを描く")),
      Plane(*PaintBox1, layout.planeStyle)
{
    SetCaption(layout.caption);
    SetColor(tk::clMoneyGreen);
    SetFont(kWindowFont);
    // The window's own canvas only writes the strip of texts above the plane.
    SetCanvasExtent(plane::kStatusStrip.right, plane::kStatusStrip.bottom);
    if (layout.maximized)
        SetWindowState(tk::WindowState::Maximized);
    else
        SetCenteredOnFirstShow(true);

    PaintBox1->SetBounds(8, 29, 660, 660);
    PaintBox1->SetColor(tk::clWhite);
    PaintBox1->OnPaint = [this](tk::Object* s) { PaintBox1Paint(s); };
    PaintBox1->OnMouseDown = [this](tk::Object* s, tk::MouseButton b, tk::ShiftState sh, int x, int y) {
        PaintBox1MouseDown(s, b, sh, x, y);
    };

    ScrollBar1->SetBounds(48, 696, 569, 17);
    ScrollBar1->SetRange(0, 100);
    ScrollBar1->SetPageSize(0);
    ScrollBar1->SetSteps(1, 1);
    ScrollBar1->SetPosition(51);
    ScrollBar1->OnScroll = [this](tk::Object* s, tk::ScrollCode c, int& p) { ScrollBar1Scroll(s, c, p); };

    BtnSyuryo->SetBounds(931, 640, 86, 51);
    BtnSyuryo->SetFont(kBoldButtonFont);
    BtnSyuryo->OnClick = [this](tk::Object* s) { BtnSyuryoClick(s); };

    BtnSai->SetBounds(931, 576, 86, 51);
    BtnSai->SetFont(kBoldButtonFont);
    BtnSai->OnClick = [this](tk::Object* s) { Syokika(s); };

    const tk::Rect& g = layout.graphButton;
    BtnByoga->SetBounds(g.left, g.top, g.Width(), g.Height());
    BtnByoga->SetFont(kBoldButtonFont);
    BtnByoga->Hide();
    BtnByoga->OnClick = [this](tk::Object* s) { BtnByogaClick(s); };

    OnActivate = [this](tk::Object* s) { Syokika(s); };
    FormCreate();
}

void ActivityForm::SetPanelTabOrder(const tk::Control& keypad, const tk::Control& panel)
{
    SetTabOrder({ScrollBar1.get(), BtnSyuryo.get(), &keypad, &panel, BtnSai.get(), BtnByoga.get()});
}

void ActivityForm::InvalidateCurve()
{
    CurveShown = false;
    BtnByoga->Hide();
}

void ActivityForm::FormCreate()
{
    SetTop(0);
    SetLeft(0);
    SetWidth(1024);
    SetHeight(768);
}

void ActivityForm::Syokika(tk::Object* sender)
{
    ++ResetCount;
    // The zoom comes from the bar, which the reset never moves: a zoom the
    // student chose survives the retry button and reopening.
    Plane.SetZoom(ScrollBar1->Position());
    GetCanvas().SetFontSize(16);
    ResetConditions(sender);
    InvalidateCurve();
}

void ActivityForm::ClsButtonClick(tk::Object* sender)
{
    const tk::Application& app = tk::Application::Instance();
    // The screen's rectangle wipes everything drawn on the window, and the
    // window canvas's whole extent too, should it ever reach beyond it.
    tk::Canvas& window = GetCanvas();
    window.FillRect({0, 0, std::max(app.ScreenWidth() + 1, window.Width()),
                     std::max(app.ScreenHeight() + 1, window.Height())});
    Syokika(sender);
}

void ActivityForm::BtnSyuryoClick(tk::Object*) { Hide(); }

void ActivityForm::BtnByogaClick(tk::Object* sender)
{
    CurveShown = !CurveShown;
    PaintBox1Paint(sender);
}

void ActivityForm::ScrollBar1Scroll(tk::Object* sender, tk::ScrollCode, int& position)
{
    // The position is the bar's new one, not yet stored: the plane follows
    // the thumb at once, also while it is dragged.
    Plane.SetZoom(position);
    PaintBox1Paint(sender);
}

void ActivityForm::PaintBox1Paint(tk::Object*)
{
    Plane.ZahyoHeimen_Draw();
    if (Plane.AfterimageCount > 0) {
        Plane.Zanzo_Dsp();
        BtnByoga->Show();
    }
    DrawConditions();
}

void ActivityForm::PaintBox1MouseDown(tk::Object* sender, tk::MouseButton, tk::ShiftState, int x, int y)
{
    // Every button and shift state sets P, at the exact plane point of the
    // pixel (no snapping to the grid).
    Plane.SetPFromClick(x, y);
    AfterClick();
    PaintBox1Paint(sender);
}

} // namespace activities
