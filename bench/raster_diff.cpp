// How far the canvas's own rasterizer strays from QPainter: the benchmark
// scenes' plane drawn once through the canvas and once with QPainter's
// aliased round-capped pens for the lines the canvas used to leave to it
// (every line of a pen at least two device pixels wide, and 1-pixel lines
// that are neither along a row nor along a column), at device pixel ratios
// 1 and 2 (and 1.5, where the pen of the curve is odd), with the differing
// pixels counted per scene and per kind of line; then every line of up to
// 30 pixels either way, each alone, for pens of 1 to 5 device pixels.
// Prints Markdown tables (docs/PERFORMANCE.md).

#include "scenes.h"

#include "toolkit/application.h"
#include "toolkit/canvas.h"
#include "toolkit/image.h"

#include <QImage>
#include <QPainter>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using bench::Primitive;

// The kinds of line, each drawn by QPainter when its bit is set.
enum Kind : unsigned { kWideStraight = 1, kWideSlanted = 2, kThinSlanted = 4 };

struct Drawn {
    tk::Image image;
    int lines[3] = {0, 0, 0};
};

tk::TColor ToColor(const QColor& c) { return tk::RGB(c.red(), c.green(), c.blue()); }

Drawn Draw(const std::vector<Primitive>& primitives, double ratio, unsigned byQt)
{
    const tk::DeviceGrid grid(ratio);
    Drawn d{tk::Image(grid.EdgeClamped(660), grid.EdgeClamped(660)), {}};
    tk::Canvas c;
    c.Attach(&d.image, nullptr, ratio);
    c.SetBrushColor(tk::clWhite);
    c.FillRect({0, 0, 660, 660});
    for (const Primitive& s : primitives) {
        if (s.onWindow)
            continue;
        c.SetPenColor(ToColor(s.colour));
        c.SetPenWidth(s.width);
        switch (s.kind) {
        case Primitive::Kind::Rectangle:
            c.Rectangle(s.rect.left(), s.rect.top(), s.rect.left() + s.rect.width(), s.rect.top() + s.rect.height());
            break;
        case Primitive::Kind::Disc:
            c.MoveTo(s.a.x(), s.a.y());
            c.LineTo(s.a.x(), s.a.y());
            break;
        case Primitive::Kind::Line: {
            if (s.a == s.b) {
                c.MoveTo(s.a.x(), s.a.y());
                c.LineTo(s.a.x(), s.a.y());
                break;
            }
            const int pen = grid.PenWidth(s.width);
            const bool slanted = s.a.x() != s.b.x() && s.a.y() != s.b.y();
            const int kind = pen >= 2 ? (slanted ? 1 : 0) : 2;
            if (pen == 1 && !slanted) {
                c.MoveTo(s.a.x(), s.a.y());
                c.LineTo(s.b.x(), s.b.y());
                break;
            }
            ++d.lines[kind];
            if (!(byQt & (1u << kind))) {
                c.MoveTo(s.a.x(), s.a.y());
                c.LineTo(s.b.x(), s.b.y());
                break;
            }
            // As the canvas drew them before: laid at the pen coordinates,
            // the pen a whole number of device pixels wide.
            QImage target(reinterpret_cast<uchar*>(d.image.Bits()), d.image.Width(), d.image.Height(),
                          static_cast<qsizetype>(d.image.Stride() * 4), QImage::Format_RGB32);
            QPainter p(&target);
            p.setRenderHint(QPainter::Antialiasing, false);
            p.setPen(QPen(s.colour, pen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawLine(QLineF(grid.PenCoordinate(s.a.x(), s.width), grid.PenCoordinate(s.a.y(), s.width),
                              grid.PenCoordinate(s.b.x(), s.width), grid.PenCoordinate(s.b.y(), s.width)));
            break;
        }
        case Primitive::Kind::Text:
            break;
        }
    }
    return d;
}

long Differing(const tk::Image& a, const tk::Image& b)
{
    long n = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            n += a.Pixel(x, y) != b.Pixel(x, y);
    return n;
}

// Every vector up to kReach either way from one pixel, through the canvas
// at ratio 1 and through QPainter, each line alone on a fresh surface.
void EveryVector()
{
    constexpr int kReach = 30;
    constexpr int kSide = 2 * kReach + 16;
    std::printf("\n| Pen (device pixels) | Lines | Lines differing | Pixels differing | Pixels drawn by QPainter |\n");
    std::printf("|---|---|---|---|---|\n");
    for (int pen = 1; pen <= 5; ++pen) {
        long lines = 0, differingLines = 0, differing = 0, drawn = 0;
        for (int dy = -kReach; dy <= kReach; ++dy) {
            for (int dx = -kReach; dx <= kReach; ++dx) {
                if (dx == 0 && dy == 0)
                    continue;
                const int o = kSide / 2;
                tk::Image own(kSide, kSide), qt(kSide, kSide);
                tk::Canvas c;
                c.Attach(&own, nullptr, 1.0);
                c.SetPenColor(tk::clBlack);
                c.SetPenWidth(pen);
                c.MoveTo(o, o);
                c.LineTo(o + dx, o + dy);
                QImage target(reinterpret_cast<uchar*>(qt.Bits()), kSide, kSide, static_cast<qsizetype>(qt.Stride() * 4),
                              QImage::Format_RGB32);
                {
                    QPainter p(&target);
                    p.setRenderHint(QPainter::Antialiasing, false);
                    p.setPen(QPen(Qt::black, pen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
                    p.drawLine(QLineF(o, o, o + dx, o + dy));
                }
                const long n = Differing(own, qt);
                ++lines;
                differingLines += n > 0;
                differing += n;
                for (int y = 0; y < kSide; ++y)
                    for (int x = 0; x < kSide; ++x)
                        drawn += qt.Pixel(x, y) != 0xFFFFFFFFu;
            }
        }
        std::printf("| %d | %ld | %ld | %ld | %ld |\n", pen, lines, differingLines, differing, drawn);
    }
}

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    tk::Application application(argc, argv, 1.0);
    std::printf("| Scene | Ratio | Wide lines along a row or column: lines, pixels differing | Wide slanted lines: lines, "
                "pixels | 1-pixel slanted lines: lines, pixels | All: pixels differing of the plane's |\n");
    std::printf("|---|---|---|---|---|---|\n");
    for (double ratio : {1.0, 2.0, 1.5}) {
        for (bench::Activity a : {bench::Activity::Junsen, bench::Activity::Syoten}) {
            for (bench::Conic c : {bench::Conic::Hyperbola, bench::Conic::Ellipse}) {
                std::vector<Primitive> primitives;
                {
                    bench::Scene scene(a, c);
                    primitives = scene.Primitives();
                    scene.Form().Hide();
                }
                // QPainter takes over one kind after the other; each step's
                // differences are that kind's.
                const Drawn own = Draw(primitives, ratio, 0);
                const Drawn straight = Draw(primitives, ratio, kWideStraight);
                const Drawn slanted = Draw(primitives, ratio, kWideStraight | kWideSlanted);
                const Drawn all = Draw(primitives, ratio, kWideStraight | kWideSlanted | kThinSlanted);
                std::printf("| %s | %g | %d, %ld | %d, %ld | %d, %ld | %ld of %ld |\n", bench::Name(a, c).c_str(), ratio,
                            own.lines[0], Differing(own.image, straight.image), own.lines[1],
                            Differing(straight.image, slanted.image), own.lines[2],
                            Differing(slanted.image, all.image), Differing(own.image, all.image),
                            static_cast<long>(own.image.Width()) * own.image.Height());
            }
        }
    }
    EveryVector();
    return 0;
}
