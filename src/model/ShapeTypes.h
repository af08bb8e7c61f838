#pragma once
// The nine shape types and everything the program knows about each: the one table that the
// surface builder, the preview, the type bar and the command-line tool read.

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
};

/// The groups of the type bar: "L", "S" and the open sheets "PL"/"PS".
enum class ShapeFamily { Linear, Smooth, Sheet };

/// How one direction of the surface is resampled.
enum class Sampling { Linear, Fixed, CatmullRom, BSpline };

/// Edge sampling of a mesh decoded from the map (the scene's stitch types). TESK's own types
/// use only the sphere and the plane; maps made elsewhere may be meant for the other two.
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
inline constexpr std::array<ShapeTypeInfo, 9> kShapeTypes = {{
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
}};

/// The table entry of a type value, or null for a value that is none of the nine.
const ShapeTypeInfo* findShapeType(int32_t type);
/// True for one of the nine values.
bool isKnownShapeType(int32_t type);
/// Whether the first and last lines are poles. Any value below 100 counts, known or not, so a
/// file's unknown type still gathers its lines the same way.
bool hasPoles(int32_t type);
/// The stitch of the preview mesh: a plane for the sheet values 100 … 199, a sphere otherwise.
int previewStitch(int32_t type);

} // namespace tesk
