#include "Lasso.h"

#include <algorithm>
#include <cmath>

namespace tesk {

bool Lasso::add(LassoPoint p) {
    if (!m_points.empty()) {
        const int64_t dx = p.x - m_points.back().x;
        const int64_t dy = p.y - m_points.back().y;
        if (dx * dx + dy * dy < MIN_STEP_SQUARED) {
            return false;
        }
    }
    m_points.push_back(p);
    return true;
}

void Lasso::crossings(int a, int b, double c, std::vector<Crossing>& out) const {
    out.clear();
    const size_t n = m_points.size();
    for (size_t i = 0; i < n; ++i) {
        const LassoPoint p = m_points[i];
        const LassoPoint q = m_points[(i + 1) % n];
        const double sp = a * static_cast<double>(p.x) + b * static_cast<double>(p.y);
        const double sq = a * static_cast<double>(q.x) + b * static_cast<double>(q.y);
        if ((sp > c) == (sq > c)) {
            continue;
        }
        const double u = (c - sp) / (sq - sp);
        const double x = p.x + u * (q.x - p.x);
        const double y = p.y + u * (q.y - p.y);
        out.push_back({b * x - a * y, x, y});
    }
    std::sort(out.begin(), out.end(),
              [](const Crossing& l, const Crossing& r) { return l.along < r.along; });
}

bool Lasso::contains(int x, int y) const {
    if (m_points.size() < 3) {
        return false;
    }
    std::vector<Crossing> row;
    crossings(0, 1, y, row);
    const auto left =
        std::count_if(row.begin(), row.end(), [x](const Crossing& c) { return c.x <= x; });
    return left % 2 == 1;
}

std::vector<uint32_t> Lasso::caughtCells(const PickImage& ids, int markerNumber,
                                         int indicesPerMarker, uint32_t handleCount) const {
    std::vector<uint32_t> cells;
    const int trianglesPerMarker = indicesPerMarker / 3;
    if (m_points.size() < 3 || markerNumber <= 0 || markerNumber > 0xFF ||
        trianglesPerMarker <= 0 || ids.width <= 0 || ids.height <= 0 ||
        ids.pixels.size() < static_cast<size_t>(ids.width) * static_cast<size_t>(ids.height)) {
        return cells;
    }
    int top = ids.height;
    int bottom = -1;
    for (const LassoPoint p : m_points) {
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    top = std::max(top, 0);
    bottom = std::min(bottom, ids.height - 1);

    std::vector<Crossing> row;
    for (int y = top; y <= bottom; ++y) {
        crossings(0, 1, y, row);
        // Pixels x with start <= x < end of each inside stretch, clipped to the image.
        for (size_t i = 0; i + 1 < row.size(); i += 2) {
            const double start = std::max(std::ceil(row[i].x), 0.0);
            const double end = std::min(std::ceil(row[i + 1].x), static_cast<double>(ids.width));
            for (int x = static_cast<int>(start); x < static_cast<int>(end); ++x) {
                const uint32_t pixel = ids.pixel(x, y);
                if (static_cast<int>(pixel & 0xFFu) != markerNumber) {
                    continue;
                }
                const uint32_t cell =
                    ((pixel >> 8) & 0xFFFFu) / static_cast<uint32_t>(trianglesPerMarker);
                if (cell < handleCount) {
                    cells.push_back(cell);
                }
            }
        }
    }
    std::sort(cells.begin(), cells.end());
    cells.erase(std::unique(cells.begin(), cells.end()), cells.end());
    return cells;
}

std::vector<HatchSegment> Lasso::hatchSegments(int spacing) const {
    std::vector<HatchSegment> segments;
    if (m_points.size() < 3 || spacing <= 0) {
        return segments;
    }
    std::vector<Crossing> line;
    for (const int b : {-1, 1}) {
        // Lines x + b y = c for every multiple c of the spacing across the polygon.
        int low = m_points.front().x + b * m_points.front().y;
        int high = low;
        for (const LassoPoint p : m_points) {
            low = std::min(low, p.x + b * p.y);
            high = std::max(high, p.x + b * p.y);
        }
        const int first = static_cast<int>(std::ceil(static_cast<double>(low) / spacing));
        for (int k = first; k * spacing <= high; ++k) {
            crossings(1, b, static_cast<double>(k) * spacing, line);
            for (size_t i = 0; i + 1 < line.size(); i += 2) {
                if (line[i].along == line[i + 1].along) {
                    continue; // a line through a corner only
                }
                segments.push_back({static_cast<float>(line[i].x), static_cast<float>(line[i].y),
                                    static_cast<float>(line[i + 1].x),
                                    static_cast<float>(line[i + 1].y)});
            }
        }
    }
    return segments;
}

} // namespace tesk
