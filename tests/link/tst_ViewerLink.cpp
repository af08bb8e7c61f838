#include "LinkProtocol.h"
#include "Messages.h"
#include "PictureFile.h"
#include "ScratchDir.h"
#include "StandInProcess.h"
#include "Strings.h"
#include "ViewerLink.h"
#include "ViewerLinkController.h"

#include <chrono>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace tesk;
using tesk::testing::StandInProcess;
using Clock = std::chrono::steady_clock;

namespace {

uint32_t wordAt(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

std::vector<uint32_t> rampMap() {
    std::vector<uint32_t> map(kPayloadPixels);
    for (size_t i = 0; i < map.size(); ++i) {
        map[i] = static_cast<uint32_t>(i % 256) | static_cast<uint32_t>(i / 64) << 8 | 0x7fu << 16;
    }
    return map;
}

/// The editor around the link, reduced to what it records.
struct FakeHost : LinkHost {
    bool pressed = true;
    bool newShape = false;
    bool previewMesh = true;
    std::string name = "/work/Shapes/Vase.tsk";
    std::vector<uint32_t> map = rampMap();
    std::vector<std::string> calls;
    std::function<void()> onLoad;

    bool linkPressed() const override { return pressed; }
    void releaseLink() override {
        pressed = false;
        calls.push_back("release");
    }
    bool isNewShape() const override { return newShape; }
    bool hasPreviewMesh() const override { return previewMesh; }
    std::string fileName() const override { return name; }
    Point3 halfExtent() const override { return {0.5f, 1.5f, 2.5f}; }
    std::span<const uint32_t> sculptMap() const override { return map; }
    void setTopMost(bool on) override { calls.push_back(on ? "top" : "not top"); }
    void runSaveCommand() override { calls.push_back("save command"); }
    void saveProject(const std::string& path) override { calls.push_back("save " + path); }
    void loadProject(const std::string& path) override {
        calls.push_back("load " + path);
        if (onLoad) {
            onLoad();
        }
    }
};

class ViewerLinkTest : public ::testing::Test {
protected:
    /// The sockets of stand-ins killed as a crash would, which nothing else removes.
    void TearDown() override {
        std::error_code ignored;
        for (const auto& entry : std::filesystem::directory_iterator(names.folder, ignored)) {
            if (entry.path().filename().string().starts_with(names.socketPrefix)) {
                std::filesystem::remove(entry.path(), ignored);
            }
        }
    }
    /// Starts the stand-in and waits until it has registered with this editor.
    std::unique_ptr<StandInProcess> startViewer(std::vector<std::string> args = {}) {
        args.insert(args.end(), {"--names", tag});
        auto viewer = std::make_unique<StandInProcess>(TESK_STANDIN, args);
        EXPECT_TRUE(viewer->waitFor("ready", pumpFn()));
        const auto registered = viewer->waitFor("register", pumpFn());
        EXPECT_EQ(registered.value_or(""), "registered " + std::to_string(panelId));
        return viewer;
    }
    /// What the editor's event loop does: hands each message to its window's handler.
    void pump() {
        for (Mailbox* box : {mainClass.get(), panel.get()}) {
            while (const auto received = box->take()) {
                box->answer(*received, box == panel.get()
                                           ? link.panelMessage(received->message)
                                           : link.mainWindowMessage(received->message));
            }
        }
    }
    std::function<void()> pumpFn() {
        return [this] { pump(); };
    }
    std::string requestField() {
        uint32_t word = 1;
        SharedBlock(names.block).readWord(kRequestOffset, word);
        return word == 0 ? "cleared" : "left";
    }

    std::string tag = "t" + std::to_string(::getpid());
    LinkNames names = LinkNames::forUser(tag);
    RecordingMessages messages;
    FakeHost host;
    uint32_t panelId = nextWindowId();
    std::unique_ptr<Mailbox> mainClass = Mailbox::bind(names.windowClass(kEditorClassName));
    std::unique_ptr<Mailbox> panel = Mailbox::bind(names.endpoint(panelId));
    ViewerLinkController link{names, host, messages, panelId};
};

} // namespace

TEST(ViewerPayloadTest, NameScaleAndPixelsInThePicturesColours) {
    Payload payload;
    payload.fill(0xEE);
    const std::vector<uint32_t> map = {0x00302010u, 0x00FF00FFu};
    fillPayload(payload, {"vase.tsk", {1.0f, 2.0f, 3.0f}, map});
    EXPECT_EQ(utf16ToUtf8(std::u16string(reinterpret_cast<const char16_t*>(payload.data()))),
              "vase.tsk");
    EXPECT_EQ(payload[2 * 8], 0) << "terminated";
    EXPECT_EQ(payload[kPayloadNameBytes - 1], 0) << "zero padded";
    EXPECT_EQ(wordAt(&payload[kPayloadZeroOffset]), 0u);
    float scale[3];
    std::memcpy(scale, &payload[kPayloadScaleOffset], sizeof scale);
    EXPECT_EQ(scale[1], 2.0f);
    // X 0x10, Y 0x20, Z 0x30 -> red 255 - X, green 255 - Y, blue Z.
    EXPECT_EQ(wordAt(&payload[kPayloadPixelsOffset]), 0x00EFDF30u);
    EXPECT_EQ(wordAt(&payload[kPayloadPixelsOffset + 4]), 0x00FF00FFu - 0x00FF0000u + 0x0000FF00u);
    EXPECT_EQ(wordAt(&payload[kPayloadPixelsOffset + 8]), 0u) << "no stale pixels";
}

TEST(ViewerPayloadTest, LongNamesStopAtTheirFieldAndRequestsAtTheirs) {
    Payload payload;
    // 254 ASCII characters, then a character outside the basic plane (a surrogate pair)
    // that would straddle the last place: it is dropped whole.
    const std::string name = std::string(254, 'n') + "\xF0\x9F\x98\x80" + "tail";
    fillPayload(payload, {name, {}, {}});
    const auto* units = reinterpret_cast<const char16_t*>(payload.data());
    EXPECT_EQ(std::u16string(units).size(), 254u);
    EXPECT_EQ(wordAt(&payload[kPayloadZeroOffset]), 0u) << "the name never reaches the next field";

    std::array<uint8_t, kRequestBytes> field;
    field.fill('A');
    EXPECT_EQ(utf8ToUtf16(requestNameFrom(field)).size(), 255u) << "no terminator: the field";
    field[6] = 0;
    field[7] = 0;
    EXPECT_EQ(utf8ToUtf16(requestNameFrom(field)).size(), 3u);
}

TEST_F(ViewerLinkTest, EveryUpdateSendsTheShapeAndWaitsForItsAcknowledgement) {
    tesk::testing::ScratchDir scratch("tesk_link");
    const std::string png = scratch.file("last.png");
    auto viewer = startViewer({"--ack-delay", "200", "--png", png});
    for (int64_t n = 1; n <= 2; ++n) {
        const auto start = Clock::now();
        EXPECT_EQ(link.viewerLinkUpdate(), n) << "the acknowledgement of this very shape";
        EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(200));
        EXPECT_EQ(viewer->waitFor("shape").value_or(""),
                  "shape " + std::to_string(n) + " 0.5 1.5 2.5 /work/Shapes/Vase.tsk");
    }
    EXPECT_TRUE(messages.texts.empty());
    EXPECT_TRUE(host.calls.empty());

