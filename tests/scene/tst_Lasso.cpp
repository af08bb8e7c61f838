// The lasso's polygon, the markers it catches in a pick image and its hatching.
#include "Lasso.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace tesk;

namespace {

constexpr int PER_MARKER = 20; // triangles

Lasso lassoOf(std::initializer_list<LassoPoint> points) {
    Lasso lasso;
    for (const LassoPoint p : points) {
        lasso.add(p);
    }
    return lasso;
}

/// A five-pointed star in one stroke: the alternate rule leaves its core out.
Lasso star() {
    return lassoOf({{50, 5}, {76, 86}, {7, 36}, {93, 36}, {24, 86}});
}

struct Ids : PickImage {
    Ids(int w, int h) {
        width = w;
        height = h;
        pixels.assign(static_cast<size_t>(w * h), 0u);
    }
    Ids& put(int x, int y, int object, int triangle) {
        pixels[static_cast<size_t>((height - 1 - y) * width + x)] =
            static_cast<uint32_t>(object) | static_cast<uint32_t>(triangle) << 8 | 0xFF000000u;
        return *this;
    }
};

} // namespace

TEST(Lasso, KeepsPointsFarEnoughApartAndTheAlternateInside) {
    Lasso lasso;
    EXPECT_TRUE(lasso.add({10, 10}));
    EXPECT_FALSE(lasso.add({13, 10})) << "squared distance 9";
    EXPECT_TRUE(lasso.add({13, 11})) << "squared distance 10";
    EXPECT_EQ(lasso.size(), 2u);

    const Lasso s = star();
    EXPECT_TRUE(s.contains(50, 15));  // top point
    EXPECT_TRUE(s.contains(15, 38));  // left point
    EXPECT_FALSE(s.contains(50, 50)); // the core, covered twice
    EXPECT_FALSE(s.contains(5, 5));
    EXPECT_FALSE(lasso.contains(11, 10)) << "two points enclose nothing";
}

TEST(Lasso, CatchesEachMarkerShownInsideOnce) {
    Ids ids(40, 30);
    ids.put(5, 5, 2, 3 * PER_MARKER + 7)
        .put(6, 5, 2, 3 * PER_MARKER + 19) // cell 3 again
        .put(10, 8, 2, 0)
        .put(8, 8, 1, 4 * PER_MARKER)   // another object
        .put(9, 9, 2, 8 * PER_MARKER)   // no such cell
        .put(30, 20, 2, 5 * PER_MARKER) // outside
        .put(12, 8, 2, 7 * PER_MARKER); // on the right edge: outside
    const Lasso square = lassoOf({{2, 2}, {12, 2}, {12, 12}, {2, 12}});
    EXPECT_EQ(square.caughtCells(ids, 2, 3 * PER_MARKER, 8), (std::vector<uint32_t>{0, 3}));
    EXPECT_EQ(square.caughtCells(ids, 2, 3 * PER_MARKER, 3), (std::vector<uint32_t>{0}));

    // Dragged far outside the window on every side: only the image is read.
    const Lasso huge = lassoOf({{-5000, -4000}, {9000, -4000}, {9000, 7000}, {-5000, 7000}});
    EXPECT_EQ(huge.caughtCells(ids, 2, 3 * PER_MARKER, 8), (std::vector<uint32_t>{0, 3, 5, 7}));
    EXPECT_TRUE(lassoOf({{0, 0}, {39, 29}}).caughtCells(ids, 2, 3 * PER_MARKER, 8).empty());
    EXPECT_TRUE(huge.caughtCells(ids, 2, 0, 8).empty());
    EXPECT_TRUE(huge.caughtCells(PickImage{}, 2, 3 * PER_MARKER, 8).empty());
    ids.pixels.pop_back();
    EXPECT_TRUE(huge.caughtCells(ids, 2, 3 * PER_MARKER, 8).empty()) << "a short image";
}

TEST(Lasso, CatchesExactlyThePixelsItContains) {
    Ids ids(100, 100); // every pixel its own one-triangle marker
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 100; ++x) {
            ids.put(x, y, 1, y * 100 + x);
        }
    }
    for (const Lasso& lasso : {star(), lassoOf({{3, 3}, {96, 40}, {3, 96}, {40, 41}}),
                               lassoOf({{-20, 50}, {50, -20}, {120, 50}, {50, 120}})}) {
        std::vector<uint32_t> inside;
        for (uint32_t k = 0; k < 100 * 100; ++k) {
            if (lasso.contains(static_cast<int>(k % 100), static_cast<int>(k / 100))) {
                inside.push_back(k);
            }
        }
        EXPECT_GT(inside.size(), 500u);
        EXPECT_EQ(lasso.caughtCells(ids, 1, 3, 100 * 100), inside);
    }
}

TEST(Lasso, HatchesItsInsideDiagonallyBothWays) {
    int rising = 0;
    int falling = 0;
    for (const HatchSegment& s : lassoOf({{0, 0}, {40, 0}, {40, 40}, {0, 40}}).hatchSegments(8)) {
        const float dx = s.x1 - s.x0;
        const float dy = s.y1 - s.y0;
        ASSERT_NEAR(std::fabs(dx), std::fabs(dy), 1e-4f);
        (dx * dy > 0 ? rising : falling) += 1;
        // From edge to edge of the square.
        EXPECT_TRUE(std::fmin(std::fmin(s.x0, s.y0), std::fmin(40 - s.x0, 40 - s.y0)) < 1e-4f);
        EXPECT_TRUE(std::fmin(std::fmin(s.x1, s.y1), std::fmin(40 - s.x1, 40 - s.y1)) < 1e-4f);
    }
    EXPECT_EQ(rising, 9); // every 8 pixels along 80, the corners left out
    EXPECT_EQ(falling, 9);
    for (const HatchSegment& s : star().hatchSegments(4)) { // the star's core stays clear
        EXPECT_FALSE(std::fabs(s.x0 + s.x1 - 100) < 10 && std::fabs(s.y0 + s.y1 - 100) < 10);
    }
}
