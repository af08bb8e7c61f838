#include "LodGrid.h"

#include "SculptImageWriter.h"
#include "ShapeTypes.h"

#include <algorithm>
#include <cmath>

namespace tesk {

int lodLevelOfFaces(int faces) {
    for (size_t i = 0; i < kLodLevels.size(); ++i) {
        if (kLodLevels[i].faces == faces) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int lodSample(int t, int faces, int side) {
    return static_cast<int>(static_cast<float>(t) / static_cast<float>(faces) *
                            static_cast<float>(side));
}

LodPixel lodPixel(int s, int t, int faces, int width, int height, int stitch) {
    LodPixel p{lodSample(t, faces, width), lodSample(s, faces, height)};
    if (p.row == 0 && stitch == kStitchSphere) {
        p.column = width / 2;
    }
    if (p.row == height) {
        p.row = stitch == kStitchTorus ? 0 : height - 1;
        if (stitch == kStitchSphere) {
            p.column = width / 2;
        }
    }
    if (p.column == width) {
        p.column = stitch == kStitchPlane ? width - 1 : 0;
    }
    return p;
}

LodTexCoord lodTexCoord(int row, int column, int faces) {
    const auto f = static_cast<float>(faces);
    return {static_cast<float>(column) / f, static_cast<float>(row) / f};
}

Point3 lodPosition(uint32_t colour) {
    const auto channel = [colour](int shift) {
        return static_cast<float>((colour >> shift) & 0xFFu) / 255.0f - 0.5f;
    };
    return {channel(0), channel(8), channel(16)};
}

uint32_t lodColour(Point3 position) {
    const auto code = [](float v) {
        return static_cast<uint32_t>(std::clamp(std::lround((v + 0.5f) * 255.0f), 0L, 255L));
    };
    return code(position.x) | code(position.y) << 8 | code(position.z) << 16;
}

Point3 LodGrid::between(float row, float column) const {
    const int r = std::clamp(static_cast<int>(row), 0, faces - 1);
    const int c = std::clamp(static_cast<int>(column), 0, faces - 1);
    const float fr = row - static_cast<float>(r);
    const float fc = column - static_cast<float>(c);
    const Point3 lower = at(r, c) * (1.0f - fc) + at(r, c + 1) * fc;
    const Point3 upper = at(r + 1, c) * (1.0f - fc) + at(r + 1, c + 1) * fc;
    return lower * (1.0f - fr) + upper * fr;
}

bool buildLodGrid(std::span<const uint32_t> picture, int width, int height, int stitch, int faces,
                  LodGrid& out) {
    if (faces < 1 || width <= 0 || height <= 0 ||
        picture.size() != static_cast<size_t>(width) * static_cast<size_t>(height)) {
        return false;
    }
    out.faces = faces;
    out.stitch = stitch;
    const size_t count = static_cast<size_t>(faces + 1) * static_cast<size_t>(faces + 1);
    out.vertices.resize(count);
    out.texCoords.resize(count);
    Point3* v = out.vertices.data();
    LodTexCoord* uv = out.texCoords.data();
    for (int s = 0; s <= faces; ++s) {
        for (int t = 0; t <= faces; ++t) {
            *uv++ = lodTexCoord(s, t, faces);
            const LodPixel p = lodPixel(s, t, faces, width, height, stitch);
            *v++ = lodPosition(
                picture[static_cast<size_t>(height - 1 - p.row) * static_cast<size_t>(width) +
                        static_cast<size_t>(p.column)]);
        }
    }
    return true;
}

float lodSurfaceArea(const LodGrid& grid) {
    float area = 0.0f;
    for (int s = 0; s < grid.faces; ++s) {
        for (int t = 0; t < grid.faces; ++t) {
            const Point3 p1 = grid.at(s, t);
            const Point3 p2 = grid.at(s, t + 1);
            const Point3 p3 = grid.at(s + 1, t);
            const Point3 p4 = grid.at(s + 1, t + 1);
            area += (length(cross(p1 - p2, p1 - p3)) + length(cross(p4 - p2, p4 - p3))) * 0.5f;
        }
    }
    return area;
}

void resampleLodGrid(const LodGrid& grid, int width, int height, std::span<uint32_t> picture) {
    if (grid.faces < 1 || width <= 0 || height <= 0 ||
        picture.size() != static_cast<size_t>(width) * static_cast<size_t>(height)) {
        return;
    }
    // Pixel p stands at p / side along a side; where position `side` clamps, viewers read the
    // last pixel there, so it takes the level's last vertex.
    const auto place = [&grid](int p, int side, bool clamps) {
        return clamps && p == side - 1 ? static_cast<float>(grid.faces)
                                       : static_cast<float>(p) * static_cast<float>(grid.faces) /
                                             static_cast<float>(side);
    };
    const bool rowsClamp = grid.stitch != kStitchTorus;
    const bool columnsClamp = grid.stitch == kStitchPlane;
    for (int y = 0; y < height; ++y) {
        uint32_t* row = picture.data() + static_cast<size_t>(height - 1 - y) * width;
        for (int x = 0; x < width; ++x) {
            row[x] =
                lodColour(grid.between(place(y, height, rowsClamp), place(x, width, columnsClamp)));
        }
    }
}

std::vector<uint32_t> pictureOfMap(std::span<const uint32_t> map) {
    std::vector<uint32_t> picture(map.size());
    std::transform(map.begin(), map.end(), picture.begin(), SculptFileColour);
    return picture;
}

} // namespace tesk
