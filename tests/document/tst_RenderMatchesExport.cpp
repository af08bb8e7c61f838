// tesk-cli render and the editor's export run one pipeline: the same project, type, effects
// and flips give the same file, byte for byte.
#include "CliRunner.h"
#include "Ctesk001Doc.h"
#include "EffectPicture.h"
#include "FileIO.h"
#include "Messages.h"
#include "ScratchDir.h"

#include <gtest/gtest.h>

using namespace tesk;

namespace {

std::vector<uint8_t> bytesOf(const std::string& path) {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(readWholeFile(path, bytes, 1 << 20)) << path;
    return bytes;
}

} // namespace

TEST(RenderMatchesExport, SameProjectTypeEffectsAndFlipsGiveTheSameBytes) {
    const tesk::testing::ScratchDir scratch("tesk_render_export");
    const std::string project = std::string(TESK_SOURCE_DIR) + "/examples/vase.tsk";
    const std::string dome = std::string(TESK_SOURCE_DIR) + "/res/effect/dome.png";
    const std::string ridges = std::string(TESK_SOURCE_DIR) + "/res/effect/ridges.png";

    RecordingMessages messages;
    Ctesk001Doc doc(messages, "");
    ASSERT_TRUE(doc.loadProject(project));
    doc.setType(DIM_POLES_BSPLINE);
    auto normal = makeEffectRecord(dome, EFFECT_NORMAL, messages);
    auto centroid = makeEffectRecord(ridges, EFFECT_CENTROID, messages);
    ASSERT_TRUE(normal && centroid);
    normal->strength = 40.0f;
    doc.addEffect(std::move(normal));
    doc.addEffect(std::move(centroid));
    const std::string exported = scratch.file("export.bmp");
    ASSERT_TRUE(doc.exportSculptMap(exported, {true, false, true}));

    const std::string rendered = scratch.file("render.bmp");
    const auto run = tesk::testing::cli({"render", project, rendered, "--type", "54", "--flip-x",
                                         "--flip-z", "--effect", "normal:" + dome + ":40",
                                         "--effect", "centroid:" + ridges});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(bytesOf(rendered), bytesOf(exported));
    EXPECT_TRUE(messages.texts.empty());
}
