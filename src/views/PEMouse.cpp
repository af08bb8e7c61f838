#include "PEMouse.h"

#include "CellFlags.h"
#include "Ctesk001Doc.h"

#include <algorithm>

namespace tesk {

void PEMouse::chooseSelect() {
    m_mode = static_cast<uint8_t>((m_mode & 0xF0) | 0x01);
    cancelBand();
}

void PEMouse::chooseDivide(bool addChecked, bool deleteChecked) {
    if (addChecked) {
        m_mode = MODE_DIVIDE_ADD;
    } else if (deleteChecked) {
        m_mode = MODE_DIVIDE_DELETE;
    }
    cancelBand();
}

void PEMouse::chooseAdd() {
    m_mode = MODE_DIVIDE_ADD;
    cancelBand();
}

void PEMouse::chooseDelete() {
    m_mode = MODE_DIVIDE_DELETE;
    cancelBand();
}

void PEMouse::cancelBand() {
    m_captured = false;
    m_banding = false;
    // Band marks left behind would still be drawn as if the points were about to toggle.
    std::vector<uint32_t> flags;
    if (readFlags(flags)) {
        for (uint32_t& f : flags) {
            f &= ~CELL_IN_BAND;
        }
        writeFlags(flags);
    }
}

NetRect PEMouse::band() const {
    return NetRect::between(m_anchor.x, m_anchor.y, m_corner.x, m_corner.y);
}

bool PEMouse::readFlags(std::vector<uint32_t>& flags) const {
    const auto handles = m_doc.handles();
    if (handles.size() != m_net.cells.size()) {
        flags.clear();
        return false;
    }
    flags.assign(handles.begin(), handles.end());
    return true;
}

void PEMouse::writeFlags(const std::vector<uint32_t>& flags) {
    const auto handles = m_doc.handles();
    if (!std::equal(flags.begin(), flags.end(), handles.begin(), handles.end())) {
        m_doc.setHandles(flags);
    }
}

bool PEMouse::move(int x, int y) {
    if (m_captured && m_banding) {
        return moveBand(x, y);
    }
    return hover(x, y);
}

bool PEMouse::moveBand(int x, int y) {
    m_corner = {x, y};
    const NetRect area = band();
    std::vector<uint32_t> flags;
    readFlags(flags);
    for (size_t k = 0; k < flags.size(); ++k) {
        const NetRect& r = m_net.cells[k].rect;
        if (area.contains(r.centreX(), r.centreY())) {
            flags[k] |= CELL_IN_BAND;
        } else {
            flags[k] &= ~CELL_IN_BAND;
        }
    }
    writeFlags(flags);
    return true;
}

bool PEMouse::hover(int x, int y) {
    std::vector<uint32_t> flags;
    readFlags(flags);
    const std::vector<uint32_t> before = flags;

    // Points take the hover only in select mode; in divide mode only segments react. Cells
    // away from the pointer lose it in every mode, or the end points of a segment left behind
    // would stay lit and keep every other segment from being hovered.
    bool pointHovered = false;
    for (size_t k = 0; k < flags.size(); ++k) {
        flags[k] &= ~CELL_HOVER;
        if (selecting() && m_net.cells[k].rect.contains(x, y)) {
            flags[k] |= CELL_HOVER;
            pointHovered = true;
        }
    }

    const int found = pointHovered ? -1 : m_net.segmentAt(x, y);
    bool changed = false;
    for (size_t i = 0; i < m_net.segments.size(); ++i) {
        const uint32_t want = static_cast<int>(i) == found ? CELL_HOVER : 0u;
        changed = changed || m_net.segments[i].flags != want;
        m_net.segments[i].flags = want;
    }
    if (found >= 0) {
        const NetSegment& s = m_net.segments[static_cast<size_t>(found)];
        for (const int32_t end : {s.cell1, s.cell2}) {
            if (end >= 0 && static_cast<size_t>(end) < flags.size()) {
                flags[static_cast<size_t>(end)] |= CELL_HOVER;
            }
        }
    }

    // A badge lights its whole column or line.
    const auto points = static_cast<size_t>(m_net.points());
    for (size_t i = 0; i < m_net.markers.size(); ++i) {
        LevelMarker& marker = m_net.markers[i];
        const uint32_t want = marker.rect.contains(x, y) ? CELL_HOVER : 0u;
        changed = changed || marker.flags != want;
        marker.flags = want;
        if (want == 0) {
            continue;
        }
        for (size_t k = 0; k < flags.size(); ++k) {
            const bool inColumn = m_net.isColumnBadge(i) && k % points == i;
            const bool inLine =
                !m_net.isColumnBadge(i) && static_cast<int>(k / points) + 1 == m_net.badgeLine(i);
            if (inColumn || inLine) {
                flags[k] |= CELL_HOVER;
            }
        }
    }
    writeFlags(flags);
    return changed || flags != before;
}

bool PEMouse::leftDown(int x, int y) {
    if (m_captured) {
        m_captured = false;
        return false;
    }
    bool repaint = false;
    std::vector<uint32_t> flags;
    if (selecting() && readFlags(flags)) {
        for (size_t k = 0; k < flags.size(); ++k) {
            if ((flags[k] & CELL_HOVER) != 0 && m_net.cells[k].rect.contains(x, y)) {
                flags[k] ^= CELL_SELECTED;
                repaint = true;
            }
        }
        writeFlags(flags);
    }

    const int segment = m_net.hoveredSegment();
    if (segment >= 0) {
        if (selecting() && readFlags(flags)) {
            const NetSegment& s = m_net.segments[static_cast<size_t>(segment)];
            for (const int32_t end : {s.cell1, s.cell2}) {
                if (end >= 0 && static_cast<size_t>(end) < flags.size()) {
                    flags[static_cast<size_t>(end)] ^= CELL_SELECTED;
                }
            }
            writeFlags(flags);
        } else if (dividing()) {
            divide(static_cast<size_t>(segment));
        }
        repaint = true;
    }

    if (!selecting()) {
        return repaint;
    }
    // Every badge under the pointer toggles; the shape refuses a sixth important one of its
    // group and says so. The list is taken first: each toggle rebuilds the net.
    std::vector<int> columns;
    std::vector<int> lines;
    for (size_t i = 0; i < m_net.markers.size(); ++i) {
        if (m_net.markers[i].rect.contains(x, y)) {
            if (m_net.isColumnBadge(i)) {
                columns.push_back(static_cast<int>(i));
            } else {
                lines.push_back(m_net.badgeLine(i));
            }
        }
    }
    for (const int column : columns) {
        m_doc.toggleColumnLevel(column);
    }
    for (const int line : lines) {
        m_doc.toggleLineLevel(line);
    }
    refreshNet();
    if (!m_banding) {
        m_captured = true;
        m_banding = true;
        m_anchor = {x, y};
        m_corner = m_anchor;
    }
    return true;
}

void PEMouse::divide(size_t segment) {
    const int points = m_net.points();
    const int lines = m_net.lines();
    const size_t rings = m_net.ringSegmentCount();
    if (segment < rings) {
        const auto row = static_cast<int>(segment);
        if (m_mode == MODE_DIVIDE_ADD && points < kDivideInsertLimit) {
            m_doc.insertColumn(row % points);
        } else if (m_mode == MODE_DIVIDE_DELETE && lines > kDivideKeepAtLeast) {
            m_doc.deleteLine(row / points + 1);
        }
    } else {
        const auto vertical = static_cast<int>(segment - rings);
        if (m_mode == MODE_DIVIDE_ADD && lines < kDivideInsertLimit) {
            m_doc.insertLine(vertical / points);
        } else if (m_mode == MODE_DIVIDE_DELETE && points > kDivideKeepAtLeast) {
            m_doc.deleteColumn(vertical % points);
        }
    }
    refreshNet();
}

void PEMouse::refreshNet() {
    m_net.update(m_doc.mesh());
}

bool PEMouse::leftUp() {
    m_captured = false;
    if (m_banding) {
        std::vector<uint32_t> flags;
        readFlags(flags);
        for (uint32_t& f : flags) {
            if ((f & CELL_IN_BAND) != 0) {
                f ^= CELL_SELECTED;
            }
            f &= ~CELL_IN_BAND;
        }
        writeFlags(flags);
        m_banding = false;
    }
    return true;
}

bool PEMouse::rightDown() {
    if (m_captured) {
        cancelBand();
        return true;
    }
    m_doc.clearSelection();
    return true;
}

} // namespace tesk
