// The worst pictures for decoding: small files that claim 16384 x 16384 (interlaced 16-bit
// RGBA and 1-bit grey PNGs, a 16-bit PNG without interlacing, a run-length Targa) and a large
// baseline JPEG, a PNG of hundreds of compressed text chunks and a JPEG of the most scans
// allowed, each loaded as an effect picture; the interlaced PNG also loaded whole, which
// the memory budget refuses; and the largest picture the budget lets through whole. Each reports
// the time of a load and, as peak_MiB, the largest resident size of a child process that does
// one load; a peak above 256 MiB fails the benchmark.
#include "EffectPicture.h"
#include "FileIO.h"
#include "JpegWriter.h"
#include "ManyScanJpeg.h"
#include "Messages.h"
#include "PictureBombs.h"
#include "PictureFile.h"

#include <benchmark/benchmark.h>
#include <cstdio>

#include <filesystem>
#include <map>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace tesk;

namespace {

constexpr uint32_t kHuge = 16384;
constexpr double kPeakLimitMiB = 256.0;

void writeOrDie(const std::string& path, const std::vector<uint8_t>& bytes) {
    if (!writeFileAtomically(path, bytes.data(), bytes.size())) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::exit(1);
    }
}

/// A baseline JPEG of gentle diagonal bands.
void writeBandedJpeg(const std::string& path, uint32_t side) {
    bench::writeJpeg(path, side, side, [side](uint32_t y, uint8_t* rgb) {
        for (uint32_t x = 0; x < side; ++x, rgb += 3) {
            const auto v = static_cast<uint8_t>((x + y) / 64);
            rgb[0] = v;
            rgb[1] = static_cast<uint8_t>(255 - v);
            rgb[2] = 128;
        }
    });
}

/// The pictures, written into a temporary folder on first use and removed at the end.
class Bombs {
public:
    Bombs() {
        char pattern[] = "/tmp/tesk-bombs-XXXXXX";
        m_dir = ::mkdtemp(pattern);
        writeOrDie(path("rgba16_interlaced.png"), testing::zeroPng(kHuge, kHuge, 16, 6, true));
        writeOrDie(path("grey1_interlaced.png"), testing::zeroPng(kHuge, kHuge, 1, 0, true));
        writeOrDie(path("rgba16.png"), testing::zeroPng(kHuge, kHuge, 16, 6, false));
        writeOrDie(path("rle.tga"), testing::rleTga(kHuge, kHuge));
        // 7920 x 7920 pixels take 239.3 MiB, just within the budget.
        writeOrDie(path("largest_whole.png"), testing::zeroPng(7920, 7920, 1, 0, true));
        writeBandedJpeg(path("big.jpg"), kHuge);
        // 300 text chunks of nearly 8 MiB each once inflated, which the decoder skips.
        writeOrDie(path("texts.png"),
                   testing::rampPng(96, 96, false,
                                    testing::compressedTexts(300, (uint64_t{8} << 20) - 1024)));
        // As many scans as a JPEG may have.
        writeOrDie(path("most_scans.jpg"), testing::manyScanJpeg(2048, 2048, kMaxJpegScans));
    }
    ~Bombs() { std::filesystem::remove_all(m_dir); }
    Bombs(const Bombs&) = delete;
    Bombs& operator=(const Bombs&) = delete;

    std::string path(const char* name) const { return m_dir + "/" + name; }

private:
    std::string m_dir;
};

const Bombs& bombs() {
    static const Bombs files;
    return files;
}

/// 1 when loaded, -1 refused, 0 out of memory; `side` is the picture's width after the load.
int load(const std::string& path, bool asEffect, int& side) {
    RecordingMessages messages;
    ImageBuffer image;
    const int result =
        asEffect ? loadEffectPicture(image, path, messages) : LoadImageFile(image, path, messages);
    side = image.width;
    return result;
}

/// The peak resident size, in MiB, of a child process that loads the picture once.
double peakMiBOfOneLoad(const std::string& path, bool asEffect) {
    static std::map<std::pair<std::string, bool>, double> measured;
    const auto key = std::make_pair(path, asEffect);
    if (const auto found = measured.find(key); found != measured.end()) {
        return found->second;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        int side = 0;
        ::_exit(load(path, asEffect, side) >= 0 ? 0 : 1);
    }
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    return measured[key] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void loadPicture(benchmark::State& state, const char* name, bool asEffect, int expectedSide) {
    const std::string path = bombs().path(name);
    for (auto _ : state) {
        int side = 0;
        const int result = load(path, asEffect, side);
        if ((expectedSide > 0 && (result != 1 || side != expectedSide)) ||
            (expectedSide == 0 && result != -1)) {
            state.SkipWithError("unexpected result");
            return;
        }
    }
    const double peak = peakMiBOfOneLoad(path, asEffect);
    state.counters["peak_MiB"] = peak;
    if (peak > kPeakLimitMiB) {
        state.SkipWithError("peak memory above 256 MiB");
    }
}

void EffectFromInterlacedRgba16Png16384(benchmark::State& state) {
    loadPicture(state, "rgba16_interlaced.png", true, 64);
}
BENCHMARK(EffectFromInterlacedRgba16Png16384)->Unit(benchmark::kMillisecond)->Iterations(1);

void EffectFromInterlacedGrey1Png16384(benchmark::State& state) {
    loadPicture(state, "grey1_interlaced.png", true, 64);
}
BENCHMARK(EffectFromInterlacedGrey1Png16384)->Unit(benchmark::kMillisecond)->Iterations(1);

void EffectFromRgba16Png16384(benchmark::State& state) {
    loadPicture(state, "rgba16.png", true, 64);
}
BENCHMARK(EffectFromRgba16Png16384)->Unit(benchmark::kMillisecond)->Iterations(1);

void EffectFromRleTga16384(benchmark::State& state) {
    loadPicture(state, "rle.tga", true, 64);
}
BENCHMARK(EffectFromRleTga16384)->Unit(benchmark::kMillisecond);

void EffectFromJpeg16384(benchmark::State& state) {
    loadPicture(state, "big.jpg", true, 64);
}
BENCHMARK(EffectFromJpeg16384)->Unit(benchmark::kMillisecond);

void EffectFromPngWithTextChunks(benchmark::State& state) {
    loadPicture(state, "texts.png", true, 64);
}
BENCHMARK(EffectFromPngWithTextChunks)->Unit(benchmark::kMillisecond);

void EffectFromJpegOfMostScans2048(benchmark::State& state) {
    loadPicture(state, "most_scans.jpg", true, 64);
}
BENCHMARK(EffectFromJpegOfMostScans2048)->Unit(benchmark::kMillisecond);

/// The whole 16384 x 16384 picture would take 1 GiB: refused before anything big is allocated.
void WholeInterlacedGrey1Png16384Refused(benchmark::State& state) {
    loadPicture(state, "grey1_interlaced.png", false, 0);
}
BENCHMARK(WholeInterlacedGrey1Png16384Refused)->Unit(benchmark::kMillisecond);

void WholeLargestAcceptedPng(benchmark::State& state) {
    loadPicture(state, "largest_whole.png", false, 7920);
}
BENCHMARK(WholeLargestAcceptedPng)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
