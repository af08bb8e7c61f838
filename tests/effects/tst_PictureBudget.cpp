// The memory budget of picture decoding: what fits is decoded, reduced row by row when a
// smaller picture is wanted; what does not is refused before the big allocation.
#include "EffectPicture.h"
#include "FileIO.h"
#include "ManyScanJpeg.h"
#include "Messages.h"
#include "PictureBombs.h"
#include "PictureFile.h"
#include "Resample.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <stdlib.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace tesk;
namespace fs = std::filesystem;
namespace bombs = tesk::testing;

namespace {

const std::string kDir = std::string(TESK_TEST_DATA) + "/pictures/";

std::vector<uint8_t> readPicture(const std::string& name) {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(readWholeFile(kDir + name, bytes, 1 << 20)) << name;
    return bytes;
}

class PictureBudget : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "tesk-budget-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir = pattern;
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string write(const std::string& name, const std::vector<uint8_t>& bytes) const {
        const std::string path = (dir / name).string();
        EXPECT_TRUE(writeFileAtomically(path, bytes.data(), bytes.size()));
        return path;
    }

    fs::path dir;
};

DecodeOptions reducedTo(int side, size_t budget) {
    DecodeOptions options;
    options.resampleWidth = side;
    options.resampleHeight = side;
    options.memoryBudget = budget;
    return options;
}

struct ChildDecode {
    int status;   ///< 0 when the picture decoded, 1 when refused, -1 when the child died
    long peakKiB; ///< the child's peak resident memory
};

/// Decodes in a child process, whose peak memory is its own whatever this process held before.
ChildDecode decodeInChild(const std::vector<uint8_t>& bytes, PictureKind kind) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        ImageBuffer image;
        _exit(decodePicture(bytes, kind, image, reducedTo(64, DecodeOptions{}.memoryBudget)) ==
                      DecodeResult::Ok
                  ? 0
                  : 1);
    }
    int status = 0;
    struct rusage usage {};
    if (pid < 0 || ::wait4(pid, &status, 0, &usage) != pid) {
        return {-1, 0};
    }
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, usage.ru_maxrss};
}

} // namespace

TEST_F(PictureBudget, CompressedTextChunksAreSkippedUnread) {
    // 300 text chunks that would inflate to just under the 8 MiB a chunk may take, 2.4 GB of
    // text in a 2.6 MB file.
    const std::vector<uint8_t> plain = bombs::rampPng(96, 96, false);
    const std::vector<uint8_t> texts =
        bombs::rampPng(96, 96, false, bombs::compressedTexts(300, (uint64_t{8} << 20) - 1024));
    const ChildDecode without = decodeInChild(plain, PictureKind::Png);
    const ChildDecode with = decodeInChild(texts, PictureKind::Png);
    ASSERT_EQ(without.status, 0);
    ASSERT_EQ(with.status, 0);
    EXPECT_LT(with.peakKiB - without.peakKiB, 32 * 1024) << "peak KiB " << with.peakKiB;

    ImageBuffer expected;
    ImageBuffer image;
    ASSERT_EQ(decodePicture(plain, PictureKind::Png, expected), DecodeResult::Ok);
    ASSERT_EQ(decodePicture(texts, PictureKind::Png, image), DecodeResult::Ok);
    EXPECT_EQ(image.pixels, expected.pixels);
}

TEST_F(PictureBudget, AJpegOfMoreScansThanEncodersWriteIsRefused) {
    const std::vector<uint8_t> most = bombs::manyScanJpeg(48, 40, kMaxJpegScans);
    const std::vector<uint8_t> tooMany = bombs::manyScanJpeg(48, 40, kMaxJpegScans + 1);
    ASSERT_EQ(bombs::countScans(most), kMaxJpegScans);
    ASSERT_EQ(bombs::countScans(tooMany), kMaxJpegScans + 1);
    ImageBuffer image;
    EXPECT_EQ(decodePicture(most, PictureKind::Jpeg, image), DecodeResult::Ok);
    EXPECT_EQ(image.width, 48);
    for (const DecodeOptions& options : {DecodeOptions{}, reducedTo(8, 1 << 20)}) {
        EXPECT_EQ(decodePicture(tooMany, PictureKind::Jpeg, image, options),
                  DecodeResult::Unreadable);
        EXPECT_FALSE(image.hasPixels());
    }
    RecordingMessages messages;
    EXPECT_EQ(LoadImageFile(image, write("scans.jpg", tooMany), messages), -1);
    EXPECT_EQ(messages.texts, std::vector<std::string>{kUnreadablePictureMessage});
}

