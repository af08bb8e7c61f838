#include "GLMesh.h"

#include "ImageBuffer.h"
#include "LodGrid.h"
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
    for (size_t v = 0; v < normals.size(); v += 3) {
        float* n = nrm + v;
        const float len = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        if (len < MIN_NORMAL_LENGTH) {
            continue;
        }
        n[0] /= len;
        n[1] /= len;
        n[2] /= len;
    }
}

namespace {

/// Work planes of the grid normals, one component each: the positions, the unit normals of the
/// two triangles per quad with a zero border all round (so every vertex finds its six
/// neighbouring faces in place), and the summed vertex normals. Separate planes let every
/// loop below run over plain arrays, four or eight vertices at a time.
struct GridPlanes {
    size_t n = 0;
    std::vector<float> p[3];
    std::vector<float> a[3]; // (f, f + 1, f + n + 1)
    std::vector<float> b[3]; // (f, f + n + 1, f + n)
    std::vector<float> sum[3];
};

/// Divides unconditionally and then chooses, so that the loops need no branch; the quotient
/// of an unusable length is never kept.
inline float unitOrZero(float component, float len) {
    const float q = component / len;
    return !(len < MIN_NORMAL_LENGTH) ? q : 0.0f;
}

inline float unitOrSame(float component, float len) {
    const float q = component / len;
    return !(len < MIN_NORMAL_LENGTH) ? q : component;
}

/// The unit normals of the two triangles of each quad of rows r and r + 1, written from
/// `out` on. (P1 - P0) x (P0 - P2) as Point3's cross() and dot() have it, written out in plain
/// floats over planes that cannot overlap, so that the loop runs several quads at a time.
void quadRowNormals(const float* __restrict px, const float* __restrict py,
                    const float* __restrict pz, size_t un, float* __restrict ax,
                    float* __restrict ay, float* __restrict az, float* __restrict bx,
                    float* __restrict by, float* __restrict bz) {
    for (size_t c = 0; c + 1 < un; ++c) {
        const size_t g = c + un + 1; // across the quad
        const size_t h = c + un;     // below
        const float ux = px[c + 1] - px[c], uy = py[c + 1] - py[c], uz = pz[c + 1] - pz[c];
        const float vx = px[c] - px[g], vy = py[c] - py[g], vz = pz[c] - pz[g];
        const float wx = px[g] - px[c], wy = py[g] - py[c], wz = pz[g] - pz[c];
        const float tx = px[c] - px[h], ty = py[c] - py[h], tz = pz[c] - pz[h];
        const float fax = uy * vz - uz * vy, fay = uz * vx - ux * vz, faz = ux * vy - uy * vx;
        const float fbx = wy * tz - wz * ty, fby = wz * tx - wx * tz, fbz = wx * ty - wy * tx;
        const float la = std::sqrt(fax * fax + fay * fay + faz * faz);
        const float lb = std::sqrt(fbx * fbx + fby * fby + fbz * fbz);
        ax[c] = unitOrZero(fax, la);
        ay[c] = unitOrZero(fay, la);
        az[c] = unitOrZero(faz, la);
        bx[c] = unitOrZero(fbx, lb);
        by[c] = unitOrZero(fby, lb);
        bz[c] = unitOrZero(fbz, lb);
    }
}

/// One component of one row's vertex sums: the faces of quads (r-1, c-1), (r-1, c), (r, c-1)
/// and (r, c) from the padded rows r (a0, b0) and r + 1 (a1, b1), in triangle-list order.
void gatherRow(const float* __restrict a0, const float* __restrict b0, const float* __restrict a1,
               const float* __restrict b1, size_t un, float* __restrict sum) {
    for (size_t c = 0; c < un; ++c) {
        sum[c] = 0.0f + a0[c] + b0[c] + b0[c + 1] + a1[c] + a1[c + 1] + b1[c + 1];
    }
}

/// The summed normals scaled to unit length, into other planes: written in place, the loop
/// would store only where the length allows and could not run several vertices at a time.
void normaliseSums(const float* __restrict sx, const float* __restrict sy,
                   const float* __restrict sz, size_t count, float* __restrict nx,
                   float* __restrict ny, float* __restrict nz) {
    for (size_t v = 0; v < count; ++v) {
        const float len = std::sqrt(sx[v] * sx[v] + sy[v] * sy[v] + sz[v] * sz[v]);
        nx[v] = unitOrSame(sx[v], len);
        ny[v] = unitOrSame(sy[v], len);
        nz[v] = unitOrSame(sz[v], len);
    }
}

/// computeVertexNormals for the index list BuildFromSculptMap makes, without the index list: each
/// vertex gathers its (up to) six faces in the order the triangle loop would have added them,
/// so every sum rounds exactly as there. A missing or degenerate face adds +0, which leaves a
/// sum that starts from +0 unchanged.
void computeGridNormals(const std::vector<float>& positions, int n, std::vector<float>& normals) {
    static thread_local GridPlanes w;
    const auto un = static_cast<size_t>(n);
    const size_t stride = un + 1;
    if (w.n != un) { // the faces' border stays zero from here on
        w.n = un;
        for (int k = 0; k < 3; ++k) {
            w.p[k].resize(un * un);
            w.sum[k].resize(un * un);
            w.a[k].assign(stride * stride, 0.0f);
            w.b[k].assign(stride * stride, 0.0f);
        }
    }
    for (size_t v = 0; v < un * un; ++v) {
        for (size_t k = 0; k < 3; ++k) {
            w.p[k][v] = positions[3 * v + k];
        }
    }
    for (size_t r = 0; r + 1 < un; ++r) {
        const size_t out = (r + 1) * stride + 1;
        quadRowNormals(w.p[0].data() + r * un, w.p[1].data() + r * un, w.p[2].data() + r * un, un,
                       w.a[0].data() + out, w.a[1].data() + out, w.a[2].data() + out,
                       w.b[0].data() + out, w.b[1].data() + out, w.b[2].data() + out);
    }
    for (size_t k = 0; k < 3; ++k) {
        for (size_t r = 0; r < un; ++r) {
            const float* a = w.a[k].data() + r * stride;
            const float* b = w.b[k].data() + r * stride;
            gatherRow(a, b, a + stride, b + stride, un, w.sum[k].data() + r * un);
        }
    }
    // The position planes are done with and take the unit normals.
    normaliseSums(w.sum[0].data(), w.sum[1].data(), w.sum[2].data(), un * un, w.p[0].data(),
                  w.p[1].data(), w.p[2].data());
    normals.resize(positions.size());
    for (size_t v = 0; v < un * un; ++v) {
        for (size_t k = 0; k < 3; ++k) {
            normals[3 * v + k] = w.p[k][v];
        }
    }
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
    constexpr float byteScale = 1.0f / 256.0f;
    float* pos = positions.data();
    float* uv = texCoords.data();
    for (int i = 0; i < n; ++i) {
        const RowSample row = sampleRow(i, last, height, stitchType);
        // Vertex row 0 reads the last row of the pixel array: the map is stored top row first.
        const uint32_t* pixels = image.pixels.data() + static_cast<size_t>(width) *
                                                           static_cast<size_t>(height - 1 - row.h);
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
            // Textures go up top row first, so GL's t counts from the picture's top.
            const LodTexCoord place = lodTexCoord(i, j, last);
            uv[0] = place.s;
            uv[1] = 1.0f - place.t;
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
        const Point3 at = points[i];
        for (size_t k = 0; k < shape.positions.size(); k += 3) {
            pos[0] = shape.positions[k] + at.x;
            pos[1] = shape.positions[k + 1] + at.y;
            pos[2] = shape.positions[k + 2] + at.z;
            pos += 3;
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
