#pragma once
// The mouse rules of the 2-D point editor: hover, the rubber band, clicks on points, segments
// and badges, and the edit mode the mode bar sets. Client coordinates in; cell flags and edit
// commands go to the document, segment and badge flags to the net. Each handler returns true
// when the view must repaint.

#include "PENet.h"

#include <cstdint>
#include <vector>

namespace tesk {

class Ctesk001Doc;

/// Edit mode: the low four bits are the main mode (1 select, 2 divide), the high four bits the
/// divide operation (1 add, 2 delete).
inline constexpr uint8_t MODE_SELECT = 0x11;
inline constexpr uint8_t MODE_DIVIDE_ADD = 0x12;
inline constexpr uint8_t MODE_DIVIDE_DELETE = 0x22;

/// Below these a divide click may insert; above them it may delete (the shape has its own,
/// lower limits for insertions).
inline constexpr int kDivideInsertLimit = 32;
inline constexpr int kDivideKeepAtLeast = 4;

class PEMouse {
public:
    PEMouse(Ctesk001Doc& doc, PENet& net) : m_doc(doc), m_net(net) {}

    uint8_t mode() const { return m_mode; }
    bool selecting() const { return (m_mode & 0x0F) == 1; }
    bool dividing() const { return (m_mode & 0x0F) == 2; }

    // --- the mode bar -----------------------------------------------------------------
    /// Select mode: only the main mode changes, the divide operation is kept.
    void chooseSelect();
    /// Divide mode with the operation whose button is checked.
    void chooseDivide(bool addChecked, bool deleteChecked);
    void chooseAdd();
    void chooseDelete();
    /// Ends a band drag without touching the selection.
    void cancelBand();

    // --- the pointer ------------------------------------------------------------------
    bool move(int x, int y);
    bool leftDown(int x, int y);
    bool leftUp();
    /// During a band drag ends the band; otherwise clears every cell's flags.
    bool rightDown();

    /// Whether the view holds the pointer for a band drag.
    bool captured() const { return m_captured; }
    bool banding() const { return m_banding; }
    /// The band between its anchor and the pointer.
    NetRect band() const;

private:
    /// The document's cell flags, if they match the net's cells.
    bool readFlags(std::vector<uint32_t>& flags) const;
    void writeFlags(const std::vector<uint32_t>& flags);
    bool moveBand(int x, int y);
    bool hover(int x, int y);
    void divide(size_t segment);
    /// The net after a divide or level click: refreshed from the shape whether or not it
    /// changed.
    void refreshNet();

    Ctesk001Doc& m_doc;
    PENet& m_net;
    uint8_t m_mode = MODE_SELECT;
    bool m_captured = false;
    bool m_banding = false;
    NetPoint m_anchor;
    NetPoint m_corner;
};

} // namespace tesk
