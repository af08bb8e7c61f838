// One slider step's worth of work: the document's whole rebuild (surface, map, effects,
// preview mesh) without a window.

#include "Ctesk001Doc.h"
#include "DocumentPreview.h"
#include "EffectRecord.h"
#include "GLScene.h"
#include "Messages.h"
#include "ProjectFile.h"

#include <benchmark/benchmark.h>
#include <cmath>

using namespace tesk;

namespace {

void makeShape(SPMesh& mesh, int points, int lines) {
    mesh.reset(points, lines);
    for (int i = 0; i < lines; ++i) {
        const float theta = 3.14159265f * static_cast<float>(i) / static_cast<float>(lines - 1);
        for (int j = 0; j < points; ++j) {
            const float phi = 6.2831853f * static_cast<float>(j) / static_cast<float>(points);
            mesh.setPoint(j, i,
                          {std::sin(theta) * std::cos(phi), std::sin(theta) * std::sin(phi),
                           std::cos(theta)});
        }
    }
}

std::unique_ptr<EffectRecord> makeEffect(int type) {
    auto effect = std::make_unique<EffectRecord>();
    effect->allocate(kMapSide, kMapSide);
    for (size_t i = 0; i < effect->pixels.size(); ++i) {
        effect->pixels[i] = static_cast<uint32_t>((i * 2654435761u) >> 8) & 0xFFFFFFu;
    }
    effect->setTypeCode(type);
    return effect;
}

void BM_Rebuild(benchmark::State& state) {
    RecordingMessages messages;
    GLScene scene;
    Ctesk001Doc doc(messages, "/");
    DocumentPreview preview(doc, scene);
    SPMesh shape;
    makeShape(shape, 16, 17);
    std::vector<uint8_t> image;
    saveProjectImage(shape, image);
    doc.loadProject("bench.tsk", &image);
    doc.setType(static_cast<int32_t>(state.range(0)));
    for (int e = 0; e < state.range(1); ++e) {
        doc.addEffect(makeEffect(e == 0   ? EFFECT_NORMAL
                                 : e == 1 ? EFFECT_CENTROID
                                          : EFFECT_COMPOSITE));
    }
    int step = 0;
    for (auto _ : state) {
        // A slider step moves a working point (point 3 of line 5), then rebuilds.
        const CellPoint moved{4 * 16 + 3,
                              {0.5f + 0.001f * static_cast<float>(step++ % 100), 0.2f, 0.1f}};
        benchmark::DoNotOptimize(doc.setWorkPoints({&moved, 1}));
    }
}

} // namespace

BENCHMARK(BM_Rebuild)
    ->ArgNames({"type", "effects"})
    ->Args({DIM_POLES_LINEAR, 0})
    ->Args({DIM_POLES_LINEAR, 1})
    ->Args({DIM_POLES_BSPLINE, 1})
    ->Args({DIM_POLES_BSPLINE, 3})
    ->Args({DIM_SHEET_BSPLINE, 3})
    ->Unit(benchmark::kMicrosecond);
