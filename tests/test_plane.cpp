// The plane as a student sees it in either activity window: grid and axes
// at every zoom, markers, afterimages, clicks and the zoom bar.

#include "activities/junsen_form.h"
#include "toolkit/qt/native.h"
#include "activities/syoten_form.h"
#include "toolkit/canvas.h"

#include <QApplication>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

#include "support/design_pixels.h"
#include "support/scroll_driver.h"

#include <gtest/gtest.h>

using namespace activities;
using tk::TColor;

namespace {

TColor PlanePixel(ActivityForm& f, int x, int y) { return f.PaintBox1->GetCanvas().Pixel(x, y); }

template <class F>
struct Opened {
    F form;
    Opened()
    {
        form.Show();
        form.ClsButtonClick(nullptr);
        QApplication::processEvents();
    }
};

void SetZoom(ActivityForm& f, int position)
{
    f.ScrollBar1->SetPosition(position);
    f.Syokika(nullptr);
    f.PaintBox1Paint(nullptr);
}

using scroll_test::BarPoint;

} // namespace

TEST(PlaneGrid, AxesAndGridLinesAtEveryZoom)
{
    Opened<TSyoten_Form> w;
    const struct {
        int position, gridUnit, spacing;
    } zooms[] = {{51, 20, 33}, {99, 4, 165}, {75, 12, 55}, {0, 36, 0}};
    for (const auto& z : zooms) {
        SetZoom(w.form, z.position);
        EXPECT_EQ(w.form.Plane.GridUnit, z.gridUnit);
        // The axes: column 330 and row 330 in black. The lines are drawn
        // from left to right and each vertical line with its mirrored
        // horizontal one, so the grid lines of positive i cross the axes
        // later and stay silver where they do.
        for (int k = 0; k < 660; ++k) {
            bool gridRow = false;
            for (int i = 1; i <= z.gridUnit; ++i)
                gridRow = gridRow || plane::Roundoff(330.0L + 660.0L * i / z.gridUnit) == k;
            const TColor expected = (k > 330 && gridRow) ? tk::clSilver : tk::clBlack;
            ASSERT_EQ(PlanePixel(w.form, 330, k), expected) << "zoom " << z.gridUnit << " row " << k;
            ASSERT_EQ(PlanePixel(w.form, k, 330), expected) << "zoom " << z.gridUnit << " column " << k;
        }
        // One grid line per plane unit, silver, and white between them.
        for (int i = 1; i <= z.gridUnit / 2; ++i) {
            const int col = plane::Roundoff(330.0L + 660.0L * i / z.gridUnit);
            if (col >= 659)
                continue;
            EXPECT_EQ(PlanePixel(w.form, col, 100), tk::clSilver) << "zoom " << z.gridUnit << " line " << i;
            EXPECT_EQ(PlanePixel(w.form, 660 - col, 100), tk::clSilver);
            EXPECT_EQ(PlanePixel(w.form, 100, col), tk::clSilver);
            if (z.spacing) {
                EXPECT_EQ(col - 330, i * z.spacing);
            }
        }
        EXPECT_EQ(PlanePixel(w.form, 331 + 660 / (2 * z.gridUnit), 101), tk::clWhite);
    }
}

TEST(PlaneGrid, TheBorderOfTheFixedLineWindowKeepsTheLastPenWidth)
{
    Opened<TJunsen_Form> j;
    Opened<TSyoten_Form> s;
    for (ActivityForm* f : {static_cast<ActivityForm*>(&j.form), static_cast<ActivityForm*>(&s.form)}) {
        f->Plane.Canvas().SetPenWidth(2);  // what the fixed line and the segments leave
        f->PaintBox1Paint(nullptr);
    }
    EXPECT_EQ(PlanePixel(j.form, 1, 100), tk::clSilver) << "2 pixels wide on the fixed line window";
    EXPECT_EQ(PlanePixel(j.form, 658, 100), tk::clSilver);
    EXPECT_EQ(PlanePixel(s.form, 1, 100), tk::clWhite) << "1 pixel on the two points window";
    EXPECT_EQ(PlanePixel(s.form, 0, 100), tk::clSilver);
    // Either way the grid itself is drawn 1 pixel wide.
    EXPECT_EQ(PlanePixel(j.form, 331, 100), tk::clWhite);
    EXPECT_EQ(PlanePixel(j.form, 329, 100), tk::clWhite);
}

