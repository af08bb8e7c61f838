// BuildSurface with the encoder, per shape type, for a 4 x 4, an 8 x 9 and a 16 x 17 shape
// (points per line x lines). The largest is the largest shape the editor can make.
#include "Messages.h"
#include "SPMesh.h"
#include "SurfaceBuilder.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

using tesk::Point3;

struct ShapeSize {
    int points;
    int lines;
};
constexpr ShapeSize kSizes[] = {{4, 4}, {8, 9}, {16, 17}};

// A lumpy sphere, so the key picks and searches see unequal values.
void makeShape(tesk::SPMesh& mesh, ShapeSize size) {
    mesh.reset(size.points, size.lines);
    for (int i = 0; i < size.lines; ++i) {
        const float theta =
            3.14159265f * static_cast<float>(i) / static_cast<float>(size.lines - 1);
        for (int j = 0; j < size.points; ++j) {
            const float phi = 6.2831853f * static_cast<float>(j) / static_cast<float>(size.points);
            const float r = 1.0f + 0.2f * std::sin(3.0f * phi + static_cast<float>(i));
            mesh.setPoint(j, i,
                          Point3{r * std::sin(theta) * std::cos(phi),
                                 r * std::sin(theta) * std::sin(phi), std::cos(theta)});
        }
    }
}

void BM_BuildSurface(benchmark::State& state) {
    const int32_t type = static_cast<int32_t>(state.range(0));
    const ShapeSize size = kSizes[state.range(1)];
    tesk::SPMesh mesh;
    makeShape(mesh, size);
    tesk::RecordingMessages messages;
    for (auto _ : state) {
        benchmark::DoNotOptimize(tesk::BuildSurface(mesh, type, messages));
        benchmark::DoNotOptimize(mesh.map.data());
    }
    state.SetLabel(std::to_string(size.points) + "x" + std::to_string(size.lines));
    if (!messages.texts.empty()) {
        state.SkipWithError("the build reported a message");
    }
}

BENCHMARK(BM_BuildSurface)
    ->ArgNames({"type", "shape"})
    ->ArgsProduct({{0, 1, 51, 52, 53, 54, 100, 152, 154}, {0, 1, 2}})
    ->Unit(benchmark::kMicrosecond);

} // namespace
