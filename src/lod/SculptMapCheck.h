#pragma once
// Warns of sculpt maps that viewers show otherwise than the editor does: a surface outside the
// area window, a seam that does not close, poles that do not collapse, detail between the pixels
// that viewers read, and channels too narrow to hold a shape.

#include "LodGrid.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tesk {

/// The stitchings by name, for the command line and the reports.
struct StitchName {
    int stitch;
    const char* name;
};
extern const std::array<StitchName, 4> kStitchNames;
/// The name of a stitching; "sphere" for an unknown value, which viewers read as a sphere.
const char* stitchName(int stitch);

/// Above this distance between the full shape and the 32-face shape, as a fraction of the
/// object's size (about five codes, well above what rounding to codes moves), detail is lost.
inline constexpr float kDetailWarning = 0.02f;
/// A channel spanning 1 … 3 codes gives its axis too few steps; 0 codes is a flat shape.
inline constexpr int kMinChannelSpan = 4;
/// Codes two pixels may differ by and still stand for the same vertex.
inline constexpr int kSameVertexCodes = 1;

enum class CheckSeverity { Ok, Warning, Error };

/// Which warning a finding is, so that the editor can say it in the user's language; its
/// numbers are the finding's values, in the order the text names them.
enum class CheckNote {
    None,            ///< an Ok finding
    AreaOutside,     ///< area, faces, smallest and largest area viewers accept
    SeamOpenRows,    ///< open rows, largest gap, largest step
    SeamOpenColumns, ///< open columns, largest gap, largest step
    SheetLoopColumns,
    SheetLoopRows,
    SheetLoopBoth,
    PolesSpread, ///< spread of the top row, of the bottom row
    DetailLost,  ///< faces, distance in % of the size
    Narrow, ///< the spans of red, green and blue; those of 1 … kMinChannelSpan - 1 are narrow
};

struct CheckFinding {
    CheckSeverity severity;
    const char* name; ///< "area", "seam", "poles", "detail" or "precision"
    std::string text;
    CheckNote note = CheckNote::None;
    std::array<double, 4> values{};
};

struct SculptMapCheck {
    int stitch = 0;
    std::array<float, kViewerFaces.size()> areas{}; ///< at each of kViewerFaces
    /// Closed stitchings: rows whose last column does not lead back to the first, the largest
    /// code difference between a row's first and last columns, and the largest step between
    /// neighbouring columns away from the seam.
    int seamRows = 0;
    int seamGap = 0;
    int seamStep = 0;
    /// Torus stitching: columns whose last row does not lead back to the first.
    int seamColumns = 0;
    /// Sphere stitching: how far (in codes) the top and the bottom row spread from their
    /// middle pixels, which viewers read in their place.
    std::array<int, 2> poleSpread{};
    /// The largest distance of a vertex of the full shape from the surface of the 32-face
    /// shape, as a fraction of the object's size.
    float detail = 0.0f;
    std::array<int, 3> channelSpan{}; ///< largest minus smallest code of red, green and blue
    /// One finding per check, in the order area, seam, poles, detail, precision.
    std::vector<CheckFinding> findings;

    CheckSeverity worst() const;
};

/// Checks a 64 x 64 picture (top row first, red in bits 0-7) read with the stitching. Empty
/// findings for a picture of another size.
SculptMapCheck checkSculptMap(std::span<const uint32_t> picture, int stitch);

} // namespace tesk