TEST(PlaneMarkers, ADotIsAFiveWideDiscInThePensColour)
{
    Opened<TSyoten_Form> w;
    w.form.PaintBox1Paint(nullptr);
    tk::Canvas& c = w.form.Plane.Canvas();
    c.SetPenColor(tk::clLime);
    w.form.Plane.Ten_Dsp({1, 1});  // pixel (363, 297)
    const design_test::Ink dot = design_test::InkOf(c, tk::clLime, {355, 290, 370, 305});
    EXPECT_TRUE(design_test::IsDisc(dot, c.Grid(), 5, {363, 297}));
    if (c.Grid().IsUnit()) {
        EXPECT_EQ(dot.count, 21) << "5 x 5 without its corners";
    }
    EXPECT_EQ(PlanePixel(w.form, 363, 297), tk::clLime);
    EXPECT_EQ(c.PenWidth(), 1);
    EXPECT_EQ(c.PenColor(), tk::clLime) << "the two points window keeps the colour";

    Opened<TJunsen_Form> j;
    j.form.Plane.Canvas().SetPenColor(tk::clRed);
    j.form.Plane.Ten_Dsp({0, 0});
    EXPECT_EQ(PlanePixel(j.form, 330, 330), tk::clRed);
    EXPECT_EQ(j.form.Plane.Canvas().PenColor(), tk::clMaroon) << "the fixed line window leaves maroon";
}

TEST(PlaneAfterimages, TheStoreHoldsAThousandAndRedrawsThemAfterAZoom)
{
    Opened<TSyoten_Form> w;
    plane::Plane& p = w.form.Plane;
    p.PointP() = {2, 3};
    for (int k = 0; k < 1005; ++k)
        p.ZanzoKioku();
    EXPECT_EQ(p.AfterimageCount, 1000);
    EXPECT_EQ(p.Afterimage(1000), (plane::RealPoint{2, 3}));

    SetZoom(w.form, 51);
    p.AfterimageCount = 1;
    w.form.PaintBox1Paint(nullptr);
    EXPECT_EQ(PlanePixel(w.form, 396, 231), tk::clMaroon) << "(2, 3) at 33 pixels per unit";
    EXPECT_TRUE(w.form.BtnByoga->Visible()) << "afterimages offer the graph";
    // Zooming keeps the store and draws it at the new scale.
    p.PointP() = {1, -1};
    p.ZanzoKioku();
    int position = 100;
    w.form.ScrollBar1Scroll(nullptr, tk::ScrollCode::Track, position);
    EXPECT_EQ(p.AfterimageCount, 2);
    EXPECT_EQ(PlanePixel(w.form, 495, 495), tk::clMaroon) << "(1, -1) at 165 pixels per unit";
    EXPECT_EQ(PlanePixel(w.form, 396, 231), tk::clWhite) << "(2, 3) left the visible plane";
    SetZoom(w.form, 51);
    EXPECT_EQ(p.AfterimageCount, 0) << "the reset empties the store";
}

