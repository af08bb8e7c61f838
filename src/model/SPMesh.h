#pragma once
// The one editable shape: control lines, levels, shape type, the grid and sculpt map of the
// last rebuild, and the effects applied to the map.

#include "EffectRecord.h"
#include "MapSide.h"
#include "Point3.h"
#include "SPLine.h"
#include "ShapeTypes.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tesk {

class Messages;
class ByteReader;
class ByteWriter;

inline constexpr int32_t LEVEL_IMPORTANT = 1;
inline constexpr int32_t LEVEL_SECONDARY = 2;
inline constexpr int32_t LEVEL_NORMAL = 3;
inline constexpr int kMaxImportant = 5;
inline constexpr int kMaxEditLines = 17;
inline constexpr int kMaxEditPoints = 16;

/// "重要ライン指定ができるのは、５ラインまでです。"
extern const char* const kTooManyImportantMessage;

class SPMesh {
public:
    SPMesh() = default;
    SPMesh(const SPMesh&) = delete;
    SPMesh& operator=(const SPMesh&) = delete;

    // --- lines and points -------------------------------------------------------------
    int lineCount() const { return static_cast<int>(lines.size()); }
    /// Point count of line 0; 0 without lines.
    int pointsPerLine() const { return lines.empty() ? 0 : lines.front()->count(); }
    const SPLine& line(int i) const { return *lines[static_cast<size_t>(i)]; }

    /// Destroys all lines, makes lineCount lines of pointsPerLine zero points, all levels 3.
    int reset(int pointsPerLine, int lineCount);
    /// The 4 x 4 shape of the New command.
    void makeDefault();
    bool getPoint(int point, int line, Point3& out) const;
    /// Both refuse a point outside the shape or one with a NaN or infinite coordinate.
    bool setPoint(int point, int line, Point3 p);
    bool setWorkPoint(int point, int line, Point3 p);
    /// Working point, (0, 0, 0) outside the shape.
    Point3 workPoint(int point, int line) const;
    /// All working points line after line, pointsPerLine entries a line (a short line
    /// contributes (0, 0, 0) for its missing points). `out` must hold lineCount x pointsPerLine.
    void copyWorkPoints(Point3* out) const;
    void commitWork();
    void revertWork();
    int insertLine(int c);
    int insertColumn(int d);
    int deleteLine(int a);
    int deleteColumn(int a);

    // --- levels -----------------------------------------------------------------------
    /// Level of a line or column; 3 for an index beyond its list.
    int32_t lineLevel(int line) const;
    int32_t columnLevel(int column) const;
    /// Toggles a line (1 .. n-2) or column between 3 and 1; marking a sixth important one is
    /// refused with kTooManyImportantMessage. Returns true when the level changed.
    bool toggleLineLevel(int line, Messages& messages);
    bool toggleColumnLevel(int column, Messages& messages);

    // --- project file block -----------------------------------------------------------
    /// Writes the shape block (start marker to end marker).
    bool writeMesh(ByteWriter& out) const;
    /// Reads and validates the whole block into temporaries; the mesh changes only when
    /// everything was valid. A NaN or infinite coordinate makes the block invalid.
    bool readMesh(ByteReader& in);

    // --- fields -----------------------------------------------------------------------
    std::vector<std::unique_ptr<SPLine>> lines;
    int32_t SPDimType = DIM_POLES_LINEAR;
    std::vector<Point3> grid;  ///< normalised grid of the last rebuild; empty before
    std::vector<uint32_t> map; ///< sculpt map of the last rebuild; empty before
    int32_t mapWidth = 0;
    int32_t mapHeight = 0;
    Point3 halfExtent;
    std::vector<int32_t> hlevel;
    std::vector<int32_t> vlevel;
    EffectList effects;
};

} // namespace tesk
