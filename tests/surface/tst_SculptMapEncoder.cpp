#include "SculptMapEncoder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace tesk {
namespace {

uint32_t xCode(uint32_t p) {
    return p & 0xFF;
}
uint32_t zCode(uint32_t p) {
    return (p >> 16) & 0xFF;
}

struct Encoded {
    std::vector<Point3> grid;
    std::vector<uint32_t> map;
    Point3 halfExtent{-1, -1, -1};
};

Encoded encode(std::vector<Point3> grid) {
    Encoded e{std::move(grid), std::vector<uint32_t>(4096, 0xDEADBEEF), {}};
    EncodeSculptMap(e.grid.data(), e.map.data(), 64, 64, e.halfExtent);
    return e;
}

std::vector<Point3> ramp(float z) {
    std::vector<Point3> g(4096);
    for (int r = 0; r < 64; ++r) {
        for (int c = 0; c < 64; ++c) {
            g[static_cast<size_t>(r * 64 + c)] = {static_cast<float>(c) * 0.5f - 3.0f,
                                                  static_cast<float>(r) * 2.0f, z};
        }
    }
    return g;
}

TEST(EncodeSculptMap, FlatAxisCodesZeroOthersUseTheFullRange) {
    const Encoded e = encode(ramp(4.0f));
    EXPECT_EQ(e.map[0], 0u);                          // minimum X and Y
    EXPECT_EQ(e.map[63], 255u);                       // maximum X
    EXPECT_EQ(e.map[63 * 64], 255u << 8);             // maximum Y
    EXPECT_EQ(e.map[63 * 64 + 63], 255u | 255u << 8); // bits 24-31 stay zero
    for (uint32_t p : e.map) {
        ASSERT_EQ(zCode(p), 0u);
        ASSERT_EQ(p >> 24, 0u);
    }
    // X = -3 + 0.5 c spans 31.5: column 32 is (16 + 0.00001) / 31.5 of the way, code 129.
    EXPECT_EQ(xCode(e.map[32]), 129u);
    EXPECT_FLOAT_EQ(e.grid[32].x, (16.0f + 0.00001f) / 31.5f);
    EXPECT_EQ(e.grid[5].z, 0.0f);
    EXPECT_EQ(e.halfExtent, (Point3{15.75f, 63.0f, 0.0f}));
}

TEST(EncodeSculptMap, UnitCubeHasHalfExtentOneHalf) {
    std::vector<Point3> g(4096);
    for (size_t i = 0; i < g.size(); ++i) {
        g[i] = {static_cast<float>(i % 2), static_cast<float>((i / 2) % 2),
                static_cast<float>((i / 4) % 2)};
    }
    const Encoded e = encode(g);
    EXPECT_EQ(e.halfExtent, (Point3{0.5f, 0.5f, 0.5f}));
    EXPECT_EQ(e.map[7], 255u | 255u << 8 | 255u << 16);
    EXPECT_EQ(e.map[0], 0u);
}

TEST(EncodeSculptMap, TinyExtentsAndBadValuesStayInRange) {
    // An extent of 0.000002 is above the flat limit, so the offset alone is five extents and
    // every code of that axis overflows to 255.
    std::vector<Point3> g = ramp(0.0f);
    g[100].z = 0.000002f;
    const Encoded tiny = encode(g);
    for (uint32_t p : tiny.map) {
        ASSERT_EQ(zCode(p), 255u);
    }
    // A not-a-number coordinate codes as 255 and leaves the others alone.
    g = ramp(1.0f);
    g[70].x = std::nanf("");
    const Encoded bad = encode(g);
    EXPECT_EQ(xCode(bad.map[70]), 255u);
    EXPECT_EQ(xCode(bad.map[64]), 0u);
    EXPECT_EQ(xCode(bad.map[63]), 255u);
}

TEST(EncodeSculptMap, AnAxisWhoseRangeOverflowsCodesAsFlat) {
    // Curve arithmetic on coordinates near the float limit can overflow; the half extents go
    // to the preview and the viewer, so they stay finite whatever the grid holds.
    const float inf = std::numeric_limits<float>::infinity();
    std::vector<Point3> g = ramp(1.0f);
    g[0].y = std::nanf("");
    g[5].z = inf;
    g[9].z = -inf;
    g[3].x = std::numeric_limits<float>::max();
    g[4].x = -std::numeric_limits<float>::max();
    const Encoded e = encode(g);
    EXPECT_EQ(e.halfExtent, Point3{}) << "each axis overflowed or started at a NaN";
    for (uint32_t p : e.map) {
        ASSERT_EQ(p & 0xFFFFFFu, 0u);
    }
}

} // namespace
} // namespace tesk
