#pragma once
// The shape types and everything the program knows about each: the one table that the surface
// builder, the preview, the type bar and the command-line tool read. The nine designed types
// make spheres (poles) and sheets; the tube and ring types after them wrap their rows (tube)
// or both directions (ring) so that viewers' cylinder and torus stitchings close their seams.

#include <array>
#include <cstdint>

namespace tesk {

enum SPDimTypeValue : int32_t {
    DIM_POLES_LINEAR = 0,
    DIM_POLES_FIXED = 1,
    DIM_POLES_CR_ALONG = 51,
    DIM_POLES_BSPLINE_ALONG = 52,
    DIM_POLES_CR = 53,
    DIM_POLES_BSPLINE = 54,
    DIM_SHEET_LINEAR = 100,
    DIM_SHEET_BSPLINE_ALONG = 152,
    DIM_SHEET_BSPLINE = 154,
    DIM_CYLINDER_LINEAR = 200,
    DIM_CYLINDER_BSPLINE = 254,
    DIM_TORUS_LINEAR = 300,
    DIM_TORUS_BSPLINE = 354,
};

/// The groups of the type bar: "L", "S", the open sheets "PL"/"PS", the tubes "C", the rings "T".
enum class ShapeFamily { Linear, Smooth, Sheet, Cylinder, Torus };

/// How one direction of the surface is resampled.
enum class Sampling { Linear, Fixed, CatmullRom, BSpline };

/// Edge sampling of a mesh decoded from the map (the scene's stitch types), as viewers know them.
inline constexpr int kStitchSphere = 1;
inline constexpr int kStitchTorus = 2;
inline constexpr int kStitchPlane = 3;
inline constexpr int kStitchCylinder = 4;

struct ShapeTypeInfo {
    int32_t value;
    const char* caption; ///< on the type bar
    ShapeFamily family;
    bool poles;       ///< first and last lines are poles; sheets leave them out
    Sampling along;   ///< around each line
    Sampling across;  ///< from line to line
    int stitch;       ///< the preview mesh's edge sampling
    const char* face; ///< picture name of the type button's face
};

/// In type-bar order.
inline constexpr std::array<ShapeTypeInfo, 13> kShapeTypes = {{
    {DIM_POLES_LINEAR, "L [1]", ShapeFamily::Linear, true, Sampling::Linear, Sampling::Linear,
     kStitchSphere, "L1"},
    {DIM_POLES_FIXED, "L [2]", ShapeFamily::Linear, true, Sampling::Fixed, Sampling::Fixed,
     kStitchSphere, "L2"},
    {DIM_POLES_CR_ALONG, "S [1]", ShapeFamily::Smooth, true, Sampling::CatmullRom, Sampling::Linear,
     kStitchSphere, "S1"},
    {DIM_POLES_BSPLINE_ALONG, "S [2]", ShapeFamily::Smooth, true, Sampling::BSpline,
     Sampling::Linear, kStitchSphere, "S2"},
    {DIM_POLES_CR, "S [3]", ShapeFamily::Smooth, true, Sampling::CatmullRom, Sampling::CatmullRom,
     kStitchSphere, "S3"},
    {DIM_POLES_BSPLINE, "S [4]", ShapeFamily::Smooth, true, Sampling::BSpline, Sampling::BSpline,
     kStitchSphere, "S4"},
    {DIM_SHEET_LINEAR, "PL [1]", ShapeFamily::Sheet, false, Sampling::Linear, Sampling::Linear,
     kStitchPlane, "PL1"},
    {DIM_SHEET_BSPLINE_ALONG, "PS [2]", ShapeFamily::Sheet, false, Sampling::BSpline,
     Sampling::Linear, kStitchPlane, "PS2"},
    {DIM_SHEET_BSPLINE, "PS [4]", ShapeFamily::Sheet, false, Sampling::BSpline, Sampling::BSpline,
     kStitchPlane, "PS4"},
    {DIM_CYLINDER_LINEAR, "C [1]", ShapeFamily::Cylinder, false, Sampling::Linear, Sampling::Linear,
     kStitchCylinder, "C1"},
    {DIM_CYLINDER_BSPLINE, "C [4]", ShapeFamily::Cylinder, false, Sampling::BSpline,
     Sampling::BSpline, kStitchCylinder, "C4"},
    {DIM_TORUS_LINEAR, "T [1]", ShapeFamily::Torus, false, Sampling::Linear, Sampling::Linear,
     kStitchTorus, "T1"},
    {DIM_TORUS_BSPLINE, "T [4]", ShapeFamily::Torus, false, Sampling::BSpline, Sampling::BSpline,
     kStitchTorus, "T4"},
}};

/// Each line is a closed loop: every stitching but the plane joins the last column to the first.
constexpr bool wrapsAlong(const ShapeTypeInfo& info) {
    return info.stitch != kStitchPlane;
}
/// The last line joins the first: the torus stitching reads the row past the last as the first.
constexpr bool wrapsAcross(const ShapeTypeInfo& info) {
    return info.stitch == kStitchTorus;
}
/// A wrapped direction without poles samples its loop evenly, so the sample past the last (the
/// first, where viewers wrap) lies one regular step on instead of repeating a point.
constexpr bool seamless(const ShapeTypeInfo& info) {
    return !info.poles && wrapsAlong(info);
}

/// The table entry of a type value, or null for a value that is none of the table's.
const ShapeTypeInfo* findShapeType(int32_t type);
/// True for one of the table's values.
bool isKnownShapeType(int32_t type);
/// Whether the first and last lines are poles. Any value below 100 counts, known or not, so a
/// file's unknown type still gathers its lines the same way.
bool hasPoles(int32_t type);
/// The stitch of the preview mesh: the table's, else a plane for the sheet values 100 … 199 and
/// a sphere otherwise.
int previewStitch(int32_t type);

} // namespace tesk