    // The viewer's picture of the map has the colours of the control panel's picture.
    ImageBuffer picture;
    ASSERT_EQ(LoadImageFile(picture, png, messages), 1);
    ASSERT_EQ(picture.pixels.size(), host.map.size());
    for (size_t i = 0; i < host.map.size(); i += 97) {
        const uint32_t m = host.map[i];
        EXPECT_EQ(picture.pixels[i],
                  (255 - (m & 0xff)) | (255 - (m >> 8 & 0xff)) << 8 | (m >> 16 & 0xff) << 16);
    }
}

TEST_F(ViewerLinkTest, WithoutAViewerTheUserIsToldToStartItAndTheButtonIsReleased) {
    EXPECT_EQ(link.viewerLinkUpdate(), -1);
    EXPECT_EQ(messages.texts, std::vector<std::string>{kStartViewerFirstMessage});
    EXPECT_EQ(host.calls, std::vector<std::string>{"release"});

    // A viewer that crashed leaves its block: still no viewer, twice over, and no wait.
    auto viewer = startViewer();
    viewer->kill();
    for (int press = 0; press < 2; ++press) {
        host.pressed = true;
        messages.texts.clear();
        EXPECT_EQ(link.viewerLinkUpdate(), -1);
        EXPECT_EQ(messages.texts, std::vector<std::string>{kStartViewerFirstMessage});
    }
    SharedBlock(names.block).remove();
}

