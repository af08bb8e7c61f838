// tesk-cli import, run as a separate program: exit codes, the report, and that the project it
// writes rebuilds into the picture it was given.
#include "CliRunner.h"
#include "MapFit.h"
#include "MapSide.h"
#include "Messages.h"
#include "PictureFile.h"
#include "SculptImageWriter.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace tesk {
namespace {
using namespace tesk::testing;

/// The map of a picture file tesk-cli wrote (the inverse of the export, no flips).
std::vector<uint32_t> readMap(const std::string& path) {
    ImageBuffer image;
    RecordingMessages messages;
    EXPECT_EQ(LoadImageFile(image, path, messages), 1) << path;
    std::vector<uint32_t> map;
    for (const uint32_t colour : image.pixels) {
        map.push_back(SculptFileColour(colour));
    }
    return map;
}

void writeMap(const std::string& path, const std::vector<uint32_t>& map, int side) {
    const std::vector<uint8_t> bmp = EncodeSculptBmp(map.data(), side, side);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bmp.data()), static_cast<std::streamsize>(bmp.size()));
}

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(CliImport, ALikeImportRebuildsIntoThePictureAndReportsTypeNetAndErrors) {
    const std::string picture = scratch("vase.png");
    ASSERT_EQ(cli({"render", example("vase.tsk"), picture}).status, 0);
    const std::string project = scratch("vase-imported.tsk");
    const CliRun run = cli({"import", picture, project, "--like", example("vase.tsk")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.rfind("type: 51 (S [1])\nnet: 12 lines x 12 points\n", 0), 0u) << run.out;
    for (const char* channel : {"red (X)", "green (Y)", "blue (Z)"}) {
        EXPECT_TRUE(has(run.out, channel)) << run.out;
    }
    const CliRun info = cli({"info", project});
    EXPECT_TRUE(has(info.out, "lines: 12\npoints per line: 12\ntype: 51")) << info.out;

    const std::string again = scratch("vase-again.png");
    ASSERT_EQ(cli({"render", project, again}).status, 0);
    const auto error = CompareMaps(readMap(again).data(), readMap(picture).data(), kMapPixels);
    for (const ChannelError& e : error) {
        EXPECT_LE(e.largest, 2);
    }
}

TEST(CliImport, PicturesOfOtherSizesAreResampledAndTheDefaultNetIsTheLargest) {
    const std::string picture = scratch("sphere.bmp");
    ASSERT_EQ(cli({"render", example("sphere.tsk"), picture}).status, 0);
    // Each pixel doubled: the resampled picture is close to the map it came from.
    const std::vector<uint32_t> map = readMap(picture);
    std::vector<uint32_t> large(static_cast<size_t>(4 * kMapPixels));
    for (int r = 0; r < 2 * kMapSide; ++r) {
        for (int c = 0; c < 2 * kMapSide; ++c) {
            large[static_cast<size_t>(r * 2 * kMapSide + c)] =
                map[static_cast<size_t>((r / 2) * kMapSide + c / 2)];
        }
    }
    const std::string big = scratch("sphere128.bmp");
    writeMap(big, large, 2 * kMapSide);
    const CliRun run = cli({"import", big, scratch("sphere128.tsk")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(has(run.out, "net: 17 lines x 16 points\n")) << run.out;
    EXPECT_TRUE(has(run.out, "type: 5")) << "a pole type: " << run.out;
}

TEST(CliImport, UnusablePicturesExitTwoAndUsageErrorsSixtyFour) {
    const std::string grey = scratch("grey.bmp");
    writeMap(grey, std::vector<uint32_t>(kMapPixels, 0x808080u), kMapSide);
    const CliRun oneColour = cli({"import", grey, scratch("grey.tsk")});
    EXPECT_EQ(oneColour.status, 2);
    EXPECT_TRUE(has(oneColour.err, kOneColourMapMessage)) << oneColour.err;
    EXPECT_FALSE(fs::exists(scratch("grey.tsk")));
    EXPECT_EQ(cli({"import", scratch("missing.bmp"), scratch("x.tsk")}).status, 2);
    EXPECT_EQ(cli({"import", example("vase.tsk"), scratch("x.tsk")}).status, 2)
        << "a project is no picture";

    const std::string picture = scratch("sheet.bmp");
    ASSERT_EQ(cli({"render", example("sheet.tsk"), picture}).status, 0);
    const std::vector<std::vector<std::string>> usage = {
        {"import"},
        {"import", picture},
        {"import", picture, scratch("x.tsk"), "--type", "7"},
        {"import", picture, scratch("x.tsk"), "--lines", "3"},
        {"import", picture, scratch("x.tsk"), "--points", "65"},
        {"import", picture, scratch("x.tsk"), "--points"},
        {"import", picture, scratch("x.tsk"), "--like", example("vase.tsk"), "--lines", "9"},
        {"import", picture, scratch("x.tsk"), "--type", "1", "--points", "12"},
        {"import", picture, scratch("x.tsk"), "--flat"},
    };
    for (const auto& args : usage) {
        EXPECT_EQ(cli(args).status, 64) << args.size() << " " << args.back();
    }
    EXPECT_FALSE(fs::exists(scratch("x.tsk")));
}

TEST(CliImport, DoubleDashEndsTheOptions) {
    fs::current_path(cliWorkDir());
    ASSERT_EQ(cli({"render", example("sheet.tsk"), "--", "-sheet.bmp"}).status, 0);
    const CliRun run = cli({"import", "--type", "154", "--", "-sheet.bmp", "-sheet.tsk"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.rfind("type: 154 (PS [4])\n", 0), 0u) << run.out;
    EXPECT_TRUE(fs::exists("-sheet.tsk"));
}

} // namespace
} // namespace tesk
