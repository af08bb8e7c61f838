// One slider step's worth of work without a window: the document's whole rebuild (surface,
// map, effects, preview mesh), alone and behind the transform panel's apply step.

#include "BenchShapes.h"
#include "Ctesk001Doc.h"
#include "DocumentPreview.h"
#include "GLScene.h"
#include "Messages.h"
#include "TransformControl.h"

#include <benchmark/benchmark.h>

using namespace tesk;

namespace {

void BM_Rebuild(benchmark::State& state) {
    RecordingMessages messages;
    GLScene scene;
    Ctesk001Doc doc(messages, "/");
    DocumentPreview preview(doc, scene);
    bench::loadLargestShape(doc, static_cast<int32_t>(state.range(0)), state.range(1));
    int step = 0;
    for (auto _ : state) {
        // A slider step moves a working point (point 3 of line 5), then rebuilds.
        const CellPoint moved{4 * 16 + 3,
                              {0.5f + 0.001f * static_cast<float>(step++ % 100), 0.2f, 0.1f}};
        benchmark::DoNotOptimize(doc.setWorkPoints({&moved, 1}));
    }
}

BENCHMARK(BM_Rebuild)
    ->ArgNames({"type", "effects"})
    ->Args({DIM_POLES_LINEAR, 0})
    ->Args({DIM_POLES_LINEAR, 1})
    ->Args({DIM_POLES_BSPLINE, 1})
    ->Args({DIM_POLES_BSPLINE, 3})
    ->Args({DIM_SHEET_BSPLINE, 3})
    ->Unit(benchmark::kMicrosecond);

// A live rotate step with every editable point selected: the stages' matrices, every selected
// committed point transformed and written, then the whole rebuild. Budget: 400 us.
void BM_SliderStep(benchmark::State& state) {
    RecordingMessages messages;
    GLScene scene;
    Ctesk001Doc doc(messages, "/");
    DocumentPreview preview(doc, scene);
    bench::loadLargestShape(doc, static_cast<int32_t>(state.range(0)), state.range(1));
    doc.setHandles(std::vector<uint32_t>(doc.handleCount(), CELL_SELECTED));
    TransformControl control(doc);
    control.sliderChanged(SLIDER_SCALE_ALL, 20, SliderPhase::Release);
    int step = 0;
    for (auto _ : state) {
        control.sliderChanged(SLIDER_ROTATE_Y, step++ % 360 - 180, SliderPhase::Track);
        benchmark::DoNotOptimize(doc.mesh().map.data());
    }
    state.counters["points"] = static_cast<double>(doc.handleCount());
}

BENCHMARK(BM_SliderStep)
    ->ArgNames({"type", "effects"})
    ->Args({DIM_POLES_LINEAR, 0})
    ->Args({DIM_POLES_BSPLINE, 1})
    ->Args({DIM_POLES_BSPLINE, 3})
    ->Args({DIM_SHEET_BSPLINE, 3})
    ->Unit(benchmark::kMicrosecond);

} // namespace
