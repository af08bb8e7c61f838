#include "GLMesh.h"

#include "ImageBuffer.h"
#include "ObjectIds.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tesk {

namespace {

constexpr float MIN_NORMAL_LENGTH = 0.000001f;

Point3 vertexAt(const float* positions, uint32_t index) {
    const float* p = positions + 3 * static_cast<size_t>(index);
    return {p[0], p[1], p[2]};
}

/// The last step of both normal computations: each summed normal scaled to unit length, left
/// as it is when shorter than MIN_NORMAL_LENGTH.
void normaliseEach(std::vector<float>& normals) {
    for (size_t v = 0; v < normals.size(); v += 3) {
        float* n = normals.data() + v;
        const float len = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        if (len < MIN_NORMAL_LENGTH) {
            continue;
        }
        n[0] /= len;
        n[1] /= len;
        n[2] /= len;
    }
}

} // namespace

// Lengths divide rather than multiply by a reciprocal, which can turn 1 into 1 - 2^-24: where
// a flat map folds back, opposite faces of different sizes must cancel to zero, or the
// preview's GL_NORMALIZE stretches the residue to a full normal.
void computeVertexNormals(const std::vector<float>& positions, const std::vector<uint32_t>& indices,
                          std::vector<float>& normals) {
    normals.assign(positions.size(), 0.0f);
    const float* pos = positions.data();
    float* nrm = normals.data();
    for (size_t t = 0; t + 2 < indices.size(); t += 3) {
        const uint32_t i0 = indices[t];
        const uint32_t i1 = indices[t + 1];
        const uint32_t i2 = indices[t + 2];
        const Point3 p0 = vertexAt(pos, i0);
        const Point3 face = cross(vertexAt(pos, i1) - p0, p0 - vertexAt(pos, i2));
        const float len = std::sqrt(dot(face, face));
        if (len < MIN_NORMAL_LENGTH) {
            continue;
        }
        const Point3 unit{face.x / len, face.y / len, face.z / len};
        for (const uint32_t i : {i0, i1, i2}) {
            float* n = nrm + 3 * static_cast<size_t>(i);
            n[0] += unit.x;
            n[1] += unit.y;
            n[2] += unit.z;
        }
    }
    normaliseEach(normals);
}

namespace {

/// The unit normals of a grid's two triangles per quad, in planes of one component, with a
/// zero border all round so that every vertex finds its six neighbouring faces in place.
struct GridFaces {
    size_t stride = 0;
    std::vector<float> a[3]; // (f, f + 1, f + n + 1)
    std::vector<float> b[3]; // (f, f + n + 1, f + n)
};

void storeUnitFace(Point3 face, std::vector<float> (&planes)[3], size_t at) {
    const float len = std::sqrt(dot(face, face));
    const bool usable = !(len < MIN_NORMAL_LENGTH);
    planes[0][at] = usable ? face.x / len : 0.0f;
    planes[1][at] = usable ? face.y / len : 0.0f;
    planes[2][at] = usable ? face.z / len : 0.0f;
}

/// computeVertexNormals for the index list BuildFromSculptMap makes, without the index list: each
/// vertex gathers its (up to) six faces in the order the triangle loop would have added them,
/// so every sum rounds exactly as there. A missing or degenerate face adds +0, which leaves a
/// sum that starts from +0 unchanged.
void computeGridNormals(const std::vector<float>& positions, int n, std::vector<float>& normals) {
    static thread_local GridFaces faces;
    const auto un = static_cast<size_t>(n);
    if (faces.stride != un + 1) { // the border stays zero from here on
        faces.stride = un + 1;
        for (auto* planes : {&faces.a, &faces.b}) {
            for (std::vector<float>& plane : *planes) {
                plane.assign(faces.stride * faces.stride, 0.0f);
            }
        }
    }
    const float* pos = positions.data();
    const auto row = static_cast<uint32_t>(n);
    for (size_t r = 0; r + 1 < un; ++r) {
        for (size_t c = 0; c + 1 < un; ++c) {
            const auto f = static_cast<uint32_t>(r * un + c);
            const Point3 p0 = vertexAt(pos, f);
            const Point3 right = vertexAt(pos, f + 1);
            const Point3 across = vertexAt(pos, f + row + 1);
            const Point3 below = vertexAt(pos, f + row);
            const size_t at = (r + 1) * faces.stride + c + 1;
            storeUnitFace(cross(right - p0, p0 - across), faces.a, at);
            storeUnitFace(cross(across - p0, p0 - below), faces.b, at);
        }
    }
    normals.resize(positions.size());
    float* nrm = normals.data();
    for (int k = 0; k < 3; ++k) {
        const float* a = faces.a[k].data();
        const float* b = faces.b[k].data();
        for (size_t r = 0; r < un; ++r) {
            // Faces of quads (r-1, c-1), (r-1, c), (r, c-1), (r, c) in the padded planes.
            const size_t up = r * faces.stride;
            const size_t down = up + faces.stride;
            float* out = nrm + 3 * r * un + static_cast<size_t>(k);
            for (size_t c = 0; c < un; ++c) {
                out[3 * c] = 0.0f + a[up + c] + b[up + c] + b[up + c + 1] + a[down + c] +
                             a[down + c + 1] + b[down + c + 1];
            }
        }
    }
    normaliseEach(normals);
}

struct MarkerTemplate {
    std::vector<float> positions;
    std::vector<float> normals;
    std::vector<uint32_t> indices;
};

/// A unit half circle at 0, 60, 120 and 180 degrees revolved about Y in 90-degree steps: two
/// poles and two rings of five (the fifth closes the ring), so the closing triangles are
/// degenerate and the marker still has 20 triangles for the pick numbering.
MarkerTemplate makeMarkerTemplate() {
    constexpr double degree = 3.14159265358979323846 / 180.0;
    constexpr int ring = 5;
    MarkerTemplate m;
    m.positions.reserve(GLMesh::MARKER_VERTICES * 3);
    const auto add = [&m](double x, double y, double z) {
        m.positions.insert(m.positions.end(),
                           {static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)});
    };
    add(0.0, 1.0, 0.0);
    for (const double a : {60.0, 120.0}) {
        const double radius = std::sin(a * degree);
        const double height = std::cos(a * degree);
        for (int k = 0; k < ring; ++k) {
            const double turn = 90.0 * k * degree;
            add(radius * std::cos(turn), height, -radius * std::sin(turn));
        }
    }
    add(0.0, -1.0, 0.0);