TEST(PlaneClicks, EveryButtonSetsPAtTheExactPlanePointOfThePixel)
{
    Opened<TSyoten_Form> w;
    QWidget* surface = tk::AsWidget(w.form.PaintBox1->NativeWidget());
    const struct {
        Qt::MouseButton button;
        QPoint at;
        plane::RealPoint p;
    } clicks[] = {{Qt::LeftButton, {330, 330}, {0, 0}},
                  {Qt::RightButton, {363, 297}, {1, 1}},
                  {Qt::MiddleButton, {0, 660 - 1}, {-10, -9.9697f}},
                  {Qt::LeftButton, {347, 330}, {17.0f * 20 / 660, 0}}};
    for (const auto& c : clicks) {
        design_test::Click(surface, c.at, c.button);
        EXPECT_EQ(w.form.PointPSet, 1);
        EXPECT_FLOAT_EQ(w.form.Plane.PointP().x, c.p.x);
        EXPECT_FLOAT_EQ(w.form.Plane.PointP().y, c.p.y);
        EXPECT_EQ(w.form.Plane.ClickPixel, (plane::RealPixel{float(c.at.x()), float(c.at.y())}));
    }
    // The click repaints at once: P's green dot is on the plane.
    EXPECT_EQ(PlanePixel(w.form, 347, 330), tk::clLime);
    w.form.Syokika(nullptr);
    EXPECT_EQ(w.form.PointPSet, 0);
    EXPECT_EQ(w.form.Plane.PointP().x, 17.0f * 20 / 660) << "P survives the reset";
}

TEST(PlaneZoom, TheBarRepaintsAtTheNewZoomBeforeItStoresThePosition)
{
    Opened<TSyoten_Form> w;
    int seenStored = -1;
    int seenGridUnit = -1;
    auto original = w.form.ScrollBar1->OnScroll;
    w.form.ScrollBar1->OnScroll = [&](tk::Object* s, tk::ScrollCode code, int& pos) {
        original(s, code, pos);
        if (code == tk::ScrollCode::PageDown || code == tk::ScrollCode::LineDown) {
            seenStored = w.form.ScrollBar1->Position();
            seenGridUnit = w.form.Plane.GridUnit;
        }
    };
    w.form.ScrollBar1->SetPosition(98);
    QTest::mouseClick(tk::AsWidget(w.form.ScrollBar1->NativeWidget()), Qt::LeftButton, Qt::NoModifier,
                      BarPoint(*w.form.ScrollBar1, QStyle::SC_ScrollBarAddLine));
    EXPECT_EQ(seenStored, 98);
    EXPECT_EQ(seenGridUnit, 4);
    EXPECT_EQ(PlanePixel(w.form, 330 + 165, 100), tk::clSilver) << "already drawn at the new zoom";
    EXPECT_EQ(w.form.ScrollBar1->Position(), 99);
    // The zoom survives the retry button.
    w.form.BtnSai->Click();
    EXPECT_EQ(w.form.Plane.GridUnit, 4);
}

TEST(ActivityFrame, TabRunsFromTheZoomBarThroughTheKeypadToTheRetryButton)
{
    Opened<TJunsen_Form> j;
    Opened<TSyoten_Form> s;
    for (ActivityForm* f : {static_cast<ActivityForm*>(&j.form), static_cast<ActivityForm*>(&s.form)}) {
        const entry::Keypad& k = f == &j.form ? j.form.Entry.Keypad : s.form.Entry.Keypad;
        const std::vector<const tk::Control*> expected{
            f->ScrollBar1.get(), f->BtnSyuryo.get(), k.Btn00.get(),  k.BtnDot.get(),   k.BtnKettei.get(),
            k.BtnKesu.get(),     k.Btn01.get(),      k.BtnRoot.get(), k.Btn03.get(),    k.Btn02.get(),
            k.Btn04.get(),       k.BtnMinus.get(),   k.Btn06.get(),  k.Btn05.get(),    k.Btn07.get(),
            k.BtnPlus.get(),     k.Btn09.get(),      k.Btn08.get(),  k.BtnKindLeft.get(), k.BtnKindRight.get(),
            f->BtnSai.get(),     f->ScrollBar1.get()};  // the hidden graph button is passed over
        f->Show();
        tk::AsWidget(f->ScrollBar1->NativeWidget())->setFocus(Qt::OtherFocusReason);
        for (std::size_t i = 0; i < expected.size(); ++i) {
            QWidget* focus = tk::AsWidget(f->NativeWidget())->focusWidget();
            ASSERT_EQ(focus, tk::AsWidget(expected[i]->NativeWidget())) << f->Caption() << ", stop " << i << ": "
                                                           << (focus ? focus->metaObject()->className() : "none");
            QTest::keyClick(focus, Qt::Key_Tab);
        }
    }
}
