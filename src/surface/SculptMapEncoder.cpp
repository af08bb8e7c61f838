#include "SculptMapEncoder.h"

#include <cmath>
#include <cstdio>
#include <initializer_list>

namespace tesk {

namespace {

constexpr float kOffset = 0.00001f;
constexpr float kFlatExtent = 0.000001f;
constexpr int kChains = 4;

// Max on a strictly greater value, min on a strictly smaller one: a NaN never takes over.
void widen(float v, float& lo, float& hi) {
    hi = v > hi ? v : hi;
    lo = v < lo ? v : lo;
}

// One axis at a time, with four independent running minima and maxima so the comparisons
// do not wait on each other; the result is the same as one scan from vertex 0.
template <float Point3::*Axis> void axisRange(const Point3* grid, int count, float& lo, float& hi) {
    float low[kChains];
    float high[kChains];
    for (int k = 0; k < kChains; ++k) {
        low[k] = high[k] = grid[0].*Axis;
    }
    int i = 0;
    for (; i + kChains <= count; i += kChains) {
        for (int k = 0; k < kChains; ++k) {
            widen(grid[i + k].*Axis, low[k], high[k]);
        }
    }
    lo = hi = grid[0].*Axis;
    for (int k = 0; k < kChains; ++k) {
        widen(low[k], lo, hi);
        widen(high[k], lo, hi);
    }
    for (; i < count; ++i) {
        widen(grid[i].*Axis, lo, hi);
    }
}

// Normalises one axis in place and ORs its codes into the map. Codes are truncated toward
// zero; anything outside 0 .. 255 (NaN included) codes as 255. A flat axis is 0 throughout
// and divides by 1, so no lane ever divides by zero.
template <float Point3::*Axis>
void encodeAxis(Point3* grid, uint32_t* map, int count, float lo, float extent, int shift) {
    const bool flat = !(extent > kFlatExtent);
    const float divisor = flat ? 1.0f : extent;
    for (int i = 0; i < count; ++i) {
        float& v = grid[i].*Axis;
        const float normalised = flat ? 0.0f : ((v - lo) + kOffset) / divisor;
        v = normalised;
        const float scaled = normalised * 255.0f;
        const uint32_t code = scaled > -1.0f && scaled < 256.0f
                                  ? static_cast<uint32_t>(static_cast<int>(scaled))
                                  : 255u;
        map[i] |= code << shift;
    }
}

} // namespace

void EncodeSculptMap(Point3* grid, uint32_t* map, int width, int height, Point3& halfExtent) {
    const int count = width * height;
    if (count <= 0) {
        halfExtent = {};
        return;
    }
    Point3 lo;
    Point3 hi;
    axisRange<&Point3::x>(grid, count, lo.x, hi.x);
    axisRange<&Point3::y>(grid, count, lo.y, hi.y);
    axisRange<&Point3::z>(grid, count, lo.z, hi.z);
    Point3 extent = hi - lo;
    // A range that overflowed (or starts at a NaN) holds no usable position: the axis codes
    // as flat, so the half extents that the preview and the viewer get stay finite.
    for (float* axis : {&extent.x, &extent.y, &extent.z}) {
        if (!std::isfinite(*axis)) {
            *axis = 0.0f;
        }
    }
    halfExtent = extent * 0.5f;
    for (int i = 0; i < count; ++i) {
        map[i] = 0;
    }
    encodeAxis<&Point3::x>(grid, map, count, lo.x, extent.x, 0);
    encodeAxis<&Point3::y>(grid, map, count, lo.y, extent.y, 8);
    encodeAxis<&Point3::z>(grid, map, count, lo.z, extent.z, 16);
}

Point3 PrimSize(Point3 halfExtent) {
    return halfExtent * 2.0f;
}

std::string PrimSizeText(Point3 halfExtent) {
    const Point3 size = PrimSize(halfExtent);
    char text[96];
    std::snprintf(text, sizeof text, "X %.3f, Y %.3f, Z %.3f", static_cast<double>(size.x),
                  static_cast<double>(size.y), static_cast<double>(size.z));
    return text;
}

} // namespace tesk
