// tesk-cli render, run as a program: outputs, options, exit codes and messages.
#include "CliRunner.h"
#include "FileIO.h"
#include "Messages.h"
#include "ProjectFile.h"
#include "SPMesh.h"
#include "SculptImageWriter.h"
#include "SurfaceBuilder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace tesk {
namespace {

namespace fs = std::filesystem;

using tesk::testing::CliRun;

class CliRender : public ::testing::Test {
protected:
    std::string file(const std::string& name) const { return scratch.file(name); }

    static CliRun render(std::vector<std::string> args) {
        args.insert(args.begin(), "render");
        return tesk::testing::runProgram(TESK_CLI, args);
    }

    static std::vector<uint8_t> bytesOf(const std::string& path) {
        std::vector<uint8_t> bytes;
        readWholeFile(path, bytes, 1 << 20);
        return bytes;
    }

    // What the export button writes for this project, type and flips.
    static std::vector<uint8_t> expectedBmp(const std::string& project, int32_t type,
                                            ExportFlips flips) {
        SPMesh mesh;
        RecordingMessages messages;
        EXPECT_TRUE(loadProjectFile(project, mesh, messages));
        EXPECT_TRUE(BuildSurface(mesh, type, messages));
        std::vector<uint32_t> map = mesh.map;
        ApplyExportFlips(map.data(), 64, 64, flips);
        return EncodeSculptBmp(map.data(), 64, 64);
    }

    tesk::testing::ScratchDir scratch{"tesk-render"};
};

const std::string kExamples = std::string(TESK_SOURCE_DIR) + "/examples/";

TEST_F(CliRender, DefaultShapeMatchesTheGoldenMaps) {
    const std::string golden = std::string(TESK_TEST_DATA) + "/surface/default_type";
    ASSERT_EQ(render({kExamples + "default.tsk", file("stored.bmp")}).status, 0);
    EXPECT_EQ(bytesOf(file("stored.bmp")), bytesOf(golden + "0.bmp"));
    const CliRun run = render({kExamples + "default.tsk", "--type", "53", file("s3.bmp")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.err.empty());
    // The Catmull-Rom surface swells past the control points: the size is the built map's.
    EXPECT_EQ(run.out, "prim size: X 2.612, Y 2.741, Z 2.131\n");
    EXPECT_EQ(bytesOf(file("s3.bmp")), bytesOf(golden + "53.bmp"));
}

TEST_F(CliRender, StoredTypeFlipsAndFormats) {
    const std::string ring = kExamples + "ring.tsk";
    ASSERT_EQ(render({ring, file("ring.bmp"), "--flip-x", "--flip-z"}).status, 0);
    EXPECT_EQ(bytesOf(file("ring.bmp")), expectedBmp(ring, DIM_SHEET_BSPLINE, {true, false, true}));
    ASSERT_EQ(render({"--flip-y", ring, file("ring-y.bmp")}).status, 0);
    EXPECT_EQ(bytesOf(file("ring-y.bmp")),
              expectedBmp(ring, DIM_SHEET_BSPLINE, {false, true, false}));

    ASSERT_EQ(render({ring, file("ring.TGA")}).status, 0);
    const std::vector<uint8_t> tga = bytesOf(file("ring.TGA"));
    const std::vector<uint8_t> bmp = expectedBmp(ring, DIM_SHEET_BSPLINE, {});
    ASSERT_EQ(tga.size(), 18u + 12288u);
    EXPECT_TRUE(std::equal(tga.begin() + 18, tga.end(), bmp.begin() + 54));
    ASSERT_EQ(render({ring, file("ring.png")}).status, 0);
    EXPECT_EQ(bytesOf(file("ring.png")).at(1), 'P');
}

TEST_F(CliRender, UsageErrors) {
    const std::string project = kExamples + "default.tsk";
    const std::vector<std::vector<std::string>> wrong = {
        {},
        {project},
        {project, file("a.bmp"), file("b.bmp")},
        {project, file("a.bmp"), "--type"},
        {project, file("a.bmp"), "--type", "2"},
        {project, file("a.bmp"), "--type", "53x"},
        {project, file("a.bmp"), "--flip-w"},
    };
    for (const std::vector<std::string>& args : wrong) {
        const CliRun run = render(args);
        EXPECT_EQ(run.status, 64) << ::testing::PrintToString(args);
        EXPECT_NE(run.err.find("usage:"), std::string::npos);
    }
    EXPECT_FALSE(fs::exists(file("a.bmp")));
}

TEST_F(CliRender, DoubleDashEndsTheOptions) {
    const std::string project = kExamples + "default.tsk";
    ASSERT_EQ(render({project, file("plain.bmp")}).status, 0);
    // A relative name that starts with a dash, in this test's own folder.
    fs::current_path(scratch.path());
    const CliRun dashed = render({"--", project, "-map.bmp"});
    ASSERT_EQ(dashed.status, 0) << dashed.err;
    EXPECT_EQ(bytesOf(file("-map.bmp")), bytesOf(file("plain.bmp")));
    EXPECT_EQ(render({project, "--", file("a.bmp"), "--flip-x"}).status, 64);
    EXPECT_FALSE(fs::exists(file("a.bmp")));
}

TEST_F(CliRender, UnusableInputsAndOutputs) {
    const std::string project = kExamples + "sphere.tsk";
    EXPECT_EQ(render({file("missing.tsk"), file("a.bmp")}).status, 2);
    const CliRun jpeg = render({project, file("a.jpg")});
    EXPECT_EQ(jpeg.status, 2);
    EXPECT_NE(jpeg.err.find(kJpegRefusedMessage), std::string::npos);
    const CliRun folder = render({project, file("missing/a.bmp")});
    EXPECT_EQ(folder.status, 2);
    EXPECT_NE(folder.err.find(kExportWriteFailedMessage), std::string::npos);
    EXPECT_TRUE(fs::is_empty(scratch.path())) << "no output, partial or whole, is left";
}

TEST_F(CliRender, StoredUnknownTypeIsReportedAndStillWritten) {
    SPMesh mesh;
    mesh.makeDefault();
    mesh.SPDimType = 2;
    RecordingMessages messages;
    ASSERT_TRUE(saveProjectFile(file("odd.tsk"), mesh, messages));
    const CliRun run = render({file("odd.tsk"), file("odd.bmp")});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.err.find(kUnknownTypeMessage), std::string::npos);
    EXPECT_EQ(bytesOf(file("odd.bmp")), expectedBmp(file("odd.tsk"), 2, {}));
}

} // namespace
} // namespace tesk
