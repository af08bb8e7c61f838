#include "ViewerLink.h"

#include "MessageTransport.h"
#include "Messages.h"
#include "Strings.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

namespace tesk {

namespace {
void putFloat(uint8_t* p, float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    storeWord(p, bits);
}

bool isHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
} // namespace

void fillPayload(Payload& payload, const ShapeForViewer& shape) {
    std::fill(payload.begin(), payload.end(), uint8_t{0});
    std::u16string name = utf8ToUtf16(shape.fileName);
    if (name.size() > kPayloadNameUnits) {
        name.resize(kPayloadNameUnits);
        if (isHighSurrogate(name.back())) {
            name.pop_back();
        }
    }
    for (size_t i = 0; i < name.size(); ++i) {
        payload[2 * i] = static_cast<uint8_t>(name[i]);
        payload[2 * i + 1] = static_cast<uint8_t>(name[i] >> 8);
    }
    storeWord(&payload[kPayloadZeroOffset], 0);
    putFloat(&payload[kPayloadScaleOffset], shape.halfExtent.x);
    putFloat(&payload[kPayloadScaleOffset + 4], shape.halfExtent.y);
    putFloat(&payload[kPayloadScaleOffset + 8], shape.halfExtent.z);
    const size_t count = std::min(shape.map.size(), kPayloadPixels);
    for (size_t i = 0; i < count; ++i) {
        const uint32_t p = shape.map[i];
        const uint32_t red = 255u - (p & 0xffu);
        const uint32_t green = 255u - (p >> 8 & 0xffu);
        const uint32_t blue = p >> 16 & 0xffu;
        storeWord(&payload[kPayloadPixelsOffset + 4 * i], red << 16 | green << 8 | blue);
    }
}

std::string requestNameFrom(std::span<const uint8_t, kRequestBytes> field) {
    std::u16string name;
    for (size_t i = 0; i + 1 < field.size(); i += 2) {
        const auto unit = static_cast<char16_t>(field[i] | field[i + 1] << 8);
        if (unit == 0) {
            break;
        }
        name.push_back(unit);
    }
    return utf16ToUtf8(name);
}

int64_t ViewerLink::sendShapeToViewer(const ShapeForViewer& shape, uint32_t ownId,
                                      Messages& messages) {
    uint32_t peer = 0;
    if (m_block.readWord(kPeerOffset, peer) != 1 || peer == 0 || peer == ownId) {
        // The editor's own id is left there by an earlier send to a viewer that has gone.
        return -1;
    }
    m_lastPeer = peer;
    fillPayload(m_payload, shape);
    m_block.writeBlock(kPayloadOffset, m_payload);
    m_block.writeWord(kPeerOffset, ownId);
    // A viewer that crashed leaves its block behind; its window is gone, so the post is
    // refused and that means no viewer, as the vanished mapping meant on the original.
    if (postMessage(m_names.endpoint(peer), {kMsgShapeReady, 0, 0}) == PostResult::Refused) {
        return -1;
    }
    for (int poll = 0; poll < kAckPolls; ++poll) {
        std::this_thread::sleep_for(std::chrono::milliseconds(kAckPollMilliseconds));
        uint32_t ack = 0;
        if (m_block.readWord(kAckOffset, ack) == 1 && ack != 0) {
            m_lastAck = ack;
            return ack;
        }
    }
    messages.inform(kTransferFailedMessage);
    return 0;
}

std::string ViewerLink::readRequestName() const {
    std::array<uint8_t, kRequestBytes> field{};
    if (m_block.readBlock(kRequestOffset, field.size(), field.data()) != 1) {
        return {};
    }
    return requestNameFrom(field);
}

void ViewerLink::clearRequestName() const {
    m_block.writeWord(kRequestOffset, 0);
}

bool notifyViewerOfDoubleClick(const LinkNames& names) {
    return sendMessage(names.windowClass(kViewerClassName), {kMsgDoubleClick, 1, 0}).status ==
           SendResult::Replied;
}

} // namespace tesk
