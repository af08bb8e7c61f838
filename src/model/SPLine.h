#pragma once
// One control line: committed points and the working points the surface is built from.

#include "Point3.h"

#include <vector>

namespace tesk {

struct SPLine {
    std::vector<Point3> points;     ///< committed positions
    std::vector<Point3> workPoints; ///< working positions, always as long as points

    int count() const { return static_cast<int>(points.size()); }
    /// Committed point i, or (0, 0, 0) outside the line.
    Point3 point(int i) const { return inRange(i) ? points[static_cast<size_t>(i)] : Point3{}; }
    /// Working point i, or (0, 0, 0) outside the line.
    Point3 workPoint(int i) const {
        return inRange(i) ? workPoints[static_cast<size_t>(i)] : Point3{};
    }
    /// For 0 < i < count inserts p at i in both sequences; i == count appends (also on an
    /// empty line); else refused.
    bool insertPoint(int i, Point3 p);
    /// For 0 < i < count removes entry i from both sequences; index 0 is refused.
    bool removePoint(int i);

    bool inRange(int i) const { return i >= 0 && i < count(); }
};

} // namespace tesk