TEST_F(PictureBudget, HugePicturesAreRefusedWholeWithTheUnreadableMessage) {
    // 16384 x 16384 would take 1 GiB as a whole picture; the files are 33 KB and 8 MB.
    const std::string png = write("bomb.png", bombs::zeroPng(16384, 16384, 1, 0, true));
    const std::string tga = write("bomb.tga", bombs::rleTga(16384, 16384));
    for (const std::string& path : {png, tga}) {
        ImageBuffer image;
        RecordingMessages messages;
        EXPECT_EQ(LoadImageFile(image, path, messages), -1) << path;
        EXPECT_FALSE(image.hasPixels());
        EXPECT_EQ(messages.texts, std::vector<std::string>{kUnreadablePictureMessage});
    }
}

TEST_F(PictureBudget, APictureTooBigToHoldIsStillReducedWithinTheBudget) {
    // 512 x 512 takes 1 MiB whole; the filter keeps 40 rows (80 KiB) for an 8 x 8 result.
    const std::vector<std::pair<std::string, std::vector<uint8_t>>> pictures = {
        {"interlaced.png", bombs::rampPng(512, 512, true)},
        {"plain.png", bombs::rampPng(512, 512, false)},
        {"deep.png", bombs::zeroPng(512, 512, 16, 6, true)},
        {"runs.tga", bombs::rleTga(512, 512)},
    };
    for (const auto& [name, bytes] : pictures) {
        const PictureKind kind = detectPictureKind(bytes, name);
        const size_t budget = bytes.size() + (size_t{200} << 10);
        ImageBuffer whole;
        DecodeOptions plain;
        plain.memoryBudget = budget;
        EXPECT_EQ(decodePicture(bytes, kind, whole, plain), DecodeResult::Unreadable) << name;
        EXPECT_FALSE(whole.hasPixels());

        ImageBuffer reduced;
        ASSERT_EQ(decodePicture(bytes, kind, reduced, reducedTo(8, budget)), DecodeResult::Ok)
            << name;
        ASSERT_EQ(decodePicture(bytes, kind, whole), DecodeResult::Ok) << name;
        Resample(whole, 8, 8);
        EXPECT_EQ(reduced.pixels, whole.pixels) << name;
    }
    // The rows kept are the rows the filter reads: down the middle column, grey rises.
    ImageBuffer ramp;
    ASSERT_EQ(decodePicture(pictures[0].second, PictureKind::Png, ramp, reducedTo(8, 1 << 20)),
              DecodeResult::Ok);
    for (size_t t = 1; t < 7; ++t) {
        EXPECT_LT(ramp.pixels[t * 8 + 4] & 0xFF, ramp.pixels[t * 8 + 12] & 0xFF) << t;
    }
}

TEST_F(PictureBudget, TheFileAndThePictureBothCount) {
    // rgb8.png is 7 x 5: its picture takes 140 bytes.
    const std::vector<uint8_t> png = readPicture("rgb8.png");
    ImageBuffer image;
    DecodeOptions options;
    options.memoryBudget = png.size() + 140;
    EXPECT_EQ(decodePicture(png, PictureKind::Png, image, options), DecodeResult::Ok);
    options.memoryBudget = png.size() + 139;
    EXPECT_EQ(decodePicture(png, PictureKind::Png, image, options), DecodeResult::Unreadable);
}

TEST_F(PictureBudget, ProgressiveJpegsAlsoNeedRoomForTheirCoefficients) {
    // The same 16 x 8 picture (512 bytes); the progressive one first holds the coefficients of
    // every block, two blocks of 128 bytes for each of its three components.
    const std::vector<uint8_t> baseline = readPicture("rgb_baseline.jpg");
    const std::vector<uint8_t> progressive = readPicture("rgb_progressive.jpg");
    ImageBuffer image;
    DecodeOptions options;
    options.memoryBudget = std::max(baseline.size(), progressive.size()) + 512 + 256;
    EXPECT_EQ(decodePicture(baseline, PictureKind::Jpeg, image, options), DecodeResult::Ok);
    EXPECT_EQ(decodePicture(progressive, PictureKind::Jpeg, image, options),
              DecodeResult::Unreadable);
    options.memoryBudget += 1024;
    EXPECT_EQ(decodePicture(progressive, PictureKind::Jpeg, image, options), DecodeResult::Ok);
}
