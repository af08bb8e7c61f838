#pragma once
// The schematic net of the 2-D point editor: where each point, segment and level badge lies in
// the view for a shape's dimensions and a client size, and which segment the pointer is on.
// Plain integers only, so the rules can be checked without a window.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tesk {

class SPMesh;

/// A rectangle in client coordinates; it holds the points from left/top up to, but not
/// including, right/bottom.
struct NetRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    int centreX() const { return (left + right) / 2; }
    int centreY() const { return (top + bottom) / 2; }
    /// The rectangle between two corners given in any order.
    static NetRect between(int x1, int y1, int x2, int y2);
};

/// One editable point: cell k is point k mod P of line k / P + 1. Its flags live in the
/// document.
struct NetCell {
    NetRect rect; ///< the 16 x 16 square round the point's node
};

inline constexpr int32_t kTopPole = -1;
inline constexpr int32_t kBottomPole = -2;

/// A line of the net between two points, or between a point and a pole.
struct NetSegment {
    uint32_t flags = 0; ///< CELL_HOVER only
    int32_t x1 = 0;
    int32_t y1 = 0;
    int32_t x2 = 0;
    int32_t y2 = 0;
    int32_t cell1 = 0; ///< cell index, or kTopPole
    int32_t cell2 = 0; ///< cell index, or kBottomPole
};

/// The badge of a column (entries 0 .. P-1) or of an interior line (entry P + j for line j + 1).
struct LevelMarker {
    uint32_t flags = 0; ///< CELL_HOVER only
    NetRect rect;
    int32_t level = 0;
};

/// Layout of the view, in client pixels.
inline constexpr int kModeBarHeight = 20;
inline constexpr int kBadgeSize = 24;
inline constexpr int kNetLeft = 16;
inline constexpr int kNetTop = kModeBarHeight + kBadgeSize;
inline constexpr int kNodeSize = 16;
inline constexpr int kScissorsSize = 32;
inline constexpr int kSegmentTolerance = 6;

struct NetPoint {
    int x = 0;
    int y = 0;
};

class PENet {
public:
    /// Takes the dimensions and levels of the shape and lays the net out again. Arrays whose
    /// count changes are made anew (segment hover cleared); a shape without points or with
    /// fewer than two lines gives an empty net.
    void update(const SPMesh& mesh);
    /// Lays the net out for a client size; remembered for later updates.
    void layout(int clientWidth, int clientHeight);

    int points() const { return m_points; }
    int lines() const { return m_lines; }
    /// Whether the net area has a size at all; a pane too small draws and hits nothing.
    bool drawn() const { return m_drawn; }
    /// Size of the net area (client width - 40, client height - 60).
    int width() const { return m_width; }
    int height() const { return m_height; }
    double columnPitch() const { return m_columnPitch; }

    /// Node of a row and column, the poles, in net-area coordinates (client minus the
    /// net area's corner).
    NetPoint node(int row, int column) const;
    NetPoint topPole() const;
    NetPoint bottomPole() const;

    /// Ring segments come first: their count is P x (n - 2).
    size_t ringSegmentCount() const;
    /// The column (0 .. P-1) or the interior line (1 .. n-2) a badge stands for.
    bool isColumnBadge(size_t marker) const { return marker < static_cast<size_t>(m_points); }
    int badgeLine(size_t marker) const { return static_cast<int>(marker) - m_points + 1; }

    /// The first segment in index order that the client point lies on, or -1.
    int segmentAt(int x, int y) const;
    /// The first segment flagged as hovered, or -1.
    int hoveredSegment() const;
    /// Midpoint of a segment in client coordinates.
    NetPoint midpoint(size_t segment) const;

    std::vector<NetCell> cells;
    std::vector<NetSegment> segments;
    std::vector<LevelMarker> markers;

private:
    void placeCells();
    void placeSegments();
    void placeMarkers();
    NetPoint endPoint(int32_t cell) const;

    int m_points = 0;
    int m_lines = 0;
    int m_clientWidth = 0;
    int m_clientHeight = 0;
    int m_width = -1;
    int m_height = -1;
    bool m_drawn = false;
    double m_columnPitch = 0;
    double m_rowPitch = 0;
};

/// Whether a client point lies on a segment: within the tolerance of the segment's bounding
/// box, and either beyond its ends or closer than the tolerance to it.
bool segmentHit(const NetSegment& segment, int x, int y);

} // namespace tesk
