// Both activity windows on a screen of more device pixels than design
// pixels (run with QT_SCALE_FACTOR set): every kind of line one whole number
// of device pixels wide, round markers, the grid where the design grid
// falls, the images shown pixel for pixel, sharp texts and bold captions,
// and clicks that land on the design pixel under the pointer.

#include "activities/junsen_form.h"
#include "toolkit/qt/native.h"
#include "activities/syoten_form.h"

#include "support/design_pixels.h"
#include "support/form_driver.h"
#include "support/look_check.h"
#include "support/scaled_driver.h"
#include "toolkit/qt/driver_qt.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

using namespace activities;
using tk::TColor;

namespace {

TColor Colour(QRgb rgb) { return tk::RGB(qRed(rgb), qGreen(rgb), qBlue(rgb)); }

struct Span {
    int start, length;
    TColor colour;
};

// The runs of colours other than `background` along a device row (or a
// column) of the canvas, from `from` to `to`.
std::vector<Span> Runs(const tk::Canvas& c, bool row, int at, int from, int to, TColor background)
{
    std::vector<Span> runs;
    for (int k = from; k < to; ++k) {
        const TColor p = row ? c.DevicePixel(k, at) : c.DevicePixel(at, k);
        if (p == background)
            continue;
        if (!runs.empty() && runs.back().colour == p && runs.back().start + runs.back().length == k)
            ++runs.back().length;
        else
            runs.push_back({k, 1, p});
    }
    return runs;
}

template <class F>
struct Window : form_test::FormDriver<F> {
    tk::Canvas& plane = this->form.PaintBox1->GetCanvas();
    QWidget* box = tk::AsWidget(this->form.PaintBox1->NativeWidget());
    // Design pixel x covers the device pixels from EdgeClamped(x) up to
    // EdgeClamped(x + 1).
    tk::DeviceGrid scale = plane.Grid();

