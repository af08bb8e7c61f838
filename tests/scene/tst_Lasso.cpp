// The lasso's polygon, the markers it catches in a pick image and its hatching.
#include "GLMesh.h"
#include "Lasso.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace tesk;

namespace {

constexpr int TRIANGLES_PER_MARKER = GLMesh::MARKER_INDICES / 3;

Lasso lassoOf(std::initializer_list<LassoPoint> points) {
    Lasso lasso;
    for (const LassoPoint p : points) {
        lasso.add(p);
    }
    return lasso;
}

/// A five-pointed star drawn in one stroke: its pentagon core overlaps itself twice, so the
/// alternate rule leaves it out.
Lasso star() {
    return lassoOf({{50, 5}, {76, 86}, {7, 36}, {93, 36}, {24, 86}});
}

/// A pick image with nothing in it.
PickImage emptyImage(int width, int height) {
    PickImage image;
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0u);
    return image;
}

void put(PickImage& image, int x, int y, int object, int triangle) {
    image.pixels[static_cast<size_t>(image.height - 1 - y) * static_cast<size_t>(image.width) +
                 static_cast<size_t>(x)] =
        static_cast<uint32_t>(object) | (static_cast<uint32_t>(triangle) << 8) | 0xFF000000u;
}

} // namespace

TEST(Lasso, KeepsPointsThatAreFarEnoughApart) {
    Lasso lasso;
    EXPECT_TRUE(lasso.add({10, 10}));
    EXPECT_FALSE(lasso.add({13, 10})) << "squared distance 9";
    EXPECT_FALSE(lasso.add({10, 10}));
    EXPECT_TRUE(lasso.add({13, 11})) << "squared distance 10";
    EXPECT_FALSE(lasso.add({13, 8})) << "squared distance 9 from the last point";
    EXPECT_TRUE(lasso.add({13, 7}));
    EXPECT_EQ(lasso.points(), (std::vector<LassoPoint>{{10, 10}, {13, 11}, {13, 7}}));
    lasso.clear();
    EXPECT_TRUE(lasso.add({13, 8})) << "the first point of a new lasso";
}

TEST(Lasso, InsideFollowsTheAlternateRule) {
    const Lasso s = star();
    EXPECT_TRUE(s.contains(50, 15));  // top point
    EXPECT_TRUE(s.contains(15, 38));  // left point
    EXPECT_FALSE(s.contains(50, 50)); // the core, covered twice
    EXPECT_FALSE(s.contains(5, 5));
    EXPECT_FALSE(s.contains(50, 95));
    EXPECT_FALSE(lassoOf({{0, 0}, {90, 90}}).contains(45, 45)) << "two points enclose nothing";
    EXPECT_FALSE(Lasso{}.contains(0, 0));
}

TEST(Lasso, CatchesEachVisibleMarkerInsideOnce) {
    PickImage ids = emptyImage(40, 30);
    const int markers = 2;
    const uint32_t handleCount = 8;
    put(ids, 5, 5, markers, 3 * TRIANGLES_PER_MARKER + 7); // cell 3, over several pixels
    put(ids, 6, 5, markers, 3 * TRIANGLES_PER_MARKER + 19);
    put(ids, 6, 6, markers, 3 * TRIANGLES_PER_MARKER);
    put(ids, 10, 8, markers, 0);                            // cell 0
    put(ids, 8, 8, 1, 4 * TRIANGLES_PER_MARKER);            // the mesh, not a marker
    put(ids, 9, 9, markers, 8 * TRIANGLES_PER_MARKER);      // no such cell
    put(ids, 30, 20, markers, 5 * TRIANGLES_PER_MARKER);    // outside the lasso
    put(ids, 12, 8, markers, 7 * TRIANGLES_PER_MARKER + 1); // on the right edge: outside

    const Lasso square = lassoOf({{2, 2}, {12, 2}, {12, 12}, {2, 12}});
    EXPECT_EQ(square.caughtCells(ids, markers, GLMesh::MARKER_INDICES, handleCount),
              (std::vector<uint32_t>{0, 3}));
    // Another object number or fewer cells catch accordingly.
    EXPECT_EQ(square.caughtCells(ids, 1, GLMesh::MARKER_INDICES, handleCount),
              (std::vector<uint32_t>{4}));
    EXPECT_EQ(square.caughtCells(ids, markers, GLMesh::MARKER_INDICES, 3),
              (std::vector<uint32_t>{0}));

    // Dragged far outside the window on every side: only the image is read.
    const Lasso huge = lassoOf({{-5000, -4000}, {9000, -4000}, {9000, 7000}, {-5000, 7000}});
    EXPECT_EQ(huge.caughtCells(ids, markers, GLMesh::MARKER_INDICES, handleCount),
              (std::vector<uint32_t>{0, 3, 5, 7}));
}

