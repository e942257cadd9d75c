// The canvas as the plane and the windows use it: pen state that persists,
// exact pixels without antialiasing, discs for wide points, safe clipping.

#include "toolkit/color.h"
#include "toolkit/form.h"
#include "toolkit/paintbox.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <limits>
#include <random>

using namespace tk;

namespace {

struct Surface {
    Form form;
    PaintBox box{form};
    Canvas& c = box.GetCanvas();
    Surface()
    {
        box.SetBounds(0, 0, 100, 100);
        c.SetBrushColor(clWhite);
        c.FillRect({0, 0, 100, 100});
    }
    int Count(TColor colour, int x0 = 0, int y0 = 0, int x1 = 100, int y1 = 100)
    {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                n += c.Pixel(x, y) == colour;
        return n;
    }
};

} // namespace

TEST(Canvas, ThinLinesLieExactlyOnTheirColumnAndRow)
{
    Surface s;
    s.c.SetPenColor(clBlack);
    s.c.MoveTo(30, -200);
    s.c.LineTo(30, 300);
    s.c.MoveTo(-5, 60);
    s.c.LineTo(105, 60);
    EXPECT_EQ(s.Count(clBlack, 30, 0, 31, 100), 100);
    EXPECT_EQ(s.Count(clBlack, 0, 60, 100, 61), 100);
    EXPECT_EQ(s.Count(clBlack), 199) << "nothing but the two lines";
}

TEST(Canvas, AZeroLengthLineWithAWidePenIsADiscCentredOnThePixel)
{
    Surface s;
    s.c.SetPenColor(clRed);
    s.c.SetPenWidth(5);
    s.c.MoveTo(50, 50);
    s.c.LineTo(50, 50);
    EXPECT_EQ(s.Count(clRed), 21) << "a 5x5 square without its corners";
    EXPECT_EQ(s.Count(clRed, 48, 48, 53, 53), 21);
    for (int d = -2; d <= 2; ++d) {
        EXPECT_EQ(s.c.Pixel(50 + d, 50), clRed);
        EXPECT_EQ(s.c.Pixel(50, 50 + d), clRed);
    }
    EXPECT_EQ(s.c.Pixel(48, 48), clWhite);
    EXPECT_EQ(s.c.Pixel(52, 52), clWhite);
}

TEST(Canvas, PenColourAndWidthPersistAcrossOperations)
{
    Surface s;
    s.c.SetPenColor(clAqua);
    s.c.SetPenWidth(2);
    s.c.MoveTo(10, 10);
    s.c.LineTo(10, 90);
    EXPECT_EQ(s.c.PenColor(), clAqua);
    EXPECT_EQ(s.c.PenWidth(), 2);
    s.c.LineTo(90, 90);
    EXPECT_EQ(s.c.PenPos(), (Point{90, 90}));
    // A wide pen covers two rows along the horizontal leg.
    EXPECT_EQ(s.Count(clAqua, 20, 85, 80, 95), 2 * 60);
}

TEST(Canvas, RectangleIsFilledAndOutlinedInsideWithThePensWidth)
{
    Surface s;
    s.c.SetBrushColor(clWhite);
    s.c.SetPenColor(clSilver);
    for (int width : {1, 2}) {
        s.c.SetPenWidth(width);
        s.c.Rectangle(0, 0, 100, 100);
        for (int d = 0; d < 3; ++d) {
            const TColor expected = d < width ? clSilver : clWhite;
            EXPECT_EQ(s.c.Pixel(d, 50), expected) << "left, width " << width;
            EXPECT_EQ(s.c.Pixel(99 - d, 50), expected) << "right";
            EXPECT_EQ(s.c.Pixel(50, d), expected) << "top";
            EXPECT_EQ(s.c.Pixel(50, 99 - d), expected) << "bottom";
        }
    }
}

TEST(Canvas, HugeAndOppositeCoordinatesAreClippedSafely)
{
    Surface s;
    constexpr int big = std::numeric_limits<int>::max();
    constexpr int small = std::numeric_limits<int>::min();
    s.c.SetPenColor(clRed);
    s.c.SetPenWidth(2);
    s.c.MoveTo(small, 50);
    s.c.LineTo(big, 50);
    EXPECT_EQ(s.Count(clRed, 0, 49, 100, 51), 200);
    s.c.MoveTo(big, big);
    s.c.LineTo(big, big);  // a disc far away draws nothing
    s.c.MoveTo(small, small);
    s.c.LineTo(big, small);
    EXPECT_EQ(s.Count(clRed), 200);
}

TEST(Canvas, TextRectFillsItsRectangleAndClipsTheText)
{
    Surface s;
    s.c.SetBrushColor(clMoneyGreen);
    s.c.SetFont({"ＭＳ Ｐゴシック", 21, clRed, false});
    s.c.TextRect({10, 5, 60, 25}, 10, 5, "点Ｐ (1.50 , -2.00)");
    EXPECT_GT(s.Count(clRed, 10, 5, 60, 25), 20) << "the text is drawn in the font colour";
    EXPECT_EQ(s.Count(clRed, 60, 0, 100, 100), 0) << "nothing beyond the rectangle";
    EXPECT_EQ(s.Count(clMoneyGreen, 10, 5, 60, 25) + s.Count(clRed, 10, 5, 60, 25), 50 * 20)
        << "opaque: the rest of the rectangle is the brush colour";
    s.c.TextRect({10, 5, 60, 25}, 10, 5, "");
    EXPECT_EQ(s.Count(clMoneyGreen), 50 * 20) << "an empty text blanks the rectangle";
}

TEST(Canvas, ShortWideStepsGiveThePixelsOfAPlainRoundCappedLine)
{
    // The canvas draws a curve's short steps from shapes it keeps; they must
    // stay the pixels QPainter gives the same line wherever it lies.
    constexpr int kSize = 100;
    Surface s;
    QImage plain(kSize, kSize, QImage::Format_RGB32);
    plain.fill(Qt::white);
    std::mt19937 rng(7);
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const TColor colours[] = {clRed, clFuchsia, clYellow, clAqua, clBlack};
    for (int i = 0; i < 3000; ++i) {
        const int width = pick(1, 4);
        const int x0 = pick(-3, kSize + 2), y0 = pick(-3, kSize + 2);
        const int x1 = x0 + pick(-13, 13), y1 = y0 + pick(-13, 13);
        if (x0 == x1 && y0 == y1)
            continue;  // a wide point is a disc of the canvas's own
        const TColor colour = colours[i % 5];
        s.c.SetPenColor(colour);
        s.c.SetPenWidth(width);
        s.c.MoveTo(x0, y0);
        s.c.LineTo(x1, y1);
        QPainter p(&plain);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(QColor(RedOf(colour), GreenOf(colour), BlueOf(colour)), width, Qt::SolidLine, Qt::RoundCap,
                      Qt::RoundJoin));
        p.drawLine(x0, y0, x1, y1);
    }
    int differing = 0;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const QRgb q = plain.pixel(x, y);
            differing += s.c.Pixel(x, y) != RGB(qRed(q), qGreen(q), qBlue(q));
        }
    EXPECT_EQ(differing, 0);
}
