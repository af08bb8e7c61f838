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

std::string example(const char* name) {
    return (fs::path(TESK_SOURCE_DIR) / "examples" / name).string();
}

std::string scratch(const std::string& name) {
    return (cliWorkDir() / name).string();
}

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

/// The line of a check's report that starts with `prefix`, or "".
std::string line(const std::string& out, const std::string& prefix) {
    for (size_t at = 0; at < out.size();) {
        const size_t end = out.find('\n', at);
        const std::string text = out.substr(at, end - at);
        if (text.rfind(prefix, 0) == 0) {
            return text;
        }
        at = end == std::string::npos ? out.size() : end + 1;
    }
    return "";
}

TEST(CliCheck, ExamplesPassWithTheirOwnStitchingAndTheReportListsEachLevel) {
    for (const char* name : {"default.tsk", "sphere.tsk", "vase.tsk", "sheet.tsk", "ring.tsk"}) {
        const CliRun run = cli({"check", example(name)});
        EXPECT_EQ(run.status, 0) << name << "\n" << run.out << run.err;
        EXPECT_EQ(line(run.out, "faces"), "faces  vertices  area");
        EXPECT_EQ(line(run.out, "   32").substr(0, 15), "   32      1089");
        EXPECT_EQ(line(run.out, "    6").substr(0, 15), "    6        49");
        for (const char* check : {"area", "seam", "poles", "detail", "precision"}) {
            EXPECT_NE(line(run.out, std::string("ok       ") + check + ":"), "") << name << check;
        }
    }
    EXPECT_NE(line(cli({"check", example("sheet.tsk")}).out, example("sheet.tsk")).find("plane"),
              std::string::npos);
}

TEST(CliCheck, PicturesAreReadAsSpheresUnlessTypeSaysOtherwise) {
    const std::string sheet = scratch("sheet.bmp");
    ASSERT_EQ(cli({"render", example("sheet.tsk"), sheet}).status, 0);
    const CliRun asSphere = cli({"check", sheet});
    EXPECT_EQ(asSphere.status, 1) << asSphere.out;
    EXPECT_NE(line(asSphere.out, "warning  seam:"), "") << asSphere.out;
    EXPECT_NE(line(asSphere.out, "warning  poles:"), "") << asSphere.out;
    for (const char* type : {"plane", "154", "100"}) {
        const CliRun asPlane = cli({"check", sheet, "--type", type});
        EXPECT_EQ(asPlane.status, 0) << type << "\n" << asPlane.out;
    }
    // A project's type can be overridden too: the sphere read as a sheet has open edges.
    const CliRun sheetSphere = cli({"check", example("sphere.tsk"), "--type", "100"});
    EXPECT_NE(line(sheetSphere.out, example("sphere.tsk")).find("plane"), std::string::npos);
}

TEST(CliCheck, ProblemsExitOneAndNameTheCheck) {
    const std::string rendered = scratch("default.bmp");
    ASSERT_EQ(cli({"render", example("default.tsk"), rendered}).status, 0);
    std::vector<uint32_t> picture = readPicture(rendered);
    ASSERT_EQ(picture.size(), static_cast<size_t>(kMapPixels));
    for (int r = 1; r < kMapSide - 1; ++r) {
        picture[static_cast<size_t>(r) * kMapSide] =
            picture[static_cast<size_t>(r) * kMapSide + 32];
    }
    const std::string seam = scratch("seam.bmp");
    writePicture(seam, picture, kMapSide);
    const CliRun broken = cli({"check", seam});
    EXPECT_EQ(broken.status, 1);
    EXPECT_NE(line(broken.out, "warning  seam: open in 62 rows"), "") << broken.out;

    const std::string flat = scratch("flat.bmp");
    writePicture(flat, std::vector<uint32_t>(kMapPixels, 0x808080u), kMapSide);
    const CliRun placeholder = cli({"check", flat});
    EXPECT_EQ(placeholder.status, 1);
    EXPECT_NE(line(placeholder.out, "error    area: 0 at 32 faces is outside"), "")
        << placeholder.out;
}

TEST(CliCheck, UnusableInputsExitTwoAndUsageErrorsSixtyFour) {
    const CliRun missing = cli({"check", scratch("missing.png")});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("missing.png"), std::string::npos) << missing.err;

    const std::string small = scratch("small.bmp");
    writePicture(small, std::vector<uint32_t>(32 * 32, 0x102030u), 32);
    const CliRun wrongSize = cli({"check", small});
    EXPECT_EQ(wrongSize.status, 2);
    EXPECT_NE(wrongSize.err.find("32 x 32"), std::string::npos) << wrongSize.err;
    EXPECT_TRUE(wrongSize.out.empty());

    const CliRun noProject = cli({"check", scratch("missing.tsk")});
    EXPECT_EQ(noProject.status, 2);

    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"check"},
             {"check", "a.tsk", "b.tsk"},
             {"check", example("default.tsk"), "--type"},
             {"check", example("default.tsk"), "--type", "7"},
             {"check", example("default.tsk"), "--type", "Sphere"},
             {"check", example("default.tsk"), "--lod", "32"}}) {
        const CliRun run = cli(args);
        EXPECT_EQ(run.status, 64) << args.back();
        EXPECT_NE(run.err.find("usage:"), std::string::npos);
    }
    EXPECT_NE(cli({"--help"}).out.find("tesk-cli check IN.(tsk|bmp|png|tga) [--type T]"),
              std::string::npos);
}

TEST(CliRenderLod, WritesTheLevelsShapeThatReadsBackAsThatLevel) {
    const std::string plain = scratch("vase.bmp");
    ASSERT_EQ(cli({"render", example("vase.tsk"), plain}).status, 0);
    const std::vector<uint32_t> original = readPicture(plain);
    for (const int faces : {32, 16, 8, 6}) {
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
        if (kMapSide % faces == 0) {
            EXPECT_EQ(fromLevel.vertices, fromOriginal.vertices) << faces;
        }
    }
    // With the flips: the X flip mirrors the rows, so the flipped file differs.
    const std::string flipped = scratch("vase16x.bmp");
    ASSERT_EQ(cli({"render", example("vase.tsk"), flipped, "--lod", "16", "--flip-x"}).status, 0);
    EXPECT_NE(readPicture(flipped), readPicture(scratch("vase16.png")));
}

TEST(CliRenderLod, OnlyTheViewersLevelsAreAccepted) {
    for (const std::vector<std::string>& lod :
         std::vector<std::vector<std::string>>{{"--lod"},
                                               {"--lod", "12"},
                                               {"--lod", "full"},
                                               {"--lod", "0"},
                                               {"--lod", "32x"},
                                               {"--lod", "32", "--lod", "16"}}) {
        std::vector<std::string> args = {"render", example("default.tsk"), scratch("x.bmp")};
        args.insert(args.end(), lod.begin(), lod.end());
        const CliRun run = cli(args);
        EXPECT_EQ(run.status, 64) << lod.back();
        EXPECT_NE(run.err.find("--lod takes"), std::string::npos) << run.err;
    }
    EXPECT_FALSE(fs::exists(scratch("x.bmp")));
    const CliRun noPoints = cli({"render", scratch("missing.tsk"), scratch("y.bmp"), "--lod", "8"});
    EXPECT_EQ(noPoints.status, 2);
}

} // namespace
} // namespace tesk
