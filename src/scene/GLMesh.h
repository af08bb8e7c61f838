#pragma once
// A drawable of the 3-D preview: the mesh decoded from a sculpt map, or the control-point
// markers. Draws itself normally and in pick colours; building needs no GL context.

#include "Point3.h"
#include "ShapeTypes.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tesk {

class GLScene;
class ImageBuffer;

inline constexpr int KIND_UNBUILT = 1;
inline constexpr int KIND_MESH = 2;
inline constexpr int KIND_POINTS = 110;

/// Sampling of the sculpt map's edges; the shape-type table names the one of each type.
inline constexpr int STITCH_SPHERE = kStitchSphere;
inline constexpr int STITCH_TORUS = kStitchTorus;
inline constexpr int STITCH_PLANE = kStitchPlane;
inline constexpr int STITCH_CYLINDER = kStitchCylinder;

/// Vertex normals of any triangle list (3 indices each): the normalised sum of the unit face
/// normals (P1 - P0) x (P0 - P2), added in triangle order; degenerate faces add nothing and a
/// vertex with no usable face keeps a zero normal. A mesh built from a sculpt map gets exactly
/// these normals, computed from its grid without the index list.
void computeVertexNormals(const std::vector<float>& positions, const std::vector<uint32_t>& indices,
                          std::vector<float>& normals);

class GLMesh {
public:
    static constexpr uint32_t SELECTED = 0x80000000u; ///< in `selection`

    static constexpr uint32_t DRAW_MODE_MASK = 0xFFFFu; ///< in `flags`: the GL primitive
    static constexpr uint32_t NO_TEXTURE = 1u << 24;
    static constexpr uint32_t VISIBLE = 1u << 28;
    static constexpr int DRAW_TRIANGLES = 4;
    static constexpr int DRAW_LINE_STRIP = 3;

    static constexpr int MARKER_VERTICES = 12;
    static constexpr int MARKER_INDICES = 60;
    static constexpr float MARKER_SIZE = 0.011f;
    static constexpr int MAX_GRID_SIZE = 1024;

    GLMesh();

    /// Decodes the map into an n x n vertex grid with the current `stitchType`. Returns false
    /// and changes nothing for n outside 2 .. MAX_GRID_SIZE or an image without pixels.
    bool BuildFromSculptMap(const ImageBuffer& image, int n);
    /// One marker per point, moved to the point. `pointFlags` is empty or one word per point
    /// (the document's cell flags, which choose the marker's colour);
    /// returns false and changes nothing when it is neither.
    bool BuildPointMarkers(std::span<const Point3> points, std::span<const uint32_t> pointFlags);

    /// Takes over the array storage of a retired mesh, emptied, so that rebuilding in the
    /// replacement reuses memory instead of faulting fresh pages in.
    void reuseStorageOf(GLMesh& retired);

    /// Snaps `position` to hundredths and stores it back, as both draws do first.
    void snapPosition();
    /// The anchor carried through the object's transform.
    Point3 anchorPoint() const;

    /// Normal draw into the current GL context; the caller sets camera, lights and material.
    void draw(const GLScene& scene);
    /// Draws triangle j in the colour (pickNumber, j mod 256, j / 256 mod 256).
    void drawPick(int pickNumber);

    int drawMode() const { return static_cast<int>(flags & DRAW_MODE_MASK); }
    void setDrawMode(int mode);
    size_t vertexCount() const { return positions.size() / 3; }
    size_t indexCount() const { return indices.size(); }
    bool isSelected() const { return (selection & SELECTED) != 0; }

    int id;
    std::string name; ///< "Mesh %d" with the id
    uint32_t selection = 0;
    int kind = KIND_UNBUILT;
    int stitchType = STITCH_SPHERE;
    std::vector<float> positions; ///< 3 per vertex
    std::vector<float> normals;   ///< 3 per vertex
    std::vector<float> texCoords; ///< 2 per vertex
    std::vector<uint32_t> indices;
    int sourceImageId = -1;
    int gridSize = 0;
    std::vector<uint32_t> pointFlags; ///< markers only
    int indicesPerMarker = 0;
    int verticesPerMarker = 0;
    Point3 angles; ///< rotation about X, Y, Z in degrees
    Point3 position;
    Point3 scale{1.0f, 1.0f, 1.0f};
    int textureImageId = -1;
    uint32_t flags = VISIBLE | DRAW_TRIANGLES;
    Point3 anchor;

private:
    void applyTransform();
    void drawMarkers();
};

} // namespace tesk
