#include "EffectStage.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

namespace tesk {

namespace {

constexpr size_t kSide = kMapSide;
/// Four floats in one register (a vector type GCC and Clang share).
typedef float FourFloats __attribute__((vector_size(16)));
constexpr size_t kCount = kMapPixels;

/// Three channels of 4096 values each.
template <typename T> struct Planes {
    alignas(32) T x[kCount];
    alignas(32) T y[kCount];
    alignas(32) T z[kCount];
};

/// Everything one run needs; every plane is written before it is read.
struct Workspace {
    Planes<int32_t> map;  // W, the working map
    Planes<float> result; // F, the result of one effect
    Planes<float> image;  // the effect image times its strengths
    Planes<float> normal; // N, vertex normals of the map as built (filled on first use)
    Planes<float> face1;  // per cell: the first and second triangle normals
    Planes<float> face2;
    bool haveNormals = false;
};

void unpack(const uint32_t* pixels, Planes<int32_t>& out) {
    for (size_t k = 0; k < kCount; ++k) {
        out.x[k] = static_cast<int32_t>(pixels[k] & 0xFFu);
        out.y[k] = static_cast<int32_t>((pixels[k] >> 8) & 0xFFu);
        out.z[k] = static_cast<int32_t>((pixels[k] >> 16) & 0xFFu);
    }
}

/// The two triangle normals of the cell between columns a and c of rows i and i + 1.
inline void cellNormals(const Planes<float>& p, Workspace& ws, size_t cell, size_t ia, size_t ic) {
    const size_t ja = ia + kSide;
    const size_t jc = ic + kSide;
    // A = P[i][a], B = P[i][c], C = P[i+1][a], D = P[i+1][c]
    const float abx = p.x[ia] - p.x[ic], aby = p.y[ia] - p.y[ic], abz = p.z[ia] - p.z[ic];
    const float adx = p.x[ia] - p.x[jc], ady = p.y[ia] - p.y[jc], adz = p.z[ia] - p.z[jc];
    const float acx = p.x[ia] - p.x[ja], acy = p.y[ia] - p.y[ja], acz = p.z[ia] - p.z[ja];
    float x = aby * adz - abz * ady;
    float y = abz * adx - abx * adz;
    float z = abx * ady - aby * adx;
    normalise(x, y, z);
    ws.face1.x[cell] = x;
    ws.face1.y[cell] = y;
    ws.face1.z[cell] = z;
    x = ady * acz - adz * acy;
    y = adz * acx - adx * acz;
    z = adx * acy - ady * acx;
    normalise(x, y, z);
    ws.face2.x[cell] = x;
    ws.face2.y[cell] = y;
    ws.face2.z[cell] = z;
}

/// Sums the triangle normals at every corner of one channel. Cell (i, j) gives its first
/// triangle to corners (i, j), (i, j+1), (i+1, j) and its second to (i, j+1), (i+1, j),
/// (i+1, j+1), wrapping from column 63 to column 0. Gathered per corner, but added in the order
/// a cell-by-cell pass in grid order would add them, so every sum rounds the same way.
void gatherCorners(const float* __restrict t1, const float* __restrict t2, float* __restrict out) {
    for (size_t r = 0; r < kSide; ++r) {
        float* n = out + r * kSide;
        std::fill(n, n + kSide, 0.0f);
        if (r > 0) { // cells of row r - 1, the corner as their bottom
            const float* f1 = t1 + (r - 1) * kSide;
            const float* f2 = t2 + (r - 1) * kSide;
            n[0] = ((n[0] + f1[0]) + f2[0]) + f2[kSide - 1];
            for (size_t j = 1; j < kSide; ++j) {
                n[j] = ((n[j] + f2[j - 1]) + f1[j]) + f2[j];
            }
        }
        if (r + 1 < kSide) { // cells of row r, the corner as their top
            const float* f1 = t1 + r * kSide;
            const float* f2 = t2 + r * kSide;
            n[0] = ((n[0] + f1[0]) + f1[kSide - 1]) + f2[kSide - 1];
            for (size_t j = 1; j < kSide; ++j) {
                n[j] = ((n[j] + f1[j - 1]) + f2[j - 1]) + f1[j];
            }
        }
    }
}

/// Vertex normals of the strip closed at the seam (columns 0 and 63 are the same vertices):
/// two triangle normals per cell, summed at the corners, then each sum normalised once.
void computeNormals(const uint32_t* builtMap, Workspace& ws) {
    Planes<float>& n = ws.normal;
    // The result planes hold the built map's positions until the effect itself fills them.
    Planes<float>& p = ws.result;
    for (size_t k = 0; k < kCount; ++k) {
        p.x[k] = static_cast<float>(builtMap[k] & 0xFFu);
        p.y[k] = static_cast<float>((builtMap[k] >> 8) & 0xFFu);
        p.z[k] = static_cast<float>((builtMap[k] >> 16) & 0xFFu);
    }
    for (size_t i = 0; i + 1 < kSide; ++i) {
        const size_t row = i * kSide;
        // At the seam the cells reach across it: columns 62 -> 1 and 63 -> 1.
        cellNormals(p, ws, row, row + 62, row + 1);
        for (size_t j = 1; j + 1 < kSide; ++j) {
            cellNormals(p, ws, row + j, row + j, row + j + 1);
        }
        cellNormals(p, ws, row + kSide - 1, row + kSide - 1, row + 1);
    }
    gatherCorners(ws.face1.x, ws.face2.x, n.x);
    gatherCorners(ws.face1.y, ws.face2.y, n.y);
    gatherCorners(ws.face1.z, ws.face2.z, n.z);
    for (size_t k = 0; k < kCount; ++k) {
        normalise(n.x[k], n.y[k], n.z[k]);
    }
    ws.haveNormals = true;
}

/// The effect image's channels times the overall, then the per-channel strength (in that order:
/// single-precision products round differently when regrouped).
void scaleImage(const uint32_t* pixels, float s, float r, float g, float b, Planes<float>& out) {
    for (size_t k = 0; k < kCount; ++k) {
        out.x[k] = static_cast<float>(pixels[k] & 0xFFu) * s * r;
        out.y[k] = static_cast<float>((pixels[k] >> 8) & 0xFFu) * s * g;
        out.z[k] = static_cast<float>((pixels[k] >> 16) & 0xFFu) * s * b;
    }
}

void composite(const uint32_t* pixels, float wx, float wy, float wz, const Planes<int32_t>& w,
               Planes<float>& f) {
    // Red and green of a picture are read inverted, as the map files store them.
    for (size_t k = 0; k < kCount; ++k) {
        const auto er = static_cast<float>(pixels[k] & 0xFFu);
        const auto eg = static_cast<float>((pixels[k] >> 8) & 0xFFu);
        const auto eb = static_cast<float>((pixels[k] >> 16) & 0xFFu);
        f.x[k] = static_cast<float>(w.x[k]) * (1.0f - wx) + (255.0f - er) * wx;
        f.y[k] = static_cast<float>(w.y[k]) * (1.0f - wy) + (255.0f - eg) * wy;
        f.z[k] = static_cast<float>(w.z[k]) * (1.0f - wz) + eb * wz;
    }
}

void alongNormals(const int32_t* w, const float* amount, const float* normal, float* f) {
    for (size_t k = 0; k < kCount; ++k) {
        const auto v = static_cast<float>(w[k]);
        f[k] = amount[k] * (v - 255.0f * normal[k]) + (255.0f - amount[k]) * v;
    }
}

void awayFromCentroid(const int32_t* w, const float* amount, float* f) {
    int64_t sum = 0;
    for (size_t k = 0; k < kCount; ++k) {
        sum += w[k];
    }
    const auto centre = static_cast<float>(sum / static_cast<int64_t>(kCount));
    for (size_t k = 0; k < kCount; ++k) {
        f[k] = centre * -amount[k] + static_cast<float>(w[k]) * (255.0f + amount[k]);
    }
}

bool applicable(const EffectRecord& record) {
    const int code = record.typeCode();
    return record.enabled != 0 && record.typeSet() &&
           (code == EFFECT_COMPOSITE || code == EFFECT_NORMAL || code == EFFECT_CENTROID) &&
           record.width == kMapSide && record.height == kMapSide && record.pixels.size() == kCount;
}

} // namespace

void refit(const float* f, int32_t* w) {
    // The extremes are searched from the first value: fixed starting bounds would cut off
    // the range of results that lie wholly above or below them. Eight running extremes side by
    // side find the same values as one pass (a NaN is passed over unless it comes first, and
    // which of +0 and -0 is kept cannot change a stretched value), in two registers that do not
    // wait on each other.
    FourFloats lows[2] = {{f[0], f[0], f[0], f[0]}, {f[0], f[0], f[0], f[0]}};
    FourFloats highs[2] = {lows[0], lows[0]};
    for (size_t k = 0; k < kCount; k += 8) {
        for (size_t half = 0; half < 2; ++half) {
            FourFloats v;
            std::memcpy(&v, f + k + 4 * half, sizeof v);
            lows[half] = v < lows[half] ? v : lows[half];
            highs[half] = highs[half] < v ? v : highs[half];
        }
    }
    float low = lows[0][0];
    float high = highs[0][0];
    for (const size_t half : {0, 1}) {
        for (int l = 0; l < 4; ++l) {
            low = std::min(low, lows[half][l]);
            high = std::max(high, highs[half][l]);
        }
    }
    if (!(high > low) || !std::isfinite(high - low)) {
        std::fill(w, w + kCount, 0);
        return;
    }
    // Whole values must map onto whole values (a map already spanning 0..255 onto itself),
    // which a single-precision reciprocal misses by a hair and truncation turns into the step
    // below. In double the scale is off by a few units in the last place at most; nudged up
    // by 2^-44 it can no longer land a whole value below itself, and a value that close below
    // the next step is rounding noise either way.
    const double lowest = low;
    const double scale = 255.0 / (static_cast<double>(high) - lowest) * (1.0 + 0x1p-44);
    for (size_t k = 0; k < kCount; ++k) {
        const double v = (static_cast<double>(f[k]) - lowest) * scale;
        const double above = v > 0.0 ? v : 0.0; // NaN -> 0
        w[k] = static_cast<int32_t>(above < 255.0 ? above : 255.0);
    }
}

void ApplyEffects(std::span<uint32_t> sculptMap, const EffectList& effects) {
    if (sculptMap.size() != kCount ||
        std::none_of(effects.begin(), effects.end(),
                     [](const auto& record) { return applicable(*record); })) {
        return;
    }
    // Kept from run to run: taking and clearing it anew cost as much as two of the loops.
    static thread_local const auto kept = std::make_unique_for_overwrite<Workspace>();
    Workspace* const ws = kept.get();
    ws->haveNormals = false;
    unpack(sculptMap.data(), ws->map);
    Planes<int32_t>& w = ws->map;
    Planes<float>& f = ws->result;
    Planes<float>& amount = ws->image;

    for (const auto& entry : effects) {
        const EffectRecord& record = *entry;
        if (!applicable(record)) {
            continue;
        }
        const float s = record.strength * 0.01f;
        const float r = record.strengthR * 0.01f;
        const float g = record.strengthG * 0.01f;
        const float b = record.strengthB * 0.01f;
        const uint32_t* pixels = record.pixels.data();
        switch (record.typeCode()) {
        case EFFECT_COMPOSITE:
            composite(pixels, s * r, s * g, s * b, w, f);
            break;
        case EFFECT_NORMAL:
            // Every normal effect of a run moves along the normals of the map as built.
            if (!ws->haveNormals) {
                computeNormals(sculptMap.data(), *ws);
            }
            scaleImage(pixels, s, r, g, b, amount);
            alongNormals(w.x, amount.x, ws->normal.x, f.x);
            alongNormals(w.y, amount.y, ws->normal.y, f.y);
            alongNormals(w.z, amount.z, ws->normal.z, f.z);
            break;
        default: // EFFECT_CENTROID
            scaleImage(pixels, s, r, g, b, amount);
            awayFromCentroid(w.x, amount.x, f.x);
            awayFromCentroid(w.y, amount.y, f.y);
            awayFromCentroid(w.z, amount.z, f.z);
            break;
        }
        refit(f.x, w.x);
        refit(f.y, w.y);
        refit(f.z, w.z);
    }
    for (size_t k = 0; k < kCount; ++k) {
        sculptMap[k] = static_cast<uint32_t>(w.x[k]) | static_cast<uint32_t>(w.y[k]) << 8 |
                       static_cast<uint32_t>(w.z[k]) << 16;
    }
}

} // namespace tesk
