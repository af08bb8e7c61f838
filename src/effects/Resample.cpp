#include "Resample.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace tesk {

namespace {

constexpr int kTaps = 5; // source rows and columns floor(position) - 2 .. floor(position) + 2

/// Where one target row (or column) samples along its axis: the wrapped source indices and the
/// squared offsets of the five taps from the sampling position.
struct AxisTaps {
    std::array<size_t, kTaps> source;
    std::array<double, kTaps> offset2;
};

std::vector<AxisTaps> axisTaps(int sourceSize, int targetSize) {
    std::vector<AxisTaps> taps(static_cast<size_t>(targetSize));
    for (int t = 0; t < targetSize; ++t) {
        // The corner of the target pixel maps to the corner of the source: no half-pixel shift.
        const double position =
            static_cast<double>(sourceSize) * (static_cast<double>(t) / targetSize);
        const auto base = static_cast<long long>(std::floor(position));
        for (int k = 0; k < kTaps; ++k) {
            const long long index = base - 2 + k;
            const double d = static_cast<double>(index) - position;
            taps[static_cast<size_t>(t)].offset2[static_cast<size_t>(k)] = d * d;
            taps[static_cast<size_t>(t)].source[static_cast<size_t>(k)] =
                static_cast<size_t>(((index % sourceSize) + sourceSize) % sourceSize);
        }
    }
    return taps;
}

double cubicWeight(double d) {
    if (d <= 1.0) {
        return 1.0 - 2.0 * d * d + d * d * d;
    }
    if (d <= 2.0) {
        return 4.0 - 8.0 * d + 5.0 * d * d - d * d * d;
    }
    return 0.0; // beyond the filter: the tap is left out
}

// The weights are irrational, so a uniform picture's sums come out a few units in the last
// place below the whole value; truncating that would darken it by one step.
constexpr double kTruncationSlack = 1e-9;

uint32_t packChannel(double value, int shift) {
    const double clamped = std::clamp(value + kTruncationSlack, 0.0, 255.0);
    return static_cast<uint32_t>(clamped) << shift; // truncation toward zero
}

/// Computes every target pixel from the source rows the filter reads.
std::vector<uint32_t> resampleRows(const std::vector<const uint32_t*>& sourceRows,
                                   const std::vector<AxisTaps>& rows,
                                   const std::vector<AxisTaps>& columns) {
    std::vector<uint32_t> target(rows.size() * columns.size());
    std::array<double, kTaps * kTaps> weight{};
    double weightSum = 0.0;
    for (size_t i = 0; i < rows.size(); ++i) {
        const AxisTaps& row = rows[i];
        const AxisTaps* previous = nullptr;
        for (size_t j = 0; j < columns.size(); ++j) {
            const AxisTaps& column = columns[j];
            // The weights depend only on the offsets, which repeat for whole-number ratios.
            if (previous == nullptr || previous->offset2 != column.offset2) {
                weightSum = 0.0;
                for (size_t k = 0; k < kTaps; ++k) {
                    for (size_t l = 0; l < kTaps; ++l) {
                        const double w = cubicWeight(std::sqrt(row.offset2[k] + column.offset2[l]));
                        weight[k * kTaps + l] = w;
                        weightSum += w;
                    }
                }
            }
            previous = &column;

            std::array<double, 4> sum{};
            for (size_t k = 0; k < kTaps; ++k) {
                const uint32_t* line = sourceRows[row.source[k]];
                for (size_t l = 0; l < kTaps; ++l) {
                    const double w = weight[k * kTaps + l];
                    const uint32_t p = line[column.source[l]];
                    sum[0] += w * static_cast<double>(p & 0xFFu);
                    sum[1] += w * static_cast<double>((p >> 8) & 0xFFu);
                    sum[2] += w * static_cast<double>((p >> 16) & 0xFFu);
                    sum[3] += w * static_cast<double>(p >> 24);
                }
            }
            uint32_t packed = 0;
            if (weightSum != 0.0) {
                for (int c = 0; c < 4; ++c) {
                    packed |= packChannel(sum[static_cast<size_t>(c)] / weightSum, 8 * c);
                }
            }
            target[i * columns.size() + j] = packed;
        }
    }
    return target;
}

} // namespace

void Resample(ImageBuffer& image, int newWidth, int newHeight) {
    if (!image.hasWholePicture() || newWidth < 1 || newHeight < 1) {
        return;
    }
    std::vector<const uint32_t*> sourceRows(static_cast<size_t>(image.height));
    for (size_t y = 0; y < sourceRows.size(); ++y) {
        sourceRows[y] = image.pixels.data() + y * static_cast<size_t>(image.width);
    }
    image.pixels = resampleRows(sourceRows, axisTaps(image.height, newHeight),
                                axisTaps(image.width, newWidth));
    image.width = newWidth;
    image.height = newHeight;
}

struct RowResampler::Plan {
    std::vector<AxisTaps> rows;
    std::vector<AxisTaps> columns;
    int targetWidth;
    int targetHeight;
};

RowResampler::RowResampler(int sourceWidth, int sourceHeight, int targetWidth, int targetHeight)
    : m_plan(std::make_unique<Plan>(Plan{axisTaps(sourceHeight, targetHeight),
                                         axisTaps(sourceWidth, targetWidth), targetWidth,
                                         targetHeight})),
      m_kept(static_cast<size_t>(sourceHeight)) {
    for (const AxisTaps& taps : m_plan->rows) {
        for (size_t y : taps.source) {
            m_kept[y].resize(static_cast<size_t>(sourceWidth));
        }
    }
}

RowResampler::~RowResampler() = default;

size_t RowResampler::memoryFor(int sourceWidth, int sourceHeight, int targetWidth,
                               int targetHeight) {
    const auto sw = static_cast<size_t>(sourceWidth);
    const auto sh = static_cast<size_t>(sourceHeight);
    const auto tw = static_cast<size_t>(targetWidth);
    const auto th = static_cast<size_t>(targetHeight);
    const size_t keptRows = std::min(sh, kTaps * th);
    return keptRows * sw * sizeof(uint32_t) +
           sh * (sizeof(std::vector<uint32_t>) + sizeof(const uint32_t*)) +
           (tw + th) * sizeof(AxisTaps) + tw * th * sizeof(uint32_t);
}

uint32_t* RowResampler::row(int y) {
    std::vector<uint32_t>& kept = m_kept[static_cast<size_t>(y)];
    return kept.empty() ? nullptr : kept.data();
}

void RowResampler::finish(ImageBuffer& image) const {
    std::vector<const uint32_t*> sourceRows(m_kept.size());
    for (size_t y = 0; y < m_kept.size(); ++y) {
        sourceRows[y] = m_kept[y].data();
    }
    image.pixels = resampleRows(sourceRows, m_plan->rows, m_plan->columns);
    image.width = m_plan->targetWidth;
    image.height = m_plan->targetHeight;
}

} // namespace tesk
