// A full repaint of the plane in the heaviest state the windows reach: the
// widest zoom (146 grid lines) and a full afterimage store.

#include "activities/syoten_form.h"
#include "toolkit/application.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

void BM_PlaneRepaintWidestZoomFullStore(benchmark::State& state)
{
    activities::TSyoten_Form form;
    form.Show();
    form.ClsButtonClick(nullptr);
    QApplication::processEvents();
    form.ScrollBar1->SetPosition(0);
    form.Syokika(nullptr);
    plane::Plane& p = form.Plane;
    for (int k = 0; k < plane::Plane::kMaxAfterimages; ++k) {
        p.PointP() = {static_cast<float>(k % 37) - 18.0f, static_cast<float>(k / 37) - 13.0f};
        p.ZanzoKioku();
    }
    for (auto _ : state) {
        form.PaintBox1Paint(nullptr);
        // Until the pixels are in the image the widget shows.
        form.PaintBox1->GetCanvas().Flush();
    }
    state.counters["GridUnit"] = p.GridUnit;
    state.counters["afterimages"] = p.AfterimageCount;
}
BENCHMARK(BM_PlaneRepaintWidestZoomFullStore)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    tk::Application application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
