// Project image save to memory and load from memory, the work behind every confirm, undo and
// redo. Budget: 20 us each.
#include "ProjectFile.h"
#include "SPMesh.h"

#include <benchmark/benchmark.h>

using namespace tesk;

namespace {
/// The default shape (state 0) or the largest editable one, 17 lines x 16 points (state 1).
void makeShape(SPMesh& mesh, int64_t which) {
    mesh.makeDefault();
    if (which == 0) {
        return;
    }
    while (mesh.lineCount() < kMaxEditLines) {
        mesh.insertLine(mesh.lineCount() / 2);
    }
    while (mesh.pointsPerLine() < kMaxEditPoints) {
        mesh.insertColumn(mesh.pointsPerLine() - 1);
    }
}

void BM_SaveToMemory(benchmark::State& state) {
    SPMesh mesh;
    makeShape(mesh, state.range(0));
    std::vector<uint8_t> image;
    for (auto _ : state) {
        saveProjectImage(mesh, image);
        benchmark::DoNotOptimize(image.data());
    }
    state.counters["bytes"] = static_cast<double>(image.size());
}

void BM_LoadFromMemory(benchmark::State& state) {
    SPMesh source;
    makeShape(source, state.range(0));
    std::vector<uint8_t> image;
    saveProjectImage(source, image);
    SPMesh mesh;
    for (auto _ : state) {
        if (readProjectImage(image, mesh) != ProjectReadStatus::Ok) {
            state.SkipWithError("image refused");
            break;
        }
        benchmark::DoNotOptimize(mesh.lines.data());
    }
    state.counters["bytes"] = static_cast<double>(image.size());
}
} // namespace

BENCHMARK(BM_SaveToMemory)->Arg(0)->Arg(1);
BENCHMARK(BM_LoadFromMemory)->Arg(0)->Arg(1);