    // The window as the screen shows it, device pixel for device pixel.
    QImage Shown() { return tk::AsWidget(this->form.NativeWidget())->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    // Where the shown window has the plane's top-left device pixel: the
    // first pixel of its silver border.
    QPoint PlaneOrigin(const QImage& shown)
    {
        const auto silver = [&](int x, int y) { return (shown.pixel(x, y) & 0xFFFFFF) == 0xC0C0C0; };
        const int y = (29 + 100) * shown.height() / tk::AsWidget(this->form.NativeWidget())->height();
        int x = 0;
        while (x < shown.width() && !silver(x, y))
            ++x;
        const int x0 = (8 + 100) * shown.width() / tk::AsWidget(this->form.NativeWidget())->width();
        int top = 0;
        while (top < shown.height() && !silver(x0, top))
            ++top;
        return {x, top};
    }

    // A press at device pixel (x, y) of the plane, as the window system
    // reports it: whole device pixels of the window, divided by the ratio;
    // the plane's image starts at `origin` of the shown window.
    void PressDevicePixel(QPoint device, QPoint origin)
    {
        const QPointF offset = box->mapTo(box->window(), QPointF(0, 0)) * box->devicePixelRatioF();
        ASSERT_EQ(origin, QPoint(std::lround(offset.x()), std::lround(offset.y())))
            << "the plane is shown where the pointer finds it";
        tk::drive::ClickAtPointer(box, tk::drive::PointerAtDevicePixel(box, device));
    }
};

// The two-points window with F1 (-3, 0), F2 (3, 0) and the sum 10, a match
// stored at (5, 0) and P at (-3, 3), the ellipse drawn.
struct Road : Window<TSyoten_Form> {
    QPoint origin;
    explicit Road(bool graph = true)
    {
        // At its design size, larger than the offscreen screen, so that the
        // whole plane is on the window at every ratio.
        form.SetWindowState(tk::WindowState::Normal);
        QApplication::processEvents();
        form_test::NameSyotenToggles(keys, form.Entry);
        Type("x1 － ３ y1 ０ x2 ３ y2 ０ dist 和＝ １ ０ 決定");
        origin = PlaneOrigin(Shown());
        PressDevicePixel({scale.EdgeClamped(495), scale.EdgeClamped(330)}, origin);
        PressDevicePixel({scale.EdgeClamped(231), scale.EdgeClamped(231)}, origin);
        if (graph)
            Type("graph");
        QApplication::processEvents();
    }
};

} // namespace

TEST(Scaled, ImagesAreHeldAtTheWindowsDevicePixelRatio)
{
    Window<TJunsen_Form> w;
    EXPECT_EQ(w.plane.Grid().Scale(), w.box->devicePixelRatioF());
    EXPECT_EQ(w.plane.DeviceWidth(), w.scale.EdgeClamped(660));
    EXPECT_EQ(w.plane.DeviceHeight(), w.scale.EdgeClamped(660));
    EXPECT_EQ(w.plane.Width(), 660) << "the plane keeps its design size";
    // The window's own canvas writes only the strip of texts above the plane:
    // its surface holds that strip and no more.
    const tk::Canvas& window = w.form.GetCanvas();
    EXPECT_EQ(window.DeviceWidth(), w.scale.Edge(700));
    EXPECT_EQ(window.DeviceHeight(), w.scale.Edge(25));
}

TEST(Scaled, GridAxesAndBorderAreOneDeviceWidthWhereTheDesignGridIs)
{
    Window<TSyoten_Form> w;
    const int size = w.plane.DeviceWidth();
    for (int position : {51, 0, 99, 75}) {
        w.form.ScrollBar1->SetPosition(position);
        w.form.Syokika(nullptr);
        w.form.PaintBox1Paint(nullptr);
        const int gu = w.form.Plane.GridUnit;
        std::set<int> columns;
        for (int i = -gu / 2; i <= gu / 2; ++i)
            columns.insert(w.form.Plane.Map().ToPixel({static_cast<float>(i), 0}).x);
        // A row and a column of the plane between grid lines.
        const int between = w.scale.EdgeClamped(330 + 660 / (2 * gu)) + 1;
        for (bool row : {true, false}) {
            const std::vector<Span> runs = Runs(w.plane, row, between, 0, size, tk::clWhite);
            ASSERT_FALSE(runs.empty());
            int lines = 0;
            for (const Span& r : runs) {
                EXPECT_EQ(r.length, w.scale.PenWidth(1)) << "zoom " << gu << (row ? " row" : " column") << " at " << r.start;
                if (r.start == 0 || r.start + r.length == size) {
                    EXPECT_EQ(r.colour, tk::clSilver) << "the border";
                    continue;
                }
                ++lines;
                // The design column nearest to the run: within a device pixel
                // of where the design grid puts it.
                int nearest = 1 << 20;
                for (int c : columns)
                    if (std::abs(w.scale.EdgeClamped(c) - r.start) < std::abs(w.scale.EdgeClamped(nearest) - r.start))
                        nearest = c;
                EXPECT_LE(std::abs(w.scale.EdgeClamped(nearest) - r.start), 1) << "zoom " << gu << " at " << r.start;
                EXPECT_EQ(r.colour, nearest == 330 ? tk::clBlack : tk::clSilver);
            }
            const int inside = static_cast<int>(std::count_if(columns.begin(), columns.end(),
                                                              [](int c) { return c > 0 && c < 660; }));
            EXPECT_EQ(lines, inside) << "zoom " << gu << ": every line inside the border, and no other";
        }
    }
}

TEST(Scaled, SegmentsAndCurveHaveOneDeviceWidth)
{
    Road w;
    ASSERT_TRUE(w.form.CurveShown);
    ASSERT_EQ(w.form.Plane.AfterimageCount, 1) << "the press at (5, 0) matched the sum";
    const int wide = w.scale.PenWidth(2);
    // The segment P F1 runs down the column of x = -3.
    for (int y : {250, 280, 310}) {
        const std::vector<Span> runs = Runs(w.plane, true, w.scale.EdgeClamped(y), w.scale.EdgeClamped(200), w.scale.EdgeClamped(260),
                                           tk::clWhite);
        int yellow = 0;
        for (const Span& r : runs)
            if (r.colour == tk::clYellow) {
                ++yellow;
                EXPECT_EQ(r.length, wide) << "segment at row " << y;
            }
        EXPECT_EQ(yellow, 1);
    }
    // The ellipse's flat top at (0, 4), and its side at (-5, 0) and (5, 0).
    for (int x = 320; x <= 340; x += 4) {
        const std::vector<Span> runs = Runs(w.plane, false, w.scale.EdgeClamped(x) + 1, w.scale.EdgeClamped(180), w.scale.EdgeClamped(215),
                                           tk::clWhite);
        ASSERT_EQ(runs.size(), 1u) << "column " << x;
        EXPECT_EQ(runs[0].colour, tk::clRed);
        EXPECT_EQ(runs[0].length, wide) << "curve at column " << x;
    }
    for (int y = 320; y <= 340; y += 4) {
        if (std::abs(y - 330) < 5)
            continue;  // the axis and the stored dot
        const auto row = [&](int device) {
            return Runs(w.plane, true, device, w.scale.EdgeClamped(150), w.scale.EdgeClamped(180), tk::clWhite);
        };
        const int at = w.scale.EdgeClamped(y) + 1;
        const std::vector<Span> runs = row(at);
        ASSERT_EQ(runs.size(), 1u) << "row " << y;
        // Where the curve steps sideways by a design pixel, the round caps
        // of that diagonal step reach one device pixel further.
        const std::vector<Span> above = row(at - 1), below = row(at + 1);
        const bool steps = above.size() != 1 || below.size() != 1 || above[0].start != runs[0].start ||
                           below[0].start != runs[0].start;
        if (steps) {
            EXPECT_GE(runs[0].length, wide) << "curve at row " << y;
            EXPECT_LE(runs[0].length, wide + 1) << "curve at row " << y;
        } else {
            EXPECT_EQ(runs[0].length, wide) << "curve at row " << y;
        }
    }
}

TEST(Scaled, MarkersAreRoundAndCentredOnTheirDesignPixel)
{
    Road w(false);
    ASSERT_EQ(w.form.Plane.AfterimageCount, 1) << "the press at (5, 0) matched the sum";
    // The stored match at (5, 0): a maroon disc round and centred on its
    // design pixel.
    int left = 1 << 20, right = -1, top = 1 << 20, bottom = -1;
    std::vector<std::pair<int, int>> spans;
    for (int y = w.scale.EdgeClamped(320); y < w.scale.EdgeClamped(340); ++y) {
        int first = -1, last = -1;
        for (int x = w.scale.EdgeClamped(485); x < w.scale.EdgeClamped(505); ++x)
            if (w.plane.DevicePixel(x, y) == tk::clMaroon) {
                first = first < 0 ? x : first;
                last = x;
            }
        if (first < 0)
            continue;
        spans.push_back({first, last});
        left = std::min(left, first), right = std::max(right, last);
        top = std::min(top, y), bottom = std::max(bottom, y);
    }
    const int across = w.scale.PenWidth(5);
    EXPECT_EQ(right - left + 1, across);
    EXPECT_EQ(bottom - top + 1, across);
    for (std::size_t i = 0; i < spans.size(); ++i) {
        const auto& mirrored = spans[spans.size() - 1 - i];
        EXPECT_EQ(spans[i].first - left, right - spans[i].second) << "each row symmetric";
        EXPECT_EQ(spans[i].second - spans[i].first, mirrored.second - mirrored.first) << "top like bottom";
    }
    const double centre = (w.scale.EdgeClamped(495) + w.scale.EdgeClamped(496)) / 2.0;
    EXPECT_LE(std::fabs((left + right + 1) / 2.0 - centre), 1.0);
    EXPECT_LE(std::fabs((top + bottom + 1) / 2.0 - (w.scale.EdgeClamped(330) + w.scale.EdgeClamped(331)) / 2.0), 1.0);
}

TEST(Scaled, TheScreenShowsThePlaneAndTheTextsPixelForPixel)
{
    Road w;
    for (int pass = 0; pass < 2; ++pass) {
        const QImage shown = w.Shown();
        const QPoint o = w.PlaneOrigin(shown);
        ASSERT_EQ(o, w.origin);
        int differing = 0;
        for (int y = 0; y < w.plane.DeviceHeight(); ++y)
            for (int x = 0; x < w.plane.DeviceWidth(); ++x)
                differing += Colour(shown.pixel(o.x() + x, o.y() + y)) != w.plane.DevicePixel(x, y);
        EXPECT_EQ(differing, 0) << (pass == 0 ? "after the road" : "after a press that repaints parts");
        tk::Canvas& window = w.form.GetCanvas();
        differing = 0;
        for (int y = window.Grid().Edge(5); y < window.Grid().Edge(25); ++y)
            for (int x = window.Grid().Edge(10); x < window.Grid().Edge(210); ++x)
                differing += Colour(shown.pixel(x, y)) != window.DevicePixel(x, y);
        EXPECT_EQ(differing, 0) << "P's coordinates above the plane";
        // Around the strip, above the plane and the condition panel: the
        // window's colour.
        const tk::DeviceGrid& g = window.Grid();
        differing = 0;
        for (int y = 0; y < g.Edge(28); ++y)
            for (int x = 0; x < (y < g.Edge(23) ? shown.width() : g.Edge(690)); ++x)
                if (x < g.Edge(10) || x >= g.Edge(700) || y < g.Edge(5) || y >= g.Edge(25))
                    differing += Colour(shown.pixel(x, y)) != tk::clMoneyGreen;
        EXPECT_EQ(differing, 0) << "the band above the plane beside the strip";
        w.PressDevicePixel({w.scale.EdgeClamped(400) + 1, w.scale.EdgeClamped(200)}, o);
        QApplication::processEvents();
    }
}

TEST(Scaled, APressLandsOnTheDesignPixelUnderThePointer)
{
    Road w;
    for (int device = w.scale.EdgeClamped(97); device < w.scale.EdgeClamped(103); ++device) {
        w.PressDevicePixel({device, w.scale.EdgeClamped(450) + w.scale.PenWidth(1) - 1}, w.origin);
        int expected = 0;
        while (w.scale.EdgeClamped(expected + 1) <= device)
            ++expected;
        EXPECT_EQ(w.form.Plane.ClickPixel.x, expected) << "device pixel " << device;
        EXPECT_EQ(w.form.Plane.ClickPixel.y, 450) << "device pixel " << device;
    }
    // The centre of the plane is P = (0, 0) from each of its device pixels.
    for (int device = w.scale.EdgeClamped(330); device < w.scale.EdgeClamped(331); ++device) {
        w.PressDevicePixel({device, device}, w.origin);
        EXPECT_EQ(w.form.Plane.PointP().x, 0.0f);
        EXPECT_EQ(w.form.Plane.PointP().y, 0.0f);
    }
}

TEST(Scaled, TextsAreSetAtDeviceResolution)
{
    Road w;
    tk::Canvas& window = w.form.GetCanvas();
    // P's coordinates in red in the strip: glyphs of the device's height,
    // not design pixels blown up (rows that repeat in pairs).
    int top = 1 << 20, bottom = -1, repeated = 0, rows = 0;
    for (int y = 0; y < window.Grid().Edge(30); ++y) {
        bool red = false, same = true;
        for (int x = window.Grid().Edge(10); x < window.Grid().Edge(210); ++x) {
            red = red || window.DevicePixel(x, y) == tk::clRed;
            same = same && window.DevicePixel(x, y) == window.DevicePixel(x, y + 1);
        }
        if (!red)
            continue;
        top = std::min(top, y), bottom = std::max(bottom, y);
        ++rows;
        repeated += same ? 1 : 0;
    }
    EXPECT_GT(bottom - top + 1, 12 * w.scale.Scale()) << "as tall as the font at this ratio";
    EXPECT_LT(repeated, rows / 3) << "drawn at device resolution";
}

TEST(Scaled, BoldCaptionsKeepTheirWeight)
{
    // The weight as the ink (dark pixels) a bold caption adds to its regular
    // twin, next to the same text set directly in the device's size and
    // struck twice, one design pixel apart, as a face without bold is.
    const QString caption = QStringLiteral("決定 終わる");
    const auto ink = [](const QImage& image) {
        long n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += qGray(image.pixel(x, y)) < 96 ? 1 : 0;
        return static_cast<double>(n);
    };
    QFont font(QStringLiteral("ＭＳ 明朝"));
    font.setPixelSize(19);
    font.setStyleStrategy(QFont::NoAntialias);
    double shown[2], direct[2];
    for (int bold = 0; bold < 2; ++bold) {
        font.setBold(bold == 1);
        QPushButton button(caption);
        button.setFont(font);
        button.setGeometry(0, 0, 160, 40);
        button.setFlat(true);
        const QImage image = button.grab().toImage();
        shown[bold] = ink(image);
        QImage plain(image.size(), QImage::Format_RGB32);
        plain.fill(Qt::white);
        QFont device = font;
        device.setPixelSize(qRound(19 * button.devicePixelRatioF()));
        device.setBold(false);
        const int overstrike = qRound(button.devicePixelRatioF() * tk::DesignScale());
        QPainter p(&plain);
        p.setFont(device);
        p.setPen(Qt::black);
        p.drawText(plain.rect(), Qt::AlignCenter, caption);
        if (bold == 1)
            p.drawText(plain.rect().translated(overstrike, 0), Qt::AlignCenter, caption);
        p.end();
        direct[bold] = ink(plain);
    }
    const double added = shown[1] / shown[0] - 1, expected = direct[1] / direct[0] - 1;
    EXPECT_NEAR(added, expected, 0.25 * expected) << "bold adds " << added << " of the regular ink, set directly "
                                                  << expected;
}

TEST(Scaled, BoldCaptionsAreTheMinchoSubstituteEmboldened)
{
    // Set at the device's size in their own face's substitute, struck twice
    // one design pixel apart: the ink of IPAMincho so, not a Gothic's.
    Window<TJunsen_Form> j;
    j.form.BtnByoga->Show();
    const std::set<std::string> seen = look_check::ExpectBoldCaptionsInMinchoStruckTwice({tk::AsWidget(j.form.NativeWidget())});
    EXPECT_EQ(seen, (std::set<std::string>{"決定", "取消", "再試行", "終わる", "条件を満たすグラフを描く"}));
}

TEST(Scaled, TheFocusFrameIsOneDesignPixelThickOnTheScreen)
{
    // As thick as a design pixel in whole device pixels, dotted as at
    // ratio 1: dots as long as they are thick, gaps twice that.
    Window<TJunsen_Form> w;
    const int device = std::max(1, static_cast<int>(std::lround(w.scale.Scale())));
    for (QWidget* focusable : {tk::AsWidget(w.form.BtnSai->NativeWidget()), tk::AsWidget(w.form.ScrollBar1->NativeWidget())})
        look_check::ExpectDottedFocusFrame(focusable, device);
}

namespace {

int DeviceGridPixel(double v) { return tk::DeviceGrid::Clamp(v); }

// A press at device pixel `device` of the window, as the window system
// reports it: whole device pixels of the native window.
void PressWindowDevicePixel(QWidget* window, QPoint device)
{
    const double ratio = window->windowHandle()->devicePixelRatio();
    form_test::PressWindow(window, QPointF(device.x() / ratio, device.y() / ratio));
}

} // namespace

TEST(Scaled, EveryDevicePixelOfADrawnGridCrossingSelectsIt)
{
    // Design scales a fit gives: shrunk to 1366 x 768 at 125 %, to 1920 x
    // 1080 at 150 %, to a screen smaller than the design, and enlarged.
    for (double design : {1.0, 0.8, 0.9375, 0.5, 0.4, 1.25}) {
        form_test::DesignScaled scaled(design);
        Window<TJunsen_Form> w;
        const tk::DeviceGrid& g = w.plane.Grid();
        const QImage shown = w.Shown();
        const QPoint origin = w.PlaneOrigin(shown);
        // The grid crossing (2, 4) at the initial zoom: plane pixel (396, 198).
        const int x = 396, y = 198;
        ASSERT_EQ(w.PlanePixel(x, y), tk::clSilver) << "design scale " << design;
        // Every device pixel of the design pixel of the crossing, those that
        // show it among them; below one device pixel per design pixel, the
        // one it is drawn on.
        const auto pixels = [&g](int k) {
            const int from = g.Scale() < 1 ? DeviceGridPixel(g.CentrePixel(k)) : g.EdgeClamped(k);
            const int to = g.Scale() < 1 ? from + 1 : g.EdgeClamped(k + 1);
            return std::pair{from, to};
        };
        const auto [left, right] = pixels(x);
        const auto [top, bottom] = pixels(y);
        // The crossing as drawn lies within that design pixel.
        const int pen = g.PenWidth(1);
        const int lineX = DeviceGridPixel(g.PenCoordinate(x, 1)) - pen / 2;
        const int lineY = DeviceGridPixel(g.PenCoordinate(y, 1)) - pen / 2;
        ASSERT_GE(lineX, left);
        ASSERT_LE(lineX + pen, right);
        ASSERT_GE(lineY, top);
        ASSERT_LE(lineY + pen, bottom);
        for (int dy = lineY; dy < lineY + pen; ++dy)
            for (int dx = lineX; dx < lineX + pen; ++dx)
                ASSERT_EQ(Colour(shown.pixel(origin.x() + dx, origin.y() + dy)), tk::clSilver)
                    << "design scale " << design << ": the crossing is shown on device pixel " << dx << "," << dy;
        for (int dy = top; dy < bottom; ++dy)
            for (int dx = left; dx < right; ++dx) {
                PressWindowDevicePixel(tk::AsWidget(w.form.NativeWidget()), origin + QPoint(dx, dy));
                if (g.Scale() < 1) {
                    // Two design pixels may share the device pixel, and only
                    // one can be selected there: the one whose marker lies
                    // under the pointer.
                    EXPECT_EQ(g.CentrePixel(w.form.Plane.ClickPixel.x), dx) << "design scale " << design;
                    EXPECT_EQ(g.CentrePixel(w.form.Plane.ClickPixel.y), dy) << "design scale " << design;
                    continue;
                }
                EXPECT_EQ(w.form.Plane.ClickPixel.x, x) << "design scale " << design << " device " << dx << "," << dy;
                EXPECT_EQ(w.form.Plane.ClickPixel.y, y) << "design scale " << design << " device " << dx << "," << dy;
                EXPECT_FLOAT_EQ(w.form.Plane.PointP().x, 2.0f) << "design scale " << design;
                EXPECT_FLOAT_EQ(w.form.Plane.PointP().y, 4.0f) << "design scale " << design;
            }
        if (g.Scale() < 1)
            continue;
        // The pixels just beside the crossing select its neighbours.
        PressWindowDevicePixel(tk::AsWidget(w.form.NativeWidget()), origin + QPoint(right, bottom));
        EXPECT_EQ(w.form.Plane.ClickPixel.x, x + 1) << "design scale " << design;
        EXPECT_EQ(w.form.Plane.ClickPixel.y, y + 1) << "design scale " << design;
        PressWindowDevicePixel(tk::AsWidget(w.form.NativeWidget()), origin + QPoint(left - 1, top - 1));
        EXPECT_EQ(w.form.Plane.ClickPixel.x, x - 1) << "design scale " << design;
        EXPECT_EQ(w.form.Plane.ClickPixel.y, y - 1) << "design scale " << design;
    }
}
