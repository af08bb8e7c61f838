#include "EffectStage.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace tesk {

namespace {

constexpr size_t kSide = kEffectMapSide;
constexpr size_t kCount = kEffectMapPixels;

/// Three channels of 4096 values each.
template <typename T> struct Planes {
    alignas(32) T x[kCount];
    alignas(32) T y[kCount];
    alignas(32) T z[kCount];
};

/// Everything one run needs, taken from the heap once per run.
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

/// Unit length; the zero vector stays zero.
inline void normalise(float& x, float& y, float& z) {
    const float length = std::sqrt(x * x + y * y + z * z);
    const float inverse = length > 0.0f ? 1.0f / length : 0.0f;
    x *= inverse;
    y *= inverse;
    z *= inverse;
}

/// Vertex normals of the strip closed at the seam (columns 0 and 63 are the same vertices):
/// two triangle normals per cell, added to the corners, then each sum normalised once.
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
        for (size_t j = 0; j < kSide; ++j) {
            // At the seam the cell reaches across it: columns 62 -> 1 and 63 -> 1.
            const size_t a = j == 0 ? 62 : j;
            const size_t c = (j == 0 || j == kSide - 1) ? 1 : j + 1;
            const size_t ia = i * kSide + a;
            const size_t ic = i * kSide + c;
            const size_t ja = ia + kSide;
            const size_t jc = ic + kSide;
            // A = P[i][a], B = P[i][c], C = P[i+1][a], D = P[i+1][c]
            const float abx = p.x[ia] - p.x[ic], aby = p.y[ia] - p.y[ic], abz = p.z[ia] - p.z[ic];
            const float adx = p.x[ia] - p.x[jc], ady = p.y[ia] - p.y[jc], adz = p.z[ia] - p.z[jc];
            const float acx = p.x[ia] - p.x[ja], acy = p.y[ia] - p.y[ja], acz = p.z[ia] - p.z[ja];
            const size_t cell = i * kSide + j;
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
    }
    std::fill(std::begin(n.x), std::end(n.x), 0.0f);
    std::fill(std::begin(n.y), std::end(n.y), 0.0f);
    std::fill(std::begin(n.z), std::end(n.z), 0.0f);
    // The first triangle goes to corners (i, j), (i, j+1), (i+1, j); the second to (i, j+1),
    // (i+1, j), (i+1, j+1); the accumulation wraps from column 63 to column 0.
    const auto accumulate = [&](float* out, const float* t1, const float* t2) {
        for (size_t i = 0; i + 1 < kSide; ++i) {
            float* top = out + i * kSide;
            float* bottom = top + kSide;
            const float* f1 = t1 + i * kSide;
            const float* f2 = t2 + i * kSide;
            for (size_t j = 0; j < kSide; ++j) {
                const size_t next = (j + 1) & (kSide - 1);
                top[j] += f1[j];
                top[next] += f1[j] + f2[j];
                bottom[j] += f1[j] + f2[j];
                bottom[next] += f2[j];
            }
        }
    };
    accumulate(n.x, ws.face1.x, ws.face2.x);
    accumulate(n.y, ws.face1.y, ws.face2.y);
    accumulate(n.z, ws.face1.z, ws.face2.z);
    for (size_t k = 0; k < kCount; ++k) {
        normalise(n.x[k], n.y[k], n.z[k]);
    }
    ws.haveNormals = true;
}

/// The effect image's channels times the overall and per-channel strengths.
void scaleImage(const uint32_t* pixels, float s, float r, float g, float b, Planes<float>& out) {
    const float sr = s * r;
    const float sg = s * g;
    const float sb = s * b;
    for (size_t k = 0; k < kCount; ++k) {
        out.x[k] = static_cast<float>(pixels[k] & 0xFFu) * sr;
        out.y[k] = static_cast<float>((pixels[k] >> 8) & 0xFFu) * sg;
        out.z[k] = static_cast<float>((pixels[k] >> 16) & 0xFFu) * sb;
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

/// Stretches one channel of F over 0..255 into W; a flat channel becomes 0.
void refit(const float* f, int32_t* w) {
    // The extremes are searched from the first value: fixed starting bounds would cut off
    // the range of results that lie wholly above or below them.
    float low = f[0];
    float high = f[0];
    for (size_t k = 1; k < kCount; ++k) {
        low = std::min(low, f[k]);
        high = std::max(high, f[k]);
    }
    if (!(high > low)) {
        std::fill(w, w + kCount, 0);
        return;
    }
    // In double and divided last, so that a map already spanning 0..255 maps onto itself:
    // a single-precision reciprocal lands whole values a hair low and truncates them to the
    // step below.
    const double lowest = low;
    const double range = static_cast<double>(high) - lowest;
    for (size_t k = 0; k < kCount; ++k) {
        const double v = (static_cast<double>(f[k]) - lowest) * 255.0 / range;
        w[k] = !(v > 0.0) ? 0 : v >= 255.0 ? 255 : static_cast<int32_t>(v);
    }
}

bool applicable(const EffectRecord& record) {
    const int code = record.typeCode();
    return record.enabled != 0 && record.typeSet() &&
           (code == EFFECT_COMPOSITE || code == EFFECT_NORMAL || code == EFFECT_CENTROID) &&
           record.width == kEffectMapSide && record.height == kEffectMapSide &&
           record.pixels.size() == kCount;
}

} // namespace

void ApplyEffects(std::span<uint32_t> sculptMap, const EffectList& effects) {
    if (sculptMap.size() != kCount ||
        std::none_of(effects.begin(), effects.end(),
                     [](const auto& record) { return applicable(*record); })) {
        return;
    }
    const auto ws = std::make_unique<Workspace>();
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