    // Wound so that the face normal (P1 - P0) x (P0 - P2) points outwards.
    constexpr uint32_t top = 0;
    constexpr uint32_t upper = 1;
    constexpr uint32_t lower = 1 + ring;
    constexpr uint32_t bottom = 1 + 2 * ring;
    for (uint32_t k = 0; k < ring; ++k) {
        const uint32_t next = (k + 1) % ring;
        m.indices.insert(m.indices.end(), {top, upper + next, upper + k});
    }
    for (uint32_t k = 0; k < ring; ++k) {
        const uint32_t next = (k + 1) % ring;
        m.indices.insert(m.indices.end(), {upper + k, upper + next, lower + next});
        m.indices.insert(m.indices.end(), {upper + k, lower + next, lower + k});
    }
    for (uint32_t k = 0; k < ring; ++k) {
        const uint32_t next = (k + 1) % ring;
        m.indices.insert(m.indices.end(), {bottom, lower + k, lower + next});
    }
    computeVertexNormals(m.positions, m.indices, m.normals);
    for (float& v : m.positions) {
        v *= GLMesh::MARKER_SIZE;
    }
    return m;
}

const MarkerTemplate& markerTemplate() {
    static const MarkerTemplate shape = makeMarkerTemplate();
    return shape;
}

/// The image row (counted from the top) that vertex row i reads, and whether the whole row
/// collapses to the centre column (the poles of the sphere stitch).
struct RowSample {
    int h;
    bool centre;
};

RowSample sampleRow(int i, int last, int height, int stitch) {
    RowSample s{static_cast<int>(static_cast<int64_t>(i) * height / last),
                i == 0 && stitch == STITCH_SPHERE};
    if (s.h == height) {
        if (stitch == STITCH_TORUS) {
            s.h = 0;
        } else {
            s.h = height - 1;
            s.centre = stitch == STITCH_SPHERE;
        }
    }
    return s;
}

} // namespace

GLMesh::GLMesh() : id(nextObjectId()), name("Mesh " + std::to_string(id)) {}

void GLMesh::setDrawMode(int mode) {
    flags = (flags & ~DRAW_MODE_MASK) | (static_cast<uint32_t>(mode) & DRAW_MODE_MASK);
}

