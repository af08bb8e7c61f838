// One slider step's worth of work without a window: the document's whole rebuild (surface,
// map, effects, preview mesh), alone, behind the transform panel's apply step, and against the
// plain-loop floor of the same arithmetic timed in the same run.

#include "BenchShapes.h"
#include "Ctesk001Doc.h"
#include "DocumentPreview.h"
#include "GLScene.h"
#include "Messages.h"
#include "RebuildFloor.h"
#include "TransformControl.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>

using namespace tesk;

namespace {

/// A slider step's edit: point 3 of line 5 moves a little further each time.
CellPoint movedPoint(int step) {
    return {4 * 16 + 3, {0.5f + 0.001f * static_cast<float>(step % 100), 0.2f, 0.1f}};
}

void BM_Rebuild(benchmark::State& state) {
    RecordingMessages messages;
    GLScene scene;
    Ctesk001Doc doc(messages, "/");
    DocumentPreview preview(doc, scene);
    bench::loadLargestShape(doc, static_cast<int32_t>(state.range(0)), state.range(1));
    int step = 0;
    for (auto _ : state) {
        const CellPoint moved = movedPoint(step++);
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

// The whole rebuild of the largest shape with B-splines and three effects (one of each kind)
// against the floor, alternating batches of each so that both see the same machine; the best
// batch of each counts, as the least disturbed. Goal: ratio 0.6 or less.
void BM_RebuildAgainstFloor(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    constexpr int kBatch = 50;
    RecordingMessages messages;
    GLScene scene;
    Ctesk001Doc doc(messages, "/");
    DocumentPreview preview(doc, scene);
    bench::loadLargestShape(doc, DIM_POLES_BSPLINE, 3);
    bench::RebuildFloor floor;
    int step = 0;
    double bestRebuild = 1e30;
    double bestFloor = 1e30;
    const auto batch = [](auto&& work) {
        const auto start = Clock::now();
        for (int i = 0; i < kBatch; ++i) {
            work();
        }
        return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / kBatch;
    };
    for (auto _ : state) {
        bestRebuild = std::min(bestRebuild, batch([&] {
                                   const CellPoint moved = movedPoint(step++);
                                   benchmark::DoNotOptimize(doc.setWorkPoints({&moved, 1}));
                               }));
        bestFloor = std::min(bestFloor, batch([&] { benchmark::DoNotOptimize(floor.run()); }));
    }
    state.counters["rebuild_us"] = bestRebuild;
    state.counters["floor_us"] = bestFloor;
    state.counters["ratio"] = bestRebuild / bestFloor;
}

BENCHMARK(BM_RebuildAgainstFloor)->Unit(benchmark::kMillisecond)->MinTime(2.0);

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
