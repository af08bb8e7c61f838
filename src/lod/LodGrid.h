#pragma once
// How viewers in the virtual world rebuild a sculpt map: at each level of detail they read only
// some of its pixels into a vertex grid, and they measure that grid's surface before showing it.
// Pictures here are as a picture file holds them: top row first, red in bits 0-7.

#include "Point3.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace tesk {

/// One choice of the preview's level chooser; 0 faces stands for the map as the editor shows it.
struct LodLevel {
    int faces;
    const char* label;
};

/// The chooser's choices in key order (keys 0 … 4): the whole map, then the viewers' four
/// levels from the finest down.
inline constexpr std::array<LodLevel, 5> kLodLevels = {
    {{0, "full"}, {32, "32"}, {16, "16"}, {8, "8"}, {6, "6"}}};
/// The viewers' levels, finest first: the chooser's choices after "full".
inline constexpr std::array<int, kLodLevels.size() - 1> kViewerFaces = [] {
    std::array<int, kLodLevels.size() - 1> faces{};
    for (size_t i = 0; i < faces.size(); ++i) {
        faces[i] = kLodLevels[i + 1].faces;
    }
    return faces;
}();
/// Viewers skip the area test at their coarsest level, so that old maps still show there.
inline constexpr int kAreaUncheckedFaces = 6;
/// Outside this window of surface area (unit-sized shape) viewers show a placeholder sphere.
inline constexpr float kMinSculptArea = 0.002f;
inline constexpr float kMaxSculptArea = 384.0f;

/// The index into kLodLevels of a face count, or -1.
int lodLevelOfFaces(int faces);

/// The pixel that sample t (0 … faces) of a side of `side` pixels reads before stitching:
/// trunc(t / faces × side), in single precision as viewers compute it.
int lodSample(int t, int faces, int side);

/// A pixel of the picture; rows count from the picture's bottom, as viewers count them.
struct LodPixel {
    int column;
    int row;
    friend bool operator==(const LodPixel&, const LodPixel&) = default;
};

/// The pixel that vertex (row s, column t) of a level reads with the stitching: position
/// `side` wraps to 0 or clamps to side - 1, and sphere poles read the middle column.
LodPixel lodPixel(int s, int t, int faces, int width, int height, int stitch);

/// A picture colour as a position of the unit-sized shape: code / 255 - 0.5 per channel.
Point3 lodPosition(uint32_t colour);
/// The nearest picture colour of a position of the unit-sized shape.
uint32_t lodColour(Point3 position);

/// Where a vertex takes its texture, both 0 … 1: s along the map's columns, t along its rows
/// with 0 at the row read from the picture's bottom, so a texture lies on the map upright.
struct LodTexCoord {
    float s;
    float t;
    friend bool operator==(const LodTexCoord&, const LodTexCoord&) = default;
};

/// The texture place of vertex (row, column) of a grid with `faces` faces a side, as viewers
/// give it: column / faces, row / faces. A closed shape's seam column reads the first pixel
/// again but keeps s = 1, so the texture closes there instead of running back over the shape.
LodTexCoord lodTexCoord(int row, int column, int faces);

/// The vertices a viewer builds at one level: (faces + 1)² positions of the unit-sized shape,
/// row-major, row 0 read from the bottom of the picture, each with its texture place.
struct LodGrid {
    int faces = 0;
    int stitch = 0;
    std::vector<Point3> vertices;
    std::vector<LodTexCoord> texCoords;

    int side() const { return faces + 1; }
    Point3 at(int row, int column) const {
        return vertices[static_cast<size_t>(row) * static_cast<size_t>(side()) +
                        static_cast<size_t>(column)];
    }
    /// The surface between the vertices, (row, column) in vertex steps: bilinear in its quad.
    Point3 between(float row, float column) const;
};

/// Reads a width x height picture as a viewer does at `faces` faces per side. Nothing for a
/// picture without width x height pixels or faces below 1.
bool buildLodGrid(std::span<const uint32_t> picture, int width, int height, int stitch, int faces,
                  LodGrid& out);

/// The surface area as viewers sum it: each quad as two triangles.
float lodSurfaceArea(const LodGrid& grid);

/// The grid sampled back into a width x height picture, each pixel taken from its own place on
/// the surface, so that the picture shows the level's shape at the map's resolution and reads
/// back at that level as the same vertices. Nothing unless `picture` has width x height pixels.
void resampleLodGrid(const LodGrid& grid, int width, int height, std::span<uint32_t> picture);

/// The picture a viewer receives for a TESK map exported without flips.
std::vector<uint32_t> pictureOfMap(std::span<const uint32_t> map);
/// The TESK map that exports as this picture.
inline std::vector<uint32_t> mapOfPicture(std::span<const uint32_t> picture) {
    return pictureOfMap(picture); // the colour swap is its own inverse
}

} // namespace tesk
