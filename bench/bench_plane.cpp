// Repaints of the plane in the heaviest state the windows reach, each next to
// two baselines measured in the same run: the floor (the 660 x 660 surface
// filled and shown, nothing drawn) and a plain drawing of the same
// primitives with one QPainter per operation. A table of ratios follows the
// usual output; docs/PERFORMANCE.md describes the method. Run with
// QT_SCALE_FACTOR set to measure at that device pixel ratio.

#include "heap_count.h"
#include "scenes.h"

#include "toolkit/application.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using bench::Activity;
using bench::Conic;
using bench::Primitive;
using bench::Scene;

constexpr int kZoomPositions = 101;
const QRect kPlaneRect(8, 29, 660, 660);
const QRect kStripRect(10, 5, 690, 20);

// Brings what the handlers drew onto the screen: the paint events that the
// drawing requested, delivered as the event loop delivers them.
void Show() { QApplication::processEvents(); }

// An image of the given size at the screen's device pixel ratio, as a plain
// program holds it (Qt scales every painter on it).
QImage DeviceImage(QSize size)
{
    const qreal dpr = qApp->devicePixelRatio();
    QImage image(size * dpr, QImage::Format_RGB32);
    image.setDevicePixelRatio(dpr);
    return image;
}

// A window laid out like an activity window, showing a plane image and the
// strip of texts above it, for the baselines.
class PlainView : public QWidget {
public:
    PlainView()
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setGeometry(0, 0, 1024, 768);
        plane.fill(Qt::white);
        window.fill(QColor(0xC0, 0xDC, 0xC0));
        show();
        QApplication::processEvents();
    }

    QImage plane = DeviceImage({660, 660});
    QImage window = DeviceImage({1024, 29});
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override
    {
        ++paints;
        QPainter p(this);
        p.drawImage(QPoint(0, 0), window);
        p.drawImage(kPlaneRect.topLeft(), plane);
    }
};

