#pragma once
// One exchange with the companion viewer: the shape payload, the send that waits for the
// viewer's acknowledgement, the request name the viewer leaves in the block, and the double
// click notice.

#include "LinkNames.h"
#include "LinkProtocol.h"
#include "Point3.h"
#include "SharedBlock.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace tesk {

class Messages;

/// What the viewer is sent of the shape.
struct ShapeForViewer {
    std::string fileName;
    Point3 halfExtent;
    std::span<const uint32_t> map; ///< 64 x 64 map pixels: X in bits 0-7, Y 8-15, Z 16-23
};

using Payload = std::array<uint8_t, kPayloadSize>;

/// Fills the payload: the name as UTF-16 (at most kPayloadNameUnits units, never splitting a
/// surrogate pair; the rest of its field zero), the word 0, the scale, and the pixels as
/// 0x00RRGGBB words in the sculpt-map picture's colours (red 255 - X, green 255 - Y, blue Z).
void fillPayload(Payload& payload, const ShapeForViewer& shape);

/// The request name in the block's field: the UTF-16 units up to the first zero, and never
/// beyond the field when the viewer left no terminator.
std::string requestNameFrom(std::span<const uint8_t, kRequestBytes> field);

class ViewerLink {
public:
    explicit ViewerLink(const LinkNames& names) : m_names(names), m_block(names.block) {}

    /// Writes the payload, puts `ownId` where the viewer looks for the editor, posts
    /// kMsgShapeReady to the viewer's window and polls for the acknowledgement. -1 when there
    /// is no viewer (no usable block, no window id in it, the editor's own id, or a window
    /// that no longer exists); 0 when no acknowledgement came, after kTransferFailedMessage;
    /// otherwise the acknowledgement.
    int64_t sendShapeToViewer(const ShapeForViewer& shape, uint32_t ownId, Messages& messages);

    /// The request name at kRequestOffset; empty when the block cannot be read.
    std::string readRequestName() const;
    /// Writes four zero bytes over the request name.
    void clearRequestName() const;

    const SharedBlock& block() const { return m_block; }
    uint32_t lastAck() const { return m_lastAck; }
    uint32_t lastPeer() const { return m_lastPeer; }

private:
    LinkNames m_names;
    SharedBlock m_block;
    Payload m_payload{};
    uint32_t m_lastAck = 0;
    uint32_t m_lastPeer = 0;
};

/// Sends kMsgDoubleClick (wParam 1) to the viewer's window, found by its class, and waits
/// for it to be handled. False when no viewer window exists or it did not answer.
bool notifyViewerOfDoubleClick(const LinkNames& names);

} // namespace tesk