bool GLMesh::BuildFromSculptMap(const ImageBuffer& image, int n) {
    const int width = image.width;
    const int height = image.height;
    if (n < 2 || n > MAX_GRID_SIZE || width <= 0 || height <= 0 ||
        image.pixels.size() < static_cast<size_t>(width) * static_cast<size_t>(height)) {
        return false;
    }
    const size_t count = static_cast<size_t>(n) * static_cast<size_t>(n);
    const int last = n - 1;
    positions.resize(count * 3);
    texCoords.resize(count * 2);
    indices.resize(6 * static_cast<size_t>(last) * static_cast<size_t>(last));

    const bool wrapColumns =
        stitchType == STITCH_SPHERE || stitchType == STITCH_TORUS || stitchType == STITCH_CYLINDER;
    const int columnStep = width / last;
    const int columnRest = width % last;
    const float step = 1.0f / static_cast<float>(last);
    constexpr float byteScale = 1.0f / 256.0f;
    float* pos = positions.data();
    float* uv = texCoords.data();
    for (int i = 0; i < n; ++i) {
        const RowSample row = sampleRow(i, last, height, stitchType);
        // Vertex row 0 reads the last row of the pixel array: the map is stored top row first.
        const uint32_t* pixels = image.pixels.data() + static_cast<size_t>(width) *
                                                           static_cast<size_t>(height - 1 - row.h);
        const float v = std::min(static_cast<float>(last - i) * step, 1.0f);
        // l = trunc(j * width / last), kept as quotient and remainder to avoid a division.
        int quotient = 0;
        int rest = 0;
        for (int j = 0; j < n; ++j) {
            int l = row.centre ? width / 2 : quotient;
            if (l == width) {
                l = wrapColumns ? 0 : width - 1;
            }
            const uint32_t p = pixels[l];
            pos[0] = static_cast<float>(p & 0xFFu) * byteScale - 0.5f;
            pos[1] = static_cast<float>((p >> 8) & 0xFFu) * byteScale - 0.5f;
            pos[2] = static_cast<float>((p >> 16) & 0xFFu) * byteScale - 0.5f;
            uv[0] = std::min(static_cast<float>(j) * step, 1.0f);
            uv[1] = v;
            pos += 3;
            uv += 2;
            quotient += columnStep;
            rest += columnRest;
            if (rest >= last) {
                rest -= last;
                ++quotient;
            }
        }
    }

    uint32_t* idx = indices.data();
    const auto un = static_cast<uint32_t>(n);
    for (uint32_t r = 0; r < un - 1; ++r) {
        for (uint32_t c = 0; c < un - 1; ++c) {
            const uint32_t f = r * un + c;
            idx[0] = f;
            idx[1] = f + 1;
            idx[2] = f + un + 1;
            idx[3] = f;
            idx[4] = f + un + 1;
            idx[5] = f + un;
            idx += 6;
        }
    }
    computeGridNormals(positions, n, normals);

    pointFlags.clear();
    indicesPerMarker = 0;
    verticesPerMarker = 0;
    kind = KIND_MESH;
    gridSize = n;
    sourceImageId = image.id;
    return true;
}

bool GLMesh::BuildPointMarkers(std::span<const Point3> points, std::span<const uint32_t> newFlags) {
    if (!newFlags.empty() && newFlags.size() != points.size()) {
        return false;
    }
    const MarkerTemplate& shape = markerTemplate();
    const size_t count = points.size();
    positions.resize(count * MARKER_VERTICES * 3);
    normals.resize(count * MARKER_VERTICES * 3);
    indices.resize(count * MARKER_INDICES);
    texCoords.clear();
    float* pos = positions.data();
    float* nrm = normals.data();
    uint32_t* idx = indices.data();
    for (size_t i = 0; i < count; ++i) {
        const float offset[3] = {points[i].x, points[i].y, points[i].z};
        for (size_t k = 0; k < shape.positions.size(); ++k) {
            *pos++ = shape.positions[k] + offset[k % 3];
        }
        nrm = std::copy(shape.normals.begin(), shape.normals.end(), nrm);
        const auto first = static_cast<uint32_t>(i * MARKER_VERTICES);
        for (const uint32_t index : shape.indices) {
            *idx++ = index + first;
        }
    }
    pointFlags.assign(newFlags.begin(), newFlags.end());
    kind = KIND_POINTS;
    flags |= NO_TEXTURE;
    indicesPerMarker = MARKER_INDICES;
    verticesPerMarker = MARKER_VERTICES;
    return true;
}

void GLMesh::reuseStorageOf(GLMesh& retired) {
    const auto take = [](auto& mine, auto& theirs) {
        mine.swap(theirs);
        mine.clear();
    };
    take(positions, retired.positions);
    take(normals, retired.normals);
    take(texCoords, retired.texCoords);
    take(indices, retired.indices);
    take(pointFlags, retired.pointFlags);
}

void GLMesh::snapPosition() {
    // The epsilon absorbs the float error of a value already on a hundredth; it has to grow
    // with the value to keep doing so beyond about 1.3, or 2.67 would be drawn at 2.66.
    const auto snap = [](float v) {
        const double scaled = static_cast<double>(v) * 100.0;
        const double tolerance = 0.00001 + std::fabs(scaled) * 0x1p-21;
        return static_cast<float>(std::floor(scaled + tolerance) * 0.01);
    };
    position = {snap(position.x), snap(position.y), snap(position.z)};
}

Point3 GLMesh::anchorPoint() const {
    // Same order as the drawn transform: scale, rotate about Z, Y, then X, translate.
    constexpr float radians = 0.017453292f;
    Point3 p{anchor.x * scale.x, anchor.y * scale.y, anchor.z * scale.z};
    const auto turn = [](float& a, float& b, float angle) {
        const float c = std::cos(angle);
        const float s = std::sin(angle);
        const float na = a * c - b * s;
        b = a * s + b * c;
        a = na;
    };
    turn(p.x, p.y, angles.z * radians);
    turn(p.z, p.x, angles.y * radians);
    turn(p.y, p.z, angles.x * radians);
    return p + position;
}

} // namespace tesk
