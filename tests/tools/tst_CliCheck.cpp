// tesk-cli check and render --lod, run as a separate program.
#include "CliRunner.h"
#include "LodGrid.h"
#include "MapSide.h"
#include "Messages.h"
#include "PictureFile.h"
#include "SculptImageWriter.h"
#include "ShapeTypes.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace tesk {
namespace {
using namespace tesk::testing;

/// A picture file as tesk-cli reads it: top row first, red in bits 0-7.
std::vector<uint32_t> readPicture(const std::string& path) {
    ImageBuffer image;
    RecordingMessages messages;
    EXPECT_EQ(LoadImageFile(image, path, messages), 1) << path;
    return image.pixels;
}

void writePicture(const std::string& path, const std::vector<uint32_t>& picture, int side) {
    const std::vector<uint32_t> map = mapOfPicture(picture);
    const std::vector<uint8_t> bmp = EncodeSculptBmp(map.data(), side, side);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bmp.data()), static_cast<std::streamsize>(bmp.size()));
}

bool has(const CliRun& run, const std::string& text) {
    return run.out.find(text) != std::string::npos;
}

TEST(CliCheck, ExamplesPassWithTheirOwnStitchingAndTheReportListsEachLevel) {
    for (const char* name : {"vase.tsk", "sheet.tsk"}) {
        const CliRun run = cli({"check", example(name)});
        EXPECT_EQ(run.status, 0) << run.out << run.err;
        EXPECT_TRUE(has(run, "faces  vertices  area\n   32      1089  ")) << run.out;
        EXPECT_TRUE(has(run, "\n    6        49  ")) << run.out;
        for (const char* check : {"area", "seam", "poles", "detail", "precision"}) {
            EXPECT_TRUE(has(run, std::string("\nok       ") + check + ": ")) << check;
        }
    }
    EXPECT_TRUE(has(cli({"check", example("sheet.tsk")}), "read with plane stitching"));
}

// Tubes and rings close where viewers wrap them; the same ring built as a sheet is a loop
// whose edges viewers never join.
TEST(CliCheck, TubesAndRingsCloseAndTheRingBuiltAsASheetIsWarnedOf) {
    for (const auto& [name, stitching] :
         {std::pair{"tube.tsk", "cylinder"}, std::pair{"torus.tsk", "torus"}}) {
        const CliRun run = cli({"check", example(name)});
        EXPECT_EQ(run.status, 0) << run.out << run.err;
        EXPECT_TRUE(has(run, std::string("read with ") + stitching + " stitching")) << run.out;
        EXPECT_TRUE(has(run, "\nok       seam: closed")) << run.out;
    }
    const CliRun ring = cli({"check", example("ring.tsk")});
    EXPECT_EQ(ring.status, 1);
    EXPECT_TRUE(has(ring, "\nwarning  seam: a loop built as a sheet")) << ring.out;
    EXPECT_EQ(cli({"check", example("ring.tsk"), "--type", "354"}).status, 0);
}

TEST(CliCheck, PicturesReadAsSpheresUnlessTypeSaysOtherwiseAndProblemsExitOne) {
    const std::string sheet = scratch("sheet.bmp");
    ASSERT_EQ(cli({"render", example("sheet.tsk"), sheet}).status, 0);
    const CliRun asSphere = cli({"check", sheet});
    EXPECT_EQ(asSphere.status, 1);
    EXPECT_TRUE(has(asSphere, "\nwarning  seam: open in 62 rows")) << asSphere.out;
    EXPECT_TRUE(has(asSphere, "\nwarning  poles: ")) << asSphere.out;
    for (const char* type : {"plane", "154"}) {
        EXPECT_EQ(cli({"check", sheet, "--type", type}).status, 0) << type;
    }
    const std::string flat = scratch("flat.bmp");
    writePicture(flat, std::vector<uint32_t>(kMapPixels, 0x808080u), kMapSide);
    const CliRun placeholder = cli({"check", flat});
    EXPECT_EQ(placeholder.status, 1);
    EXPECT_TRUE(has(placeholder, "\nerror    area: 0 at 32 faces is outside")) << placeholder.out;
}

TEST(CliCheck, UnusableInputsExitTwoAndUsageErrorsSixtyFour) {
    const std::string small = scratch("small.bmp");
    writePicture(small, std::vector<uint32_t>(32 * 32, 0x102030u), 32);
    const CliRun wrongSize = cli({"check", small});
    EXPECT_EQ(wrongSize.status, 2);
    EXPECT_NE(wrongSize.err.find("32 x 32"), std::string::npos) << wrongSize.err;
    EXPECT_TRUE(wrongSize.out.empty());
    EXPECT_EQ(cli({"check", scratch("missing.png")}).status, 2);
    EXPECT_EQ(cli({"check", scratch("missing.tsk")}).status, 2);

    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"check"},
                                               {"check", "a.tsk", "b.tsk"},
                                               {"check", example("vase.tsk"), "--type"},
                                               {"check", example("vase.tsk"), "--type", "7"},
                                               {"check", example("vase.tsk"), "--lod", "32"}}) {
        const CliRun run = cli(args);
        EXPECT_EQ(run.status, 64) << args.back();
        EXPECT_NE(run.err.find("usage:"), std::string::npos);
    }
}

TEST(CliRenderLod, WritesTheLevelsShapeThatReadsBackAsThatLevel) {
    const std::string plain = scratch("vase.bmp");
    ASSERT_EQ(cli({"render", example("vase.tsk"), plain}).status, 0);
    const std::vector<uint32_t> original = readPicture(plain);
    for (const int faces : {32, 8}) {
        const std::string out = scratch("vase" + std::to_string(faces) + ".png");
        const CliRun run =
            cli({"render", example("vase.tsk"), "--lod", std::to_string(faces), out});
        ASSERT_EQ(run.status, 0) << run.err;
        const std::vector<uint32_t> level = readPicture(out);
        EXPECT_NE(level, original) << faces;
        LodGrid fromOriginal;
        LodGrid fromLevel;
        ASSERT_TRUE(buildLodGrid(original, kMapSide, kMapSide, kStitchSphere, faces, fromOriginal));
        ASSERT_TRUE(buildLodGrid(level, kMapSide, kMapSide, kStitchSphere, faces, fromLevel));
        EXPECT_EQ(fromLevel.vertices, fromOriginal.vertices) << faces;
    }
    for (const std::vector<std::string>& lod : std::vector<std::vector<std::string>>{
             {"--lod"}, {"--lod", "12"}, {"--lod", "full"}, {"--lod", "32", "--lod", "16"}}) {
        std::vector<std::string> args = {"render", example("vase.tsk"), scratch("x.bmp")};
        args.insert(args.end(), lod.begin(), lod.end());
        const CliRun run = cli(args);
        EXPECT_EQ(run.status, 64) << lod.back();
        EXPECT_NE(run.err.find("--lod takes"), std::string::npos) << run.err;
    }
    EXPECT_FALSE(fs::exists(scratch("x.bmp")));
}

} // namespace
} // namespace tesk
