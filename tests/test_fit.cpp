// The program enlarged to a larger screen: every window, control, font and
// the plane shown at the design scale, while everything the program itself
// reads (bounds, the plane's size, clicks, the screen) stays in design
// pixels.

#include "activities/junsen_form.h"
#include "toolkit/qt/native.h"
#include "activities/syoten_form.h"
#include "toolkit/application.h"
#include "toolkit/design_scale.h"
#include "toolkit/form.h"

#include "support/form_driver.h"
#include "support/scaled_driver.h"
#include "toolkit/qt/driver_qt.h"

#include <QImage>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace {

constexpr double kScale = 1.5;

TEST(DesignScale, WindowsAndControlsAreShownScaledAndReadInDesignPixels)
{
    ASSERT_EQ(tk::DesignScale(), kScale);
    form_test::FormDriver<activities::TJunsen_Form> w;
    // The window and its controls on the screen, scaled.
    QWidget* window = tk::AsWidget(w.form.NativeWidget());
    // Outer bounds 1024 x 768 at 1.5; where Qt scales too, the frame is
    // known only to a logical pixel and the window is at most that short.
    const QSize outer = window->frameGeometry().size();
    const int slack = window->devicePixelRatioF() == 1 ? 0 : 1;
    EXPECT_TRUE(outer.width() <= 1536 && outer.width() >= 1536 - slack && outer.height() <= 1152 &&
                outer.height() >= 1152 - slack)
        << outer.width() << " x " << outer.height() << ": outer bounds 1024 x 768 at 1.5";
    EXPECT_EQ(w.form.Width(), 1024);
    EXPECT_EQ(w.form.Height(), 768);
    QWidget* plane = tk::AsWidget(w.form.PaintBox1->NativeWidget());
    EXPECT_EQ(plane->geometry(), QRect(12, 44, 990, 990)) << "(8, 29) 660 x 660 at 1.5";
    EXPECT_EQ(w.form.PaintBox1->Width(), 660);
    EXPECT_EQ(w.form.PaintBox1->Left(), 8);
    EXPECT_EQ(tk::AsWidget(w.form.BtnSai->NativeWidget())->font().pixelSize(), 32) << "21 px at 1.5";
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
        tk::drive::ClickAtPointer(plane, tk::drive::PointerAtDevicePixel(plane, {device(screenX), device(495)}));
        EXPECT_EQ(w.form.Plane.ClickPixel.x, static_cast<float>(designX)) << "screen x " << screenX;
        EXPECT_EQ(w.form.Plane.ClickPixel.y, 330.0f);
    }
}

TEST(MaximizedWindow, ShowsItsContentWhereTheCentredWindowShowsIt)
{
    // Half the design on the 800 x 600 screen: the maximized window is
    // wider and taller than its content.
    form_test::DesignScaled scaled(0.5);
    form_test::FormDriver<activities::TJunsen_Form> one;
    form_test::FormDriver<activities::TSyoten_Form> two;
    QWidget* window = tk::AsWidget(two.form.NativeWidget());
    ASSERT_TRUE(window->isMaximized());
    ASSERT_GT(window->width(), tk::ToLogical(1024) + 100);
    QWidget* plane1 = tk::AsWidget(one.form.PaintBox1->NativeWidget());
    QWidget* plane2 = tk::AsWidget(two.form.PaintBox1->NativeWidget());
    EXPECT_EQ(plane2->mapToGlobal(QPoint(0, 0)), plane1->mapToGlobal(QPoint(0, 0)))
        << "both activities show the plane at the same place on the screen";
    const QPoint inWindow = plane2->mapTo(window, QPoint(0, 0));
    EXPECT_GT(inWindow.x(), (window->width() - tk::ToLogical(1024)) / 2) << "not at the window's left";
    // The program still reads design pixels.
    EXPECT_EQ(two.form.PaintBox1->Left(), 8);
    EXPECT_EQ(two.form.PaintBox1->Top(), 29);
    EXPECT_EQ(two.form.PaintBox1->ClientWidth(), 660);
    EXPECT_GE(two.form.ClientWidth(), 1024 - 8);
    EXPECT_EQ(two.form.Left(), 0);
    // The same point of the screen selects the same design pixel in both.
    for (const QPoint onPlane : {QPoint(100, 50), QPoint(165, 165), QPoint(329, 2)}) {
        form_test::PressWindow(tk::AsWidget(one.form.NativeWidget()), plane1->mapTo(tk::AsWidget(one.form.NativeWidget()), onPlane));
        form_test::PressWindow(window, plane2->mapTo(window, onPlane));
        EXPECT_EQ(two.form.Plane.ClickPixel.x, one.form.Plane.ClickPixel.x) << onPlane.x();
        EXPECT_EQ(two.form.Plane.ClickPixel.y, one.form.Plane.ClickPixel.y) << onPlane.y();
        EXPECT_NEAR(one.form.Plane.ClickPixel.x, 2 * onPlane.x(), 1);
    }
    // The window's own drawing (the texts above the plane) moves with the
    // content: a block drawn at the content's (10, 4)-(50, 24) is there, and
    // the band beside the content is the window's colour only.
    tk::Canvas& canvas = two.form.GetCanvas();
    canvas.SetBrushColor(tk::clRed);
    const tk::Rect block{10, 4, 50, 24};
    canvas.FillRect(block);
    QApplication::processEvents();
    // The screen's pixels: the content's corner and the block in device
    // pixels, as the canvas lays the block on them.
    const QImage shown = window->grab().toImage();
    const double ratio = window->devicePixelRatioF();
    const QPoint corner = tk::AsWidget(two.form.ClientWidget())->mapTo(window, QPoint(0, 0));
    const QPoint origin(static_cast<int>(std::lround(corner.x() * ratio)), static_cast<int>(std::lround(corner.y() * ratio)));
    const tk::Rect device = canvas.Grid().ToDevice(block);
    const QRect drawn(origin + QPoint(device.left, device.top), origin + QPoint(device.right - 1, device.bottom - 1));
    // The content's own red captions aside, the band around it shows none.
    const QSize size = tk::AsWidget(two.form.ClientWidget())->size() * ratio;
    const QRect content(origin, size);
    int marks = 0, band = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) {
            const bool red = shown.pixelColor(x, y) == QColor(Qt::red);
            marks += red && drawn.contains(x, y);
            band += red && !content.contains(x, y);
        }
    EXPECT_EQ(marks, drawn.width() * drawn.height());
    EXPECT_GT(marks, 0);
    EXPECT_EQ(band, 0) << "red only where the content has it";
}

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    tk::Application application(argc, argv, kScale);
    return RUN_ALL_TESTS();
}
