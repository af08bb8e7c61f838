#include "PENet.h"

#include "CellFlags.h"
#include "SPMesh.h"

#include <algorithm>
#include <cmath>

namespace tesk {

namespace {
constexpr int kHalfNode = kNodeSize / 2;
constexpr int kBadgeOverhang = 4; // a badge is centred on its node: 8 + 4 = 24 / 2

int trunc(double v) {
    return static_cast<int>(v);
}
} // namespace

NetRect NetRect::between(int x1, int y1, int x2, int y2) {
    return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

void PENet::update(const SPMesh& mesh) {
    const int points = mesh.pointsPerLine();
    const int lines = mesh.lineCount();
    if (points <= 0 || lines < 2) {
        m_points = 0;
        m_lines = 0;
        cells.clear();
        segments.clear();
        markers.clear();
        layout(m_clientWidth, m_clientHeight);
        return;
    }
    m_points = points;
    m_lines = lines;
    const auto p = static_cast<size_t>(points);
    const auto rows = static_cast<size_t>(lines - 2);
    if (cells.size() != p * rows) {
        cells.assign(p * rows, NetCell{});
    }
    if (segments.size() != p * (2 * rows + 1)) {
        segments.assign(p * (2 * rows + 1), NetSegment{});
        const auto cellCount = static_cast<int32_t>(p * rows);
        for (size_t r = 0; r < rows; ++r) {
            for (size_t c = 0; c < p; ++c) {
                NetSegment& s = segments[r * p + c];
                s.cell1 = static_cast<int32_t>(r * p + c);
                s.cell2 = static_cast<int32_t>(r * p + (c + 1) % p);
            }
        }
        for (size_t r = 0; r <= rows; ++r) {
            for (size_t c = 0; c < p; ++c) {
                NetSegment& s = segments[p * rows + r * p + c];
                const auto above = static_cast<int32_t>(r * p + c) - points;
                const auto below = static_cast<int32_t>(r * p + c);
                s.cell1 = above < 0 ? kTopPole : above;
                s.cell2 = below < cellCount ? below : kBottomPole;
            }
        }
    }
    if (markers.size() != p + rows) {
        markers.assign(p + rows, LevelMarker{});
    }
    for (size_t c = 0; c < p; ++c) {
        markers[c].level = mesh.columnLevel(static_cast<int>(c));
    }
    for (size_t j = 0; j < rows; ++j) {
        markers[p + j].level = mesh.lineLevel(static_cast<int>(j) + 1);
    }
    layout(m_clientWidth, m_clientHeight);
}

void PENet::layout(int clientWidth, int clientHeight) {
    m_clientWidth = clientWidth;
    m_clientHeight = clientHeight;
    m_width = clientWidth - 40;
    m_height = clientHeight - 60;
    m_drawn = m_width >= 0 && m_height >= 0 && m_points > 0 && m_lines >= 2;
    if (!m_drawn) {
        // Nothing is drawn, so nothing may be hit either.
        for (NetCell& cell : cells) {
            cell.rect = {};
        }
        for (NetSegment& s : segments) {
            s.x1 = s.y1 = s.x2 = s.y2 = 0;
        }
        for (LevelMarker& m : markers) {
            m.rect = {};
        }
        return;
    }
    m_columnPitch = static_cast<double>(m_width - kNodeSize) / m_points;
    m_rowPitch = static_cast<double>(m_height - kNodeSize) / (m_lines - 1);
    placeCells();
    placeSegments();
    placeMarkers();
}

NetPoint PENet::node(int row, int column) const {
    return {trunc(column * m_columnPitch) + kHalfNode, trunc(row * m_rowPitch) + kHalfNode};
}

NetPoint PENet::topPole() const {
    return {m_width / 2 + kHalfNode, kHalfNode};
}

NetPoint PENet::bottomPole() const {
    return {m_width / 2 + kHalfNode, trunc((m_lines - 1) * m_rowPitch) + kHalfNode};
}

size_t PENet::ringSegmentCount() const {
    return static_cast<size_t>(m_points) * static_cast<size_t>(std::max(m_lines - 2, 0));
}

void PENet::placeCells() {
    for (size_t k = 0; k < cells.size(); ++k) {
        const int row = static_cast<int>(k) / m_points + 1;
        const NetPoint n = node(row, static_cast<int>(k) % m_points);
        const int x = n.x + kNetLeft;
        const int y = n.y + kNetTop;
        cells[k].rect = {x - kHalfNode, y - kHalfNode, x + kHalfNode, y + kHalfNode};
    }
}

NetPoint PENet::endPoint(int32_t cell) const {
    if (cell == kTopPole) {
        return topPole();
    }
    if (cell == kBottomPole) {
        return bottomPole();
    }
    return node(cell / m_points + 1, cell % m_points);
}

void PENet::placeSegments() {
    const size_t rings = ringSegmentCount();
    for (size_t i = 0; i < segments.size(); ++i) {
        NetSegment& s = segments[i];
        const NetPoint a = endPoint(s.cell1);
        // A ring segment runs one pitch to the right; the closing one ends at the row's end
        // rather than going back to the first point.
        const NetPoint b =
            i < rings ? NetPoint{trunc((s.cell1 % m_points + 1) * m_columnPitch) + kHalfNode, a.y}
                      : endPoint(s.cell2);
        s.x1 = a.x + kNetLeft;
        s.y1 = a.y + kNetTop;
        s.x2 = b.x + kNetLeft;
        s.y2 = b.y + kNetTop;
    }
}

void PENet::placeMarkers() {
    for (size_t i = 0; i < markers.size(); ++i) {
        int left = 0;
        int top = 0;
        if (isColumnBadge(i)) {
            left = kNetLeft + trunc(static_cast<double>(i) * m_columnPitch) - kBadgeOverhang;
            top = kModeBarHeight;
        } else {
            left = m_clientWidth - kBadgeSize;
            top = kNetTop + trunc(badgeLine(i) * m_rowPitch) - kBadgeOverhang;
        }
        markers[i].rect = {left, top, left + kBadgeSize, top + kBadgeSize};
    }
}

int PENet::segmentAt(int x, int y) const {
    if (!m_drawn) {
        return -1;
    }
    for (size_t i = 0; i < segments.size(); ++i) {
        if (segmentHit(segments[i], x, y)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int PENet::hoveredSegment() const {
    for (size_t i = 0; i < segments.size(); ++i) {
        if ((segments[i].flags & CELL_HOVER) != 0) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

NetPoint PENet::midpoint(size_t segment) const {
    const NetSegment& s = segments.at(segment);
    return {(s.x1 + s.x2) / 2, (s.y1 + s.y2) / 2};
}

bool segmentHit(const NetSegment& s, int x, int y) {
    NetRect box = NetRect::between(s.x1, s.y1, s.x2, s.y2);
    box = {box.left - kSegmentTolerance, box.top - kSegmentTolerance, box.right + kSegmentTolerance,
           box.bottom + kSegmentTolerance};
    if (!box.contains(x, y)) {
        return false;
    }
    const float dx = static_cast<float>(s.x2 - s.x1);
    const float dy = static_cast<float>(s.y2 - s.y1);
    const float length2 = dx * dx + dy * dy;
    if (length2 == 0.0f) {
        return true; // a segment of no length: the box is all there is
    }
    const float px = static_cast<float>(x - s.x1);
    const float py = static_cast<float>(y - s.y1);
    const float t = (px * dx + py * dy) / length2;
    if (t < 0.0f || t > 1.0f) {
        return true;
    }
    const float distance = std::fabs(px * dy - py * dx) / std::sqrt(length2);
    return static_cast<int>(distance) < kSegmentTolerance;
}

} // namespace tesk
