// Decoding the 64 x 64 sculpt map into the preview mesh (positions, normals, indices), the
// scene's share of every rebuild. Budget: 150 us.
#include "GLMesh.h"
#include "GLScene.h"
#include "ImageBuffer.h"

#include <benchmark/benchmark.h>
#include <cmath>

using namespace tesk;

namespace {

/// A sphere-like map: every vertex distinct, so no face is degenerate and every normal counts.
void fillSphereMap(ImageBuffer& image) {
    image.allocate(64, 64);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const double u = 2.0 * 3.14159265358979 * x / 64.0;
            const double v = 3.14159265358979 * (y + 0.5) / 64.0;
            const auto code = [](double c) { return static_cast<uint32_t>(127.5 + 127.0 * c); };
            image.pixels[static_cast<size_t>(y * 64 + x)] = code(std::sin(v) * std::cos(u)) |
                                                            (code(std::sin(v) * std::sin(u)) << 8) |
                                                            (code(std::cos(v)) << 16);
        }
    }
}

// The document's rebuild: a fresh mesh decoded from the 64 x 64 map each time.
void BM_BuildFromSculptMapFresh(benchmark::State& state) {
    ImageBuffer image;
    fillSphereMap(image);
    for (auto _ : state) {
        GLMesh mesh;
        mesh.stitchType = STITCH_SPHERE;
        benchmark::DoNotOptimize(mesh.BuildFromSculptMap(image, 64));
        benchmark::DoNotOptimize(mesh.normals.data());
    }
}
BENCHMARK(BM_BuildFromSculptMapFresh)->Unit(benchmark::kMicrosecond);

// The same mesh rebuilt: its buffers are reused.
void BM_BuildFromSculptMapReused(benchmark::State& state) {
    ImageBuffer image;
    fillSphereMap(image);
    GLMesh mesh;
    mesh.stitchType = STITCH_SPHERE;
    for (auto _ : state) {
        benchmark::DoNotOptimize(mesh.BuildFromSculptMap(image, 64));
        benchmark::DoNotOptimize(mesh.normals.data());
    }
}
BENCHMARK(BM_BuildFromSculptMapReused)->Unit(benchmark::kMicrosecond);

// The document's rebuild step through the scene: remove the old mesh, create and build the
// new one (which takes over the old one's arrays).
void BM_ReplacePreviewMesh(benchmark::State& state) {
    ImageBuffer image;
    fillSphereMap(image);
    GLScene scene;
    int id = scene.createMesh();
    for (auto _ : state) {
        scene.removeObject(id);
        id = scene.createMesh();
        GLMesh& mesh = *scene.findObject(id);
        mesh.stitchType = STITCH_SPHERE;
        benchmark::DoNotOptimize(mesh.BuildFromSculptMap(image, 64));
        benchmark::DoNotOptimize(mesh.normals.data());
    }
}
BENCHMARK(BM_ReplacePreviewMesh)->Unit(benchmark::kMicrosecond);

} // namespace
