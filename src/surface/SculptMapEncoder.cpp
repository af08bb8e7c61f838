#include "SculptMapEncoder.h"

namespace tesk {

namespace {

constexpr float kOffset = 0.00001f;
constexpr float kFlatExtent = 0.000001f;

float normalise(float v, float min, float extent) {
    const float shifted = (v - min) + kOffset;
    return extent > kFlatExtent ? shifted / extent : 0.0f;
}

// Truncated toward zero; anything outside 0 .. 255 (NaN included) codes as 255.
uint32_t code(float normalised) {
    const float scaled = normalised * 255.0f;
    if (!(scaled > -1.0f && scaled < 256.0f)) {
        return 255u;
    }
    return static_cast<uint32_t>(static_cast<int>(scaled));
}

} // namespace

void EncodeSculptMap(Point3* grid, uint32_t* map, int width, int height, Point3& halfExtent) {
    const int count = width * height;
    if (count <= 0) {
        halfExtent = {};
        return;
    }
    Point3 lo = grid[0];
    Point3 hi = grid[0];
    for (int i = 1; i < count; ++i) {
        const Point3 p = grid[i];
        if (p.x > hi.x) {
            hi.x = p.x;
        }
        if (p.x < lo.x) {
            lo.x = p.x;
        }
        if (p.y > hi.y) {
            hi.y = p.y;
        }
        if (p.y < lo.y) {
            lo.y = p.y;
        }
        if (p.z > hi.z) {
            hi.z = p.z;
        }
        if (p.z < lo.z) {
            lo.z = p.z;
        }
    }
    const Point3 extent = hi - lo;
    halfExtent = extent * 0.5f;
    for (int i = 0; i < count; ++i) {
        Point3& p = grid[i];
        p.x = normalise(p.x, lo.x, extent.x);
        p.y = normalise(p.y, lo.y, extent.y);
        p.z = normalise(p.z, lo.z, extent.z);
        map[i] = code(p.x) | code(p.y) << 8 | code(p.z) << 16;
    }
}

} // namespace tesk
