// The default import: a 17 x 16 net of the best type of the map's family, fitted to the map of
// a lumpy sphere and of a height-field sheet. The editor runs it while the cursor is busy; it
// must stay within 2 s.
#include "MapFit.h"
#include "MapSide.h"
#include "SPMesh.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

uint32_t pixelOf(double x, double y, double z) {
    auto c = [](double v) { return static_cast<uint32_t>(v * 255.0 + 0.5); };
    return c(x) | c(y) << 8 | c(z) << 16;
}

std::vector<uint32_t> makeMap(bool sphere) {
    std::vector<uint32_t> map(tesk::kMapPixels);
    for (int r = 0; r < tesk::kMapSide; ++r) {
        for (int c = 0; c < tesk::kMapSide; ++c) {
            const double u = c / 63.0;
            const double v = r / 63.0;
            const double lump = 0.9 + 0.1 * std::sin(6.0 * u) * std::sin(5.0 * v);
            map[static_cast<size_t>(r * tesk::kMapSide + c)] =
                sphere ? pixelOf(0.5 + 0.5 * lump * std::sin(M_PI * v) * std::cos(2 * M_PI * u),
                                 0.5 + 0.5 * lump * std::sin(M_PI * v) * std::sin(2 * M_PI * u),
                                 0.5 + 0.5 * std::cos(M_PI * v))
                       : pixelOf(u, v, 0.5 + 0.4 * std::sin(3 * u) * std::cos(4 * v));
        }
    }
    return map;
}

void BM_DefaultImport(benchmark::State& state) {
    const std::vector<uint32_t> map = makeMap(state.range(0) == 0);
    for (auto _ : state) {
        tesk::SPMesh mesh;
        const tesk::MapFitResult result = tesk::FitSculptMap(map.data(), {}, mesh);
        benchmark::DoNotOptimize(result.error);
        state.counters["mean"] = result.meanError();
    }
}
BENCHMARK(BM_DefaultImport)->ArgName("sheet")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
