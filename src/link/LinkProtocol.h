#pragma once
// What the editor and the companion viewer agree on: the byte layout of the shared block,
// the message numbers, the window class names and the texts the link shows.

#include "TextMarks.h"

#include <cstddef>
#include <cstdint>

namespace tesk {

// --- the shared block "KOB_APP" -----------------------------------------------------------
inline constexpr size_t kBlockSize = 33824;
inline constexpr size_t kPeerOffset = 0;    ///< a window id: the viewer's, or the editor's panel
inline constexpr size_t kAckOffset = 4;     ///< non-zero once the viewer has taken a shape
inline constexpr size_t kRequestOffset = 8; ///< UTF-16 file name of a load or save request
inline constexpr size_t kRequestBytes = 510;
inline constexpr size_t kPayloadOffset = 16912;
inline constexpr size_t kPayloadSize = 16912;

// --- the shape payload, relative to kPayloadOffset ------------------------------------------
inline constexpr size_t kPayloadNameBytes = 512;
inline constexpr size_t kPayloadNameUnits = kPayloadNameBytes / 2 - 1; ///< 255 and a terminator
inline constexpr size_t kPayloadZeroOffset = 512;
inline constexpr size_t kPayloadScaleOffset = 516;
inline constexpr size_t kPayloadPixelsOffset = 528;
inline constexpr size_t kPayloadPixels = 64 * 64;

// --- messages: one datagram of three little-endian words ------------------------------------
inline constexpr uint32_t kMsgShapeReady = 0x40A;  ///< editor -> viewer: a payload is in the block
inline constexpr uint32_t kMsgDoubleClick = 0x40C; ///< editor -> viewer, wParam 1
inline constexpr uint32_t kMsgRegister = 0x40D;    ///< viewer -> editor main window
inline constexpr uint32_t kMsgLoad = 0x414;        ///< viewer -> control panel
inline constexpr uint32_t kMsgSave = 0x415;
inline constexpr uint32_t kMsgSaveThenLoad = 0x416;
inline constexpr size_t kDatagramBytes = 12;
inline constexpr size_t kReplyBytes = 4;

/// Words in the block and in datagrams are little-endian on both sides.
inline uint32_t loadWord(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}
inline void storeWord(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        p[i] = static_cast<uint8_t>(v >> (8 * i));
    }
}

inline constexpr const char* kEditorClassName = "CTeskMainFrame";
inline constexpr const char* kViewerClassName = "REVIDareRarud";

// --- the send of a shape: 300 polls of 10 ms for the acknowledgement -------------------------
inline constexpr int kAckPolls = 300;
inline constexpr int kAckPollMilliseconds = 10;
/// How long a sent message waits for the receiver's answer.
inline constexpr int kSendReplyMilliseconds = 1000;

// --- texts ----------------------------------------------------------------------------------
inline constexpr const char* kTransferFailedMessage =
    TESK_TEXT("Messages", "KOBへのデータ転送に失敗しました。");
inline constexpr const char* kSaveNewShapeFirstMessage = TESK_TEXT(
    "Messages",
    "新規データの場合には 一回 [形状保存] を行ってから\n[ Viewer 連動 ] ボタンを押して下さい。");
inline constexpr const char* kStartViewerFirstMessage =
    TESK_TEXT("Messages", "Zuvista を起動してから\n[ Viewer 連動 ] ボタンを押して下さい。");
inline constexpr const char* kSaveBeforeLoadQuestion =
    TESK_TEXT("Messages",
              "KOBから形状読み込みメッセージを受けました。\n現在のデータを保存しますか？\n(いいえ "
              "を押した場合には、現在のデータは破棄されます。)");

} // namespace tesk
