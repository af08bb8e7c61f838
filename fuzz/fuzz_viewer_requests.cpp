// links: tesk_link
// Feeds the viewer link what another program controls: the request name in the shared block
// (any bytes, no terminator needed), the block's size, and datagrams of any size and sender
// to the editor's windows. Nothing may be read beyond the name's field; only well-formed
// messages of this user reach the handlers; a request is always answered by clearing the name;
// and the payload's name never runs into the next field.
//
// Input: one byte of flags, the 510 bytes of the request field, two bytes giving the length of
// the editor's file name (at most 1024) and that many bytes, then datagrams, each a length
// byte, a sender byte (bit 0: another user, bit 1: to the main window) and the bytes.
#include "LinkProtocol.h"
#include "MessageTransport.h"
#include "Messages.h"
#include "SharedBlock.h"
#include "Strings.h"
#include "ViewerLink.h"
#include "ViewerLinkController.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

using namespace tesk;

namespace {

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

struct Host : LinkHost {
    bool pressed = false;
    bool newShape = false;
    bool previewMesh = false;
    std::string name;
    std::vector<uint32_t> map = std::vector<uint32_t>(kPayloadPixels, 0x00804020u);
    std::vector<std::string> loads;
    std::vector<std::string> saves;
    int saveCommands = 0;
    int topMost = 0;

    bool linkPressed() const override { return pressed; }
    void releaseLink() override { pressed = false; }
    bool isNewShape() const override { return newShape; }
    bool hasPreviewMesh() const override { return previewMesh; }
    std::string fileName() const override { return name; }
    Point3 halfExtent() const override { return {1, 1, 1}; }
    std::span<const uint32_t> sculptMap() const override { return map; }
    void setTopMost(bool on) override { topMost += on ? 1 : -1; }
    void runSaveCommand() override { ++saveCommands; }
    void saveProject(const std::string& path) override { saves.push_back(path); }
    void loadProject(const std::string& path) override { loads.push_back(path); }
};

struct Setup {
    LinkNames names = LinkNames::forUser("fuzz" + std::to_string(::getpid()));
    SharedBlock block{names.block};
    uint32_t panelId = nextWindowId();
    std::unique_ptr<Mailbox> panel = Mailbox::bind(names.endpoint(panelId));
    std::unique_ptr<Mailbox> mainWindow = Mailbox::bind(names.windowClass(kEditorClassName));
    ~Setup() { block.remove(); }
};

std::vector<uint8_t> blockImage(const SharedBlock& block) {
    std::vector<uint8_t> image(kBlockSize);
    if (block.readBlock(0, image.size(), image.data()) != 1) {
        image.clear();
    }
    return image;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Setup setup;
    check(setup.panel != nullptr && setup.mainWindow != nullptr);
    size_t at = 0;
    const auto next = [&]() -> uint8_t { return at < size ? data[at++] : 0; };

    const uint8_t flags = next();
    Host host;
    host.pressed = (flags & 1) != 0;
    host.newShape = (flags & 2) != 0;
    host.previewMesh = (flags & 4) != 0;
    RecordingMessages messages((flags & 8) != 0);

    std::array<uint8_t, kRequestBytes> field{};
    for (uint8_t& b : field) {
        b = next();
    }
    // Bits 4-5: a proper block, one too short, or none at all.
    const int blockKind = flags >> 4 & 3;
    setup.block.remove();
    if (blockKind != 2) {
        check(setup.block.create());
        check(setup.block.writeBlock(kRequestOffset, field) == 1);
    }
    if (blockKind == 1) {
        const int fd = ::shm_open(setup.block.name().c_str(), O_RDWR, 0);
        check(fd >= 0 && ::ftruncate(fd, kBlockSize - 1) == 0);
        ::close(fd);
    }
    const bool usable = blockKind == 0 || blockKind == 3;

    const size_t low = next();
    const size_t nameLength = std::min<size_t>(low | size_t{next()} << 8, 1024);
    for (size_t i = 0; i < nameLength && at < size; ++i) {
        host.name.push_back(static_cast<char>(next()));
    }
    // However long or malformed the editor's file name, the payload keeps its fields.
    Payload payload;
    fillPayload(payload, {host.name, {}, host.map});
    check(payload[kPayloadNameBytes - 2] == 0 && payload[kPayloadNameBytes - 1] == 0);
    check(std::all_of(&payload[kPayloadZeroOffset], &payload[kPayloadScaleOffset],
                      [](uint8_t b) { return b == 0; }));

    ViewerLinkController link(setup.names, host, messages, setup.panelId);
    std::string expectedName = usable ? requestNameFrom(field) : std::string();
    check(utf8ToUtf16(expectedName).size() <= kRequestBytes / 2);

    while (at < size) {
        const size_t length = next();
        const uint8_t sender = next();
        std::vector<uint8_t> bytes;
        for (size_t i = 0; i < length && at < size; ++i) {
            bytes.push_back(next());
        }
        if ((sender & 1) != 0) {
            check(!decodeMessage(bytes, false, ::getuid() + 1));
            continue;
        }
        Mailbox& box = (sender & 2) != 0 ? *setup.mainWindow : *setup.panel;
        if (!postBytes(box.name(), bytes)) {
            continue;
        }
        const auto received = box.take();
        check(received.has_value() == (bytes.size() == kDatagramBytes));
        check(!box.take());
        if (!received) {
            continue;
        }
        const std::vector<uint8_t> before = blockImage(setup.block);
        const size_t loads = host.loads.size();
        const size_t saves = host.saves.size();
        const uint32_t m = received->message.message;
        const bool request = m == kMsgLoad || m == kMsgSave || m == kMsgSaveThenLoad;
        if ((sender & 2) != 0) {
            link.mainWindowMessage(received->message);
            if (m == kMsgRegister && usable) {
                uint32_t peer = 0;
                check(setup.block.readWord(kPeerOffset, peer) == 1 && peer == setup.panelId);
            }
        } else {
            link.panelMessage(received->message);
        }
        check(!link.viewerBusy());
        check(host.topMost == 0);
        if ((sender & 2) != 0 || !request) {
            check(host.loads.size() == loads && host.saves.size() == saves);
            if (m != kMsgRegister || (sender & 2) == 0) {
                check(blockImage(setup.block) == before);
            }
            continue;
        }
        if (!host.pressed) {
            check(host.loads.size() == loads && host.saves.size() == saves);
        }
        for (size_t i = loads; i < host.loads.size(); ++i) {
            check(host.loads[i] == expectedName);
        }
        for (size_t i = saves; i < host.saves.size(); ++i) {
            check(host.saves[i] == host.name);
        }
        if (m == kMsgSave && host.saves.size() > saves) {
            check(equalsIgnoringCase(expectedName, host.name));
        }
        if (usable) {
            uint32_t word = 1;
            check(setup.block.readWord(kRequestOffset, word) == 1 && word == 0);
            std::array<uint8_t, kRequestBytes> now{};
            check(setup.block.readBlock(kRequestOffset, now.size(), now.data()) == 1);
            expectedName = requestNameFrom(now);
            check(expectedName.empty());
        }
    }
    return 0;
}
