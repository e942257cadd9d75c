// The program enlarged to a larger screen: every window, control, font and
// the plane shown at the design scale, while everything the program itself
// reads (bounds, the plane's size, clicks, the screen) stays in design
// pixels.

#include "activities/junsen_form.h"
#include "toolkit/application.h"
#include "toolkit/design_scale.h"

#include "support/form_driver.h"

#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace {

constexpr double kScale = 1.5;

TEST(FitScale, TheLargestFactorAtWhichTheDesignFits)
{
    EXPECT_EQ(tk::FitScale(1024, 768, false), 1.0);
    EXPECT_EQ(tk::FitScale(1366, 768, false), 1.0) << "a wide laptop screen changes nothing";
    EXPECT_EQ(tk::FitScale(800, 600, false), 1.0) << "never smaller than the design";
    EXPECT_EQ(tk::FitScale(1920, 1080, false), 1080.0 / 768);
    EXPECT_EQ(tk::FitScale(2048, 1536, false), 2.0);
    EXPECT_EQ(tk::FitScale(3840, 1080, false), 1080.0 / 768) << "the height limits a very wide screen";
    EXPECT_EQ(tk::FitScale(1920, 1080, true), 1.0) << "the user's own scaling wins";
    EXPECT_EQ(tk::FitScale(0, 0, false), 1.0) << "no screen reported";
}

TEST(DesignScale, WindowsAndControlsAreShownScaledAndReadInDesignPixels)
{
    ASSERT_EQ(tk::DesignScale(), kScale);
    form_test::FormDriver<activities::TJunsen_Form> w;
    // The window and its controls on the screen, scaled.
    QWidget* window = w.form.NativeWidget();
    EXPECT_EQ(window->frameGeometry().size(), QSize(1536, 1152)) << "outer bounds 1024 x 768 at 1.5";
    EXPECT_EQ(w.form.Width(), 1024);
    EXPECT_EQ(w.form.Height(), 768);
    QWidget* plane = w.form.PaintBox1->NativeWidget();
    EXPECT_EQ(plane->geometry(), QRect(12, 44, 990, 990)) << "(8, 29) 660 x 660 at 1.5";
    EXPECT_EQ(w.form.PaintBox1->Width(), 660);
    EXPECT_EQ(w.form.PaintBox1->Left(), 8);
    EXPECT_EQ(w.form.BtnSai->NativeWidget()->font().pixelSize(), 32) << "21 px at 1.5";
    // The plane is drawn in design pixels onto the screen's pixels: the
    // axes on design column and row 330 are screen columns 495 and 496.
    EXPECT_EQ(w.form.Plane.Canvas().Width(), 660);
    EXPECT_EQ(w.PlanePixel(330, 100), tk::clBlack);
    EXPECT_EQ(w.PlanePixel(100, 330), tk::clBlack);
    // A click lands on the design pixel under the pointer.
    form_test::MessageLog messages;
    for (const auto& [screenX, designX] : {std::pair{495, 330}, {496, 330}, {497, 331}, {0, 0}, {989, 659}}) {
        // On the first device pixel of the screen pixel, should Qt scale too.
        const auto device = [&](int x) { return static_cast<int>(std::ceil(x * plane->devicePixelRatioF())); };
        design_test::ClickAtPointer(plane, design_test::PointerAtDevicePixel(plane, {device(screenX), device(495)}));
        EXPECT_EQ(w.form.Plane.ClickPixel.x, static_cast<float>(designX)) << "screen x " << screenX;
        EXPECT_EQ(w.form.Plane.ClickPixel.y, 330.0f);
    }
}

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    tk::Application application(argc, argv, kScale);
    return RUN_ALL_TESTS();
}