// The straightforward way: a painter per operation, wide round-capped pens
// through drawLine, discs through drawEllipse, antialiasing off.
void DrawPlain(const std::vector<Primitive>& primitives, PlainView& view)
{
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(21);
    font.setStyleStrategy(QFont::NoAntialias);
    for (const Primitive& s : primitives) {
        QPainter p(s.onWindow ? &view.window : &view.plane);
        switch (s.kind) {
        case Primitive::Kind::Rectangle:
            p.setPen(QPen(s.colour, s.width));
            p.setBrush(Qt::white);
            p.drawRect(s.rect.adjusted(0, 0, -1, -1));
            break;
        case Primitive::Kind::Line:
            p.setPen(QPen(s.colour, s.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawLine(s.a, s.b);
            break;
        case Primitive::Kind::Disc:
            p.setPen(Qt::NoPen);
            p.setBrush(s.colour);
            p.drawEllipse(QPointF(s.a), s.width / 2.0, s.width / 2.0);
            break;
        case Primitive::Kind::Text:
            p.fillRect(s.rect, QColor(0xC0, 0xDC, 0xC0));
            p.setClipRect(s.rect);
            p.setFont(font);
            p.setPen(s.colour);
            p.drawText(s.rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, s.text);
            break;
        }
    }
    view.update(kPlaneRect);
    view.update(kStripRect);
}

void FloorRepaint(PlainView& view)
{
    view.plane.fill(Qt::white);
    view.update(kPlaneRect);
}

void ReportAllocations(benchmark::State& state, const heapcount::Counts& total)
{
    state.counters["heap_blocks"] = benchmark::Counter(static_cast<double>(total.blocks), benchmark::Counter::kAvgIterations);
    state.counters["op_new"] = benchmark::Counter(static_cast<double>(total.news), benchmark::Counter::kAvgIterations);
}

bool Ready(benchmark::State& state, const Scene& scene)
{
    const std::string fault = scene.Fault();
    if (fault.empty())
        return true;
    state.SkipWithError(("the window is not in its worst-case state: " + fault).c_str());
    return false;
}

// ---------------------------------------------------------------- repaint

// The floor, shown `frames` times an iteration.
void Floors(benchmark::State& state, int frames)
{
    PlainView view;
    for (auto _ : state) {
        for (int k = 0; k < frames; ++k) {
            FloorRepaint(view);
            Show();
        }
    }
    state.counters["paints"] = benchmark::Counter(view.paints, benchmark::Counter::kAvgIterations);
}

// The plain drawing of each frame in turn, each shown before the next.
void PlainFrames(benchmark::State& state, const std::vector<std::vector<Primitive>>& frames)
{
    PlainView view;
    for (auto _ : state) {
        for (const std::vector<Primitive>& frame : frames) {
            DrawPlain(frame, view);
            Show();
        }
    }
    state.counters["paints"] = benchmark::Counter(view.paints, benchmark::Counter::kAvgIterations);
}

void Floor(benchmark::State& state) { Floors(state, 1); }

void Reference(benchmark::State& state, Activity activity, Conic conic)
{
    Scene scene(activity, conic);
    if (!Ready(state, scene))
        return;
    const std::vector<std::vector<Primitive>> frames{scene.Primitives()};
    scene.Form().Hide();
    PlainFrames(state, frames);
    state.counters["primitives"] = static_cast<double>(frames.front().size());
}

// Runs the benchmark's loop over body and adds up the heap allocations of
// every iteration.
template <class Body>
heapcount::Counts CountedLoop(benchmark::State& state, Body body)
{
    heapcount::Counts total;
    for (auto _ : state) {
        heapcount::Scope count;
        body();
        const heapcount::Counts c = count.Stop();
        total.blocks += c.blocks;
        total.news += c.news;
    }
    return total;
}

// From the paint handler's call until the plane and the texts are on the
// window's widgets.
void Repaint(benchmark::State& state, Activity activity, Conic conic)
{
    Scene scene(activity, conic);
    if (!Ready(state, scene))
        return;
    activities::ActivityForm& form = scene.Form();
    const heapcount::Counts total = CountedLoop(state, [&] {
        form.PaintBox1Paint(nullptr);
        Show();
    });
    if (!Ready(state, scene))
        return;
    ReportAllocations(state, total);
    state.counters["plane_paints"] = benchmark::Counter(scene.PlanePaints(), benchmark::Counter::kAvgIterations);
    state.counters["window_paints"] = benchmark::Counter(scene.WindowPaints(), benchmark::Counter::kAvgIterations);
}

// The drawing alone, into the retained images, without showing them.
void Draw(benchmark::State& state, Activity activity, Conic conic)
{
    Scene scene(activity, conic);
    if (!Ready(state, scene))
        return;
    activities::ActivityForm& form = scene.Form();
    const heapcount::Counts total = CountedLoop(state, [&] {
        form.PaintBox1Paint(nullptr);
        form.PaintBox1->GetCanvas().Flush();
        form.GetCanvas().Flush();
    });
    ReportAllocations(state, total);
    Show();
}

// One curve drawing, in the middle of a repaint as the graph button's
// repaint reaches it.
void Curve(benchmark::State& state, Activity activity, Conic conic)
{
    Scene scene(activity, conic);
    if (!Ready(state, scene))
        return;
    scene.Form().PaintBox1Paint(nullptr);
    const heapcount::Counts total = CountedLoop(state, [&] {
        scene.DrawCurve();
    });
    ReportAllocations(state, total);
    Show();
}

// ---------------------------------------------------------------- zoom drag

void FloorZoomDrag(benchmark::State& state) { Floors(state, kZoomPositions); }

void ReferenceZoomDrag(benchmark::State& state, Activity activity, Conic conic)
{
    Scene scene(activity, conic);
    if (!Ready(state, scene))
        return;
    std::vector<std::vector<Primitive>> frames;
    for (int position = 0; position < kZoomPositions; ++position) {
        scene.Form().Plane.SetZoom(position);
        frames.push_back(scene.Primitives());
    }
    scene.Form().Hide();
    PlainFrames(state, frames);
}

// The thumb dragged from one end of the zoom bar to the other: every
// notification repaints and the event loop shows it before the next one.
void ZoomDrag(benchmark::State& state, Activity activity, Conic conic)
{
    Scene scene(activity, conic);
    if (!Ready(state, scene))
        return;
    activities::ActivityForm& form = scene.Form();
    const heapcount::Counts total = CountedLoop(state, [&] {
        for (int position = 0; position < kZoomPositions; ++position) {
            int p = position;
            form.ScrollBar1Scroll(nullptr, tk::ScrollCode::Track, p);
            Show();
        }
    });
    ReportAllocations(state, total);
    state.counters["plane_paints"] = benchmark::Counter(scene.PlanePaints(), benchmark::Counter::kAvgIterations);
}

// ---------------------------------------------------------------- ratios

// Passes everything to the console and keeps the times of every repetition
// for the table of ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& r : runs) {
            if (r.run_type == Run::RT_Iteration && !r.error_occurred) {
                Samples& s = samples_[r.benchmark_name()];
                s.real.push_back(r.GetAdjustedRealTime());
                s.cpu.push_back(r.GetAdjustedCPUTime());
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void PrintRatios() const
    {
        std::printf("\nMedians over repetitions (microseconds per repaint or per drag of %d notifications)\n"
                    "at device pixel ratio %.2f; ratios of medians to the baselines of the same run, wall\n"
                    "clock (CPU in brackets).\n\n",
                    kZoomPositions, qApp->devicePixelRatio());
        std::printf("%-37s %25s %10s %16s %16s\n", "case", "median [min..max]", "cpu", "x floor", "x reference");
        for (const char* kind : {"repaint", "zoom_drag"}) {
            const std::string floorName = std::string("floor/") + kind;
            for (const auto& [name, s] : samples_) {
                if (name.rfind(std::string(kind) + "/", 0) != 0)
                    continue;
                const std::string refName = "reference/" + name;
                std::printf("%-37s %8.0f [%6.0f..%6.0f] %10.0f %s %s\n", name.c_str(), Median(s.real), Min(s.real),
                            Max(s.real), Median(s.cpu), Ratio(s, floorName).c_str(), Ratio(s, refName).c_str());
            }
            for (const std::string& base : {floorName, std::string("reference/") + kind + "/"}) {
                for (const auto& [name, s] : samples_) {
                    if (name.rfind(base, 0) == 0)
                        std::printf("%-37s %8.0f [%6.0f..%6.0f] %10.0f\n", name.c_str(), Median(s.real),
                                    Min(s.real), Max(s.real), Median(s.cpu));
                }
            }
            std::printf("\n");
        }
    }

private:
    struct Samples {
        std::vector<double> real, cpu;
    };

    static double Median(std::vector<double> v)
    {
        std::sort(v.begin(), v.end());
        const std::size_t n = v.size();
        return n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
    }
    static double Min(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }
    static double Max(const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); }

    std::string Ratio(const Samples& s, const std::string& base) const
    {
        const auto it = samples_.find(base);
        if (it == samples_.end())
            return std::string(16, ' ');
        char text[64];
        std::snprintf(text, sizeof text, "%7.2f (%5.2f)", Median(s.real) / Median(it->second.real),
                      Median(s.cpu) / Median(it->second.cpu));
        return std::string(16 - std::min<std::size_t>(16, std::string(text).size()), ' ') + text;
    }

    std::map<std::string, Samples> samples_;
};

void RegisterAll()
{
    const auto add = [](const std::string& name, auto fn) {
        benchmark::RegisterBenchmark(name.c_str(), fn)->Unit(benchmark::kMicrosecond);
    };
    add("floor/repaint", Floor);
    add("floor/zoom_drag", FloorZoomDrag);
    for (Activity a : {Activity::Junsen, Activity::Syoten}) {
        for (Conic c : {Conic::Hyperbola, Conic::Ellipse}) {
            const std::string n = bench::Name(a, c);
            add("repaint/" + n, [a, c](benchmark::State& s) { Repaint(s, a, c); });
            add("reference/repaint/" + n, [a, c](benchmark::State& s) { Reference(s, a, c); });
            add("zoom_drag/" + n, [a, c](benchmark::State& s) { ZoomDrag(s, a, c); });
            add("reference/zoom_drag/" + n, [a, c](benchmark::State& s) { ReferenceZoomDrag(s, a, c); });
            add("draw_only/" + n, [a, c](benchmark::State& s) { Draw(s, a, c); });
            add("curve_only/" + n, [a, c](benchmark::State& s) { Curve(s, a, c); });
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // Measured at the design's own size, not fitted to the offscreen screen.
    tk::Application application(argc, argv, 1.0);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RegisterAll();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