TEST(Lasso, CatchesNothingFromTooFewPointsOrAnUnusableImage) {
    PickImage ids = emptyImage(20, 20);
    put(ids, 10, 10, 1, 0);
    const Lasso line = lassoOf({{0, 0}, {19, 19}});
    EXPECT_TRUE(line.caughtCells(ids, 1, GLMesh::MARKER_INDICES, 4).empty());
    EXPECT_TRUE(Lasso{}.caughtCells(ids, 1, GLMesh::MARKER_INDICES, 4).empty());

    const Lasso all = lassoOf({{-1, -1}, {30, -1}, {30, 30}, {-1, 30}});
    ASSERT_EQ(all.caughtCells(ids, 1, GLMesh::MARKER_INDICES, 4).size(), 1u);
    EXPECT_TRUE(all.caughtCells(ids, 1, 0, 4).empty()) << "no triangles per marker";
    EXPECT_TRUE(all.caughtCells(ids, 0, GLMesh::MARKER_INDICES, 4).empty()) << "background";
    EXPECT_TRUE(all.caughtCells(PickImage{}, 1, GLMesh::MARKER_INDICES, 4).empty());
    PickImage shortImage = ids;
    shortImage.pixels.resize(ids.pixels.size() - 1);
    EXPECT_TRUE(all.caughtCells(shortImage, 1, GLMesh::MARKER_INDICES, 4).empty());
}

TEST(Lasso, CatchesExactlyThePixelsItContains) {
    // Every pixel its own one-triangle marker: the cells caught are the pixels inside.
    const int size = 100;
    PickImage ids = emptyImage(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            put(ids, x, y, 1, y * size + x);
        }
    }
    for (const Lasso& lasso : {star(), lassoOf({{3, 3}, {96, 40}, {3, 96}, {40, 41}}),
                               lassoOf({{-20, 50}, {50, -20}, {120, 50}, {50, 120}})}) {
        std::vector<uint32_t> inside;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                if (lasso.contains(x, y)) {
                    inside.push_back(static_cast<uint32_t>(y * size + x));
                }
            }
        }
        EXPECT_GT(inside.size(), 500u);
        EXPECT_EQ(lasso.caughtCells(ids, 1, 3, size * size), inside);
    }
}

TEST(Lasso, HatchesItsInsideDiagonallyBothWays) {
    const Lasso square = lassoOf({{0, 0}, {40, 0}, {40, 40}, {0, 40}});
    int rising = 0;
    int falling = 0;
    for (const HatchSegment& s : square.hatchSegments(8)) {
        const float dx = s.x1 - s.x0;
        const float dy = s.y1 - s.y0;
        ASSERT_NEAR(std::fabs(dx), std::fabs(dy), 1e-4f);
        (dx * dy > 0 ? rising : falling) += 1;
        // From edge to edge of the square.
        for (const float v : {s.x0, s.y0, s.x1, s.y1}) {
            EXPECT_GE(v, -1e-4f);
            EXPECT_LE(v, 40.0001f);
        }
        EXPECT_TRUE(std::fabs(s.x0) < 1e-4f || std::fabs(s.x0 - 40) < 1e-4f ||
                    std::fabs(s.y0) < 1e-4f || std::fabs(s.y0 - 40) < 1e-4f);
    }
    // Lines every 8 pixels across 80 pixels of each diagonal, less the corner points.
    EXPECT_GE(rising, 8);
    EXPECT_LE(rising, 11);
    EXPECT_EQ(rising, falling);

    // Nothing is hatched where the alternate rule leaves a hole.
    for (const HatchSegment& s : star().hatchSegments(4)) {
        const float mx = (s.x0 + s.x1) / 2;
        const float my = (s.y0 + s.y1) / 2;
        EXPECT_FALSE(std::fabs(mx - 50) < 5 && std::fabs(my - 50) < 5) << mx << "," << my;
    }
    EXPECT_TRUE(lassoOf({{0, 0}, {40, 40}}).hatchSegments().empty());
}
