#pragma once
// The lasso drawn over the 3-D preview: a growing polygon of client pixels (y downward), the
// cells whose markers it catches in a pick image, and the hatch lines that show it. No GL.

#include "PickImage.h"

#include <cstdint>
#include <vector>

namespace tesk {

struct LassoPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(LassoPoint, LassoPoint) = default;
};

/// A line from (x0, y0) to (x1, y1) in client pixels.
struct HatchSegment {
    float x0, y0, x1, y1;
};

class Lasso {
public:
    /// A new point must lie at least this far (squared, in pixels) from the last one.
    static constexpr int MIN_STEP_SQUARED = 10;
    /// Distance between hatch lines along each axis.
    static constexpr int HATCH_SPACING = 8;

    void clear() { m_points.clear(); }
    /// Appends the point when the lasso is empty or the point is far enough from the last;
    /// true when appended.
    bool add(LassoPoint p);
    const std::vector<LassoPoint>& points() const { return m_points; }
    size_t size() const { return m_points.size(); }

    /// Whether client pixel (x, y) lies inside the polygon under the alternate (even-odd)
    /// rule. A polygon needs three points.
    bool contains(int x, int y) const;
    /// The cells whose markers show inside the polygon in `ids`: pixels of object
    /// `markerNumber` whose triangle index, divided by the triangles per marker, is below
    /// `handleCount`. Each cell once, in ascending order. Only pixels inside both the polygon
    /// and the image are read.
    std::vector<uint32_t> caughtCells(const PickImage& ids, int markerNumber, int indicesPerMarker,
                                      uint32_t handleCount) const;
    /// The parts inside the polygon of the lines x - y = k s and x + y = k s (s = `spacing`):
    /// a diagonal cross-hatch.
    std::vector<HatchSegment> hatchSegments(int spacing = HATCH_SPACING) const;

private:
    struct Crossing {
        double along; ///< position along the line
        double x;
        double y;
    };
    /// Where the line a x + b y = c crosses the polygon's edges, ordered along the line. An
    /// edge that ends on the line counts at one of its ends only, so the crossings pair up
    /// into the inside stretches.
    void crossings(int a, int b, double c, std::vector<Crossing>& out) const;

    std::vector<LassoPoint> m_points;
};

} // namespace tesk
