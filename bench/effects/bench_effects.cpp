// The effect stage with one effect of each type, resampling a 4096 x 4096 picture to 64 x 64,
// and loading a 4096 x 4096 JPEG and PNG as an effect picture. The files are written into a
// temporary folder on first use and removed when the program ends. The PNG comes twice: a
// photograph-like picture with fine noise, the hardest case for inflating, and a smooth height
// map as effect pictures usually are.
#include "EffectPicture.h"
#include "EffectStage.h"
#include "JpegWriter.h"
#include "Messages.h"
#include "PictureFile.h"
#include "Resample.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

using namespace tesk;

namespace {

constexpr int kBig = 4096;

/// A photograph-like picture: smooth shading with fine noise, so the codecs work as usual.
std::vector<uint8_t> bigRgb() {
    std::vector<uint8_t> rgb(size_t{kBig} * kBig * 3);
    uint32_t seed = 12345;
    for (int y = 0; y < kBig; ++y) {
        for (int x = 0; x < kBig; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int noise = static_cast<int>(seed >> 28) - 8;
            const double shade = 0.5 + 0.5 * std::sin(x * 0.003) * std::cos(y * 0.002);
            uint8_t* p =
                rgb.data() + (size_t{static_cast<size_t>(y)} * kBig + static_cast<size_t>(x)) * 3;
            p[0] = static_cast<uint8_t>(std::clamp(static_cast<int>(shade * 220) + noise, 0, 255));
            p[1] = static_cast<uint8_t>(std::clamp(x / 20 + noise, 0, 255));
            p[2] = static_cast<uint8_t>(std::clamp(y / 20 - noise, 0, 255));
        }
    }
    return rgb;
}

/// A smooth grey height map: overlapping waves, no pixel noise.
std::vector<uint8_t> smoothRgb() {
    std::vector<uint8_t> rgb(size_t{kBig} * kBig * 3);
    for (int y = 0; y < kBig; ++y) {
        for (int x = 0; x < kBig; ++x) {
            const double h = std::sin(x * 0.0031) * std::cos(y * 0.0047) +
                             0.5 * std::sin((x + 2 * y) * 0.011) + 0.25 * std::cos(x * 0.023);
            const auto v = static_cast<uint8_t>(std::clamp(127.5 + 72.0 * h, 0.0, 255.0));
            uint8_t* p = rgb.data() + (static_cast<size_t>(y) * kBig + static_cast<size_t>(x)) * 3;
            p[0] = p[1] = p[2] = v;
        }
    }
    return rgb;
}

void writeJpeg(const std::string& path, const std::vector<uint8_t>& rgb) {
    bench::writeJpeg(path, kBig, kBig, [&rgb](uint32_t y, uint8_t* row) {
        std::copy_n(rgb.data() + size_t{y} * kBig * 3, size_t{kBig} * 3, row);
    });
}

void writePng(const std::string& path, const std::vector<uint8_t>& rgb) {
    FILE* file = std::fopen(path.c_str(), "wb");
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_set_IHDR(png, info, kBig, kBig, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < kBig; ++y) {
        png_write_row(png, rgb.data() + size_t{static_cast<size_t>(y)} * kBig * 3);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
}

/// The temporary folder with big.jpg and big.png, made on first use.
class BigPictures {
public:
    BigPictures() {
        char pattern[] = "/tmp/tesk-bench-XXXXXX";
        m_dir = ::mkdtemp(pattern);
        const std::vector<uint8_t> rgb = bigRgb();
        writeJpeg(jpeg(), rgb);
        writePng(png(), rgb);
        writePng(smoothPng(), smoothRgb());
    }
    ~BigPictures() { std::filesystem::remove_all(m_dir); }
    BigPictures(const BigPictures&) = delete;
    BigPictures& operator=(const BigPictures&) = delete;

    std::string jpeg() const { return m_dir + "/big.jpg"; }
    std::string png() const { return m_dir + "/big.png"; }
    std::string smoothPng() const { return m_dir + "/smooth.png"; }

private:
    std::string m_dir;
};

const BigPictures& bigPictures() {
    static const BigPictures pictures;
    return pictures;
}

std::unique_ptr<EffectRecord> effect(int type, int seed) {
    auto record = std::make_unique<EffectRecord>();
    record->allocate(64, 64);
    for (size_t k = 0; k < record->pixels.size(); ++k) {
        const auto v =
            static_cast<uint32_t>((k * 2654435761u + static_cast<size_t>(seed)) >> 7) & 0xFFu;
        record->pixels[k] = v | (255 - v) << 8 | ((v * 3) & 0xFFu) << 16;
    }
    record->setTypeCode(type);
    record->strength = 30;
    return record;
}

void EffectStageOneOfEachType(benchmark::State& state) {
    std::vector<uint32_t> built(4096);
    for (size_t k = 0; k < built.size(); ++k) {
        const double angle = 2.0 * 3.14159265358979 * static_cast<double>(k % 64) / 63.0;
        built[k] = static_cast<uint32_t>(127.5 + 120 * std::cos(angle)) |
                   static_cast<uint32_t>(127.5 + 120 * std::sin(angle)) << 8 |
                   static_cast<uint32_t>(k / 64 * 4) << 16;
    }
    EffectList list;
    list.append(effect(EFFECT_NORMAL, 1));
    list.append(effect(EFFECT_CENTROID, 2));
    list.append(effect(EFFECT_COMPOSITE, 3));
    std::vector<uint32_t> map(4096);
    for (auto _ : state) {
        map = built;
        ApplyEffects(map, list);
        benchmark::DoNotOptimize(map.data());
    }
}
BENCHMARK(EffectStageOneOfEachType)->Unit(benchmark::kMicrosecond);

void Resample4096To64(benchmark::State& state) {
    ImageBuffer source;
    source.allocate(kBig, kBig);
    for (size_t k = 0; k < source.pixels.size(); ++k) {
        source.pixels[k] = static_cast<uint32_t>(k * 2654435761u) & 0xFFFFFFu;
    }
    ImageBuffer image;
    for (auto _ : state) {
        state.PauseTiming();
        image.pixels = source.pixels;
        image.width = kBig;
        image.height = kBig;
        state.ResumeTiming();
        Resample(image, 64, 64);
        benchmark::DoNotOptimize(image.pixels.data());
    }
}
BENCHMARK(Resample4096To64)->Unit(benchmark::kMicrosecond);

void loadAsEffectPicture(benchmark::State& state, const std::string& path) {
    RecordingMessages messages;
    for (auto _ : state) {
        ImageBuffer image;
        if (loadEffectPicture(image, path, messages) != 1 || image.width != 64) {
            state.SkipWithError("picture not loaded");
            break;
        }
        benchmark::DoNotOptimize(image.pixels.data());
    }
}

void LoadAndResampleJpeg4096(benchmark::State& state) {
    loadAsEffectPicture(state, bigPictures().jpeg());
}
BENCHMARK(LoadAndResampleJpeg4096)->Unit(benchmark::kMillisecond);

void LoadAndResamplePng4096(benchmark::State& state) {
    loadAsEffectPicture(state, bigPictures().png());
}
BENCHMARK(LoadAndResamplePng4096)->Unit(benchmark::kMillisecond);

void LoadAndResampleSmoothPng4096(benchmark::State& state) {
    loadAsEffectPicture(state, bigPictures().smoothPng());
}
BENCHMARK(LoadAndResampleSmoothPng4096)->Unit(benchmark::kMillisecond);

/// For comparison: the JPEG decoded at full size, without the reduced decoding.
void LoadJpeg4096FullSize(benchmark::State& state) {
    RecordingMessages messages;
    for (auto _ : state) {
        ImageBuffer image;
        LoadImageFile(image, bigPictures().jpeg(), messages);
        benchmark::DoNotOptimize(image.pixels.data());
    }
}
BENCHMARK(LoadJpeg4096FullSize)->Unit(benchmark::kMillisecond);

} // namespace