TEST_F(ViewerLinkTest, WithoutAnAcknowledgementTheTransferFailsAfterThreeSeconds) {
    auto viewer = startViewer({"--no-ack"});
    const auto start = Clock::now();
    EXPECT_EQ(link.viewerLinkUpdate(), 0);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(kAckPolls * kAckPollMilliseconds));
    EXPECT_EQ(messages.texts, std::vector<std::string>{kTransferFailedMessage});
    EXPECT_TRUE(host.pressed) << "the next rebuild tries again";
    EXPECT_TRUE(viewer->waitFor("shape 1"));
}

TEST_F(ViewerLinkTest, ANewShapeIsNeverSent) {
    auto viewer = startViewer();
    host.newShape = true;
    host.previewMesh = false;
    EXPECT_EQ(link.viewerLinkUpdate(), std::nullopt);
    EXPECT_TRUE(host.calls.empty()) << "nothing built yet: the button stays in";

    host.previewMesh = true;
    EXPECT_EQ(link.viewerLinkUpdate(), std::nullopt);
    EXPECT_EQ(messages.texts, std::vector<std::string>{kSaveNewShapeFirstMessage});
    EXPECT_EQ(host.calls, std::vector<std::string>{"release"});

    host.pressed = false;
    EXPECT_EQ(link.viewerLinkUpdate(), std::nullopt) << "released: nothing at all";
    EXPECT_FALSE(viewer->waitFor("shape", {}, 200));
}

TEST_F(ViewerLinkTest, ASaveRequestSavesOnlyTheCurrentProjectInAnyLetterCase) {
    auto viewer = startViewer();
    viewer->command("save /WORK/shapes/VASE.TSK");
    EXPECT_EQ(viewer->waitFor("reply", pumpFn()).value_or(""), "reply 0x415 0");
    EXPECT_EQ(host.calls, std::vector<std::string>{"save /work/Shapes/Vase.tsk"})
        << "saved under the document's own spelling";
    EXPECT_EQ(requestField(), "cleared");

    host.calls.clear();
    viewer->command("save /work/Shapes/Other.tsk");
    EXPECT_TRUE(viewer->waitFor("reply", pumpFn()));
    EXPECT_TRUE(host.calls.empty());
    EXPECT_EQ(requestField(), "cleared");
}

TEST_F(ViewerLinkTest, SaveThenLoadSavesASavedShapeSilentlyAndAsksForANewOne) {
    auto viewer = startViewer();
    viewer->command("saveload /work/Shapes/Cup.tsk");
    EXPECT_TRUE(viewer->waitFor("reply", pumpFn()));
    EXPECT_EQ(host.calls, (std::vector<std::string>{"save /work/Shapes/Vase.tsk",
                                                    "load /work/Shapes/Cup.tsk"}));
    EXPECT_TRUE(messages.texts.empty());

    host.calls.clear();
    host.newShape = true;
    messages.scriptedAnswers = {true};
    viewer->command("saveload /work/Shapes/Cup.tsk");
    EXPECT_TRUE(viewer->waitFor("reply", pumpFn()));
    EXPECT_EQ(host.calls, (std::vector<std::string>{"save command", "load /work/Shapes/Cup.tsk"}));
    EXPECT_EQ(messages.texts, std::vector<std::string>{kSaveBeforeLoadQuestion});
}

TEST_F(ViewerLinkTest, ALoadRequestAsksAboutANewShapeWithTheWindowOnTop) {
    auto viewer = startViewer();
    host.newShape = true;
    messages.scriptedAnswers = {false};
    viewer->command("load /work/Shapes/Cup.tsk");
    EXPECT_TRUE(viewer->waitFor("reply", pumpFn()));
    EXPECT_EQ(host.calls,
              (std::vector<std::string>{"top", "not top", "load /work/Shapes/Cup.tsk"}));
    EXPECT_EQ(messages.texts, std::vector<std::string>{kSaveBeforeLoadQuestion});

    // The rebuild of the requested load sends nothing back to the viewer.
    host.calls.clear();
    host.newShape = false;
    std::optional<int64_t> sentDuringLoad;
    host.onLoad = [&] { sentDuringLoad = link.viewerLinkUpdate(); };
    viewer->command("load /work/Shapes/Cup.tsk");
    EXPECT_TRUE(viewer->waitFor("reply", pumpFn()));
    EXPECT_EQ(host.calls, std::vector<std::string>{"load /work/Shapes/Cup.tsk"});
    EXPECT_EQ(sentDuringLoad, 0);
    EXPECT_FALSE(link.viewerBusy());
    EXPECT_FALSE(viewer->waitFor("shape", {}, 200));
}

TEST_F(ViewerLinkTest, RequestsWhileTheButtonIsOutOnlyClearTheName) {
    auto viewer = startViewer();
    host.pressed = false;
    for (const char* request : {"load /a.tsk", "save /work/Shapes/Vase.tsk", "saveload /a.tsk"}) {
        viewer->command(request);
        EXPECT_TRUE(viewer->waitFor("reply", pumpFn())) << request;
        EXPECT_EQ(requestField(), "cleared") << request;
    }
    EXPECT_TRUE(host.calls.empty());
    EXPECT_TRUE(messages.texts.empty());
}

TEST_F(ViewerLinkTest, HostileNamesAndMalformedDatagramsAreSurvived) {
    auto viewer = startViewer();
    viewer->command("hostile-name 0x414");
    EXPECT_TRUE(viewer->waitFor("reply", pumpFn()));
    EXPECT_EQ(host.calls, std::vector<std::string>{"load " + std::string(255, 'A')})
        << "the name ends with its field";
    EXPECT_EQ(requestField(), "cleared");

    host.calls.clear();
    for (const char* junk : {"junk 11", "junk 13", "junk 12", "junk 4000"}) {
        viewer->command(junk);
        EXPECT_TRUE(viewer->waitFor("junk sent")) << junk;
    }
    // A well-formed message nobody knows (0x14141414) changes nothing either.
    pump();
    EXPECT_TRUE(host.calls.empty());
    viewer->command("save /work/Shapes/Vase.tsk");
    EXPECT_TRUE(viewer->waitFor("reply", pumpFn()));
    EXPECT_EQ(host.calls, std::vector<std::string>{"save /work/Shapes/Vase.tsk"})
        << "and the link still works";
}

TEST_F(ViewerLinkTest, ADoubleClickReachesTheViewerWhateverTheButton) {
    EXPECT_FALSE(notifyViewerOfDoubleClick(names)) << "no viewer";
    auto viewer = startViewer();
    host.pressed = false;
    EXPECT_TRUE(notifyViewerOfDoubleClick(names));
    EXPECT_TRUE(viewer->waitFor("double-click 1 0"));
}

TEST_F(ViewerLinkTest, ConfirmSavesOnlyALinkedSavedShape) {
    link.confirmed();
    EXPECT_EQ(host.calls, std::vector<std::string>{"save /work/Shapes/Vase.tsk"});
    host.calls.clear();
    host.newShape = true;
    link.confirmed();
    host.newShape = false;
    host.pressed = false;
    link.confirmed();
    EXPECT_TRUE(host.calls.empty());
}
