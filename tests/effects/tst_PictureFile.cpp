#include "EffectPicture.h"
#include "FileIO.h"
#include "Messages.h"
#include "PictureFile.h"
#include "Resample.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <array>
#include <cstdlib>
#include <string>
#include <vector>

using namespace tesk;

namespace {

const std::string kDir = std::string(TESK_TEST_DATA) + "/pictures/";
constexpr int kW = 7;
constexpr int kH = 5;

// The pictures that make_test_pictures.py and MakeTestJpegs.cpp write.
std::array<int, 3> reference(int x, int y) {
    return {(37 * x + 11 * y + 5) & 255, (60 * x + 23 * y + 17) & 255, (29 * x * y + 90) & 255};
}
int greyRamp(int x, int y) {
    return 28 * x + 19 * y + 5;
}
std::array<int, 3> jpegColour(int x, int y) {
    return {x * 15 + 10, y * 30 + 10, 200 - x * 5};
}

std::array<int, 3> channels(uint32_t p) {
    return {static_cast<int>(p & 0xFF), static_cast<int>((p >> 8) & 0xFF),
            static_cast<int>((p >> 16) & 0xFF)};
}

std::vector<uint8_t> readBytes(const std::string& name) {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(readWholeFile(kDir + name, bytes, 1 << 20)) << name;
    return bytes;
}

/// Loads a test picture and checks the parts every successful load shares.
void load(const std::string& name, ImageBuffer& image, int width = kW, int height = kH) {
    RecordingMessages messages;
    ASSERT_EQ(LoadImageFile(image, kDir + name, messages), 1) << name;
    EXPECT_TRUE(messages.texts.empty());
    EXPECT_EQ(image.filePath, kDir + name);
    ASSERT_EQ(image.width, width) << name;
    ASSERT_EQ(image.height, height) << name;
    ASSERT_EQ(image.pixels.size(), static_cast<size_t>(width) * static_cast<size_t>(height));
    for (uint32_t p : image.pixels) {
        ASSERT_EQ(p >> 24, 0u) << name;
    }
}

template <typename Expected>
void expectPicture(const std::string& name, Expected expected, int tolerance = 0) {
    ImageBuffer image;
    load(name, image);
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            const std::array<int, 3> want = expected(x, y);
            const std::array<int, 3> got = channels(image.pixels[static_cast<size_t>(y * kW + x)]);
            for (int c = 0; c < 3; ++c) {
                ASSERT_LE(std::abs(got[c] - want[c]), tolerance)
                    << name << " at " << x << "," << y << " channel " << c;
            }
        }
    }
}

const std::vector<std::string> kReferenceFiles = {"rgb8.png",
                                                  "rgb8_interlaced.png",
                                                  "rgb16.png",
                                                  "rgba8.png",
                                                  "rgba16.png",
                                                  "palette8.png",
                                                  "palette8_trns.png",
                                                  "rgb24_bottomup.bmp",
                                                  "rgb24_topdown.bmp",
                                                  "rgb24_core.bmp",
                                                  "rgb32_bottomup.bmp",
                                                  "rgb32_topdown.bmp",
                                                  "rgb32_bitfields_v5.bmp",
                                                  "rgb32_bitfields_40.bmp",
                                                  "palette8.bmp",
                                                  "rgb24_bottom.tga",
                                                  "rgb24_top.tga",
                                                  "rgb24_bottom_rtl.tga",
                                                  "rgb24_top_rtl.tga",
                                                  "rgb32_bottom.tga",
                                                  "rgb32_top.tga",
                                                  "rgb32_bottom_rtl.tga",
                                                  "rgb32_top_rtl.tga",
                                                  "rgb24_rle_bottom.tga",
                                                  "rgb24_rle_top.tga",
                                                  "rgb24_rle_bottom_rtl.tga",
                                                  "rgb24_rle_top_rtl.tga",
                                                  "rgb32_rle_bottom.tga",
                                                  "rgb32_rle_top.tga",
                                                  "rgb32_rle_bottom_rtl.tga",
                                                  "rgb32_rle_top_rtl.tga",
                                                  "palette8.tga",
                                                  "palette8_rle.tga"};

const std::vector<std::string> kGreyFiles = {"grey8.png",      "grey16.png",
                                             "greyalpha8.png", "greyalpha8_interlaced.png",
                                             "grey8.tga",      "grey8_rle.tga"};

const std::vector<std::string> kJpegFiles = {
    "rgb_baseline.jpg",           "rgb_progressive.jpg", "rgb_subsampled.jpg", "grey.jpg",
    "grey_progressive.jpg",       "cmyk_plain.jpg",      "cmyk_adobe.jpg",     "ycck_adobe.jpg",
    "ycck_adobe_progressive.jpg", "large_128x64.jpg"};

std::vector<std::string> allFiles() {
    std::vector<std::string> all = kReferenceFiles;
    all.insert(all.end(), kGreyFiles.begin(), kGreyFiles.end());
    all.insert(all.end(), kJpegFiles.begin(), kJpegFiles.end());
    for (const char* name : {"grey1.png", "grey2.png", "grey4.png", "palette4.bmp", "palette1.bmp",
                             "rgb16_565.bmp", "rgb16.tga", "runs_across_rows.tga"}) {
        all.emplace_back(name);
    }
    return all;
}

} // namespace

TEST(PictureFile, EveryLosslessVariantGivesTheSameTopRowFirstPicture) {
    for (const std::string& name : kReferenceFiles) {
        expectPicture(name, reference);
    }
    for (const std::string& name : kGreyFiles) {
        expectPicture(name, [](int x, int y) {
            const int v = greyRamp(x, y);
            return std::array<int, 3>{v, v, v};
        });
    }
}

TEST(PictureFile, LowDepthGreyPngsAreScaledToFullRange) {
    for (int depth : {1, 2, 4}) {
        const int top = (1 << depth) - 1;
        expectPicture("grey" + std::to_string(depth) + ".png", [&](int x, int y) {
            const int v = (x + y) % (top + 1) * 255 / top;
            return std::array<int, 3>{v, v, v};
        });
    }
}

TEST(PictureFile, PaletteBitmapsOfFewerBits) {
    expectPicture("palette4.bmp", [](int x, int y) {
        const int v = (x + 3 * y) % 16 * 17;
        return std::array<int, 3>{v, v, v};
    });
    expectPicture("palette1.bmp", [](int x, int y) {
        return (x + y) % 2 != 0 ? std::array<int, 3>{220, 210, 200}
                                : std::array<int, 3>{30, 20, 10};
    });
}

TEST(PictureFile, SixteenBitPixelsWidenToFullRange) {
    // Blue holds the 5-bit values 0, 4, 8 ... 24 across a row.
    static constexpr int kBlue[kW] = {0, 33, 66, 99, 132, 165, 197};
    expectPicture("rgb16_565.bmp", [](int x, int y) {
        return std::array<int, 3>{x % 2 != 0 ? 255 : 0, y % 2 != 0 ? 255 : 65, kBlue[x]};
    });
    expectPicture("rgb16.tga", [](int x, int y) {
        return std::array<int, 3>{x % 2 != 0 ? 255 : 0, (kH - 1 - y) % 2 != 0 ? 132 : 255,
                                  kBlue[x]};
    });
}

TEST(PictureFile, RunsMayCrossRowEnds) {
    ImageBuffer image;
    load("runs_across_rows.tga", image);
    for (size_t i = 0; i < image.pixels.size(); ++i) {
        ASSERT_EQ(image.pixels[i], i + 3 < image.pixels.size() ? 0x090807u : 0x010203u) << i;
    }
}

TEST(PictureFile, JpegsOfEveryColourModelDecodeClose) {
    const auto grey = [](int x, int y) {
        const int v = x * 12 + y * 8;
        return std::array<int, 3>{v, v, v};
    };
    // Ink amounts c, m, y, k of the CMYK files; the light left is (255 - ink) (255 - k) / 255.
    const auto cmyk = [](int x, int y) {
        const int k = 255 - (x + y) * 8;
        return std::array<int, 3>{(255 - x * 15) * k / 255, (255 - y * 30) * k / 255,
                                  155 * k / 255};
    };
    for (const auto& [name, grey8] :
         std::vector<std::pair<std::string, bool>>{{"rgb_baseline.jpg", false},
                                                   {"rgb_progressive.jpg", false},
                                                   {"grey.jpg", true},
                                                   {"grey_progressive.jpg", true}}) {
        ImageBuffer image;
        load(name, image, 16, 8);
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 16; ++x) {
                const auto want = grey8 ? grey(x, y) : jpegColour(x, y);
                const auto got = channels(image.pixels[static_cast<size_t>(y * 16 + x)]);
                for (int c = 0; c < 3; ++c) {
                    ASSERT_LE(std::abs(got[c] - want[c]), 3) << name << " " << x << "," << y;
                }
            }
        }
    }
    for (const char* name :
         {"cmyk_plain.jpg", "cmyk_adobe.jpg", "ycck_adobe.jpg", "ycck_adobe_progressive.jpg"}) {
        ImageBuffer image;
        load(name, image, 16, 8);
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 16; ++x) {
                const auto want = cmyk(x, y);
                const auto got = channels(image.pixels[static_cast<size_t>(y * 16 + x)]);
                for (int c = 0; c < 3; ++c) {
                    ASSERT_LE(std::abs(got[c] - want[c]), 4) << name << " " << x << "," << y;
                }
            }
        }
    }
    ImageBuffer subsampled;
    load("rgb_subsampled.jpg", subsampled, 16, 8);
    EXPECT_LE(std::abs(channels(subsampled.pixels[0])[0] - 10), 12);
}

TEST(PictureFile, LargeJpegsMayDecodeReducedButNotBelowTheWantedSize) {
    RecordingMessages messages;
    ImageBuffer image;
    DecodeOptions options;
    options.minWidth = 32;
    options.minHeight = 16;
    ASSERT_EQ(LoadImageFile(image, kDir + "large_128x64.jpg", messages, options), 1);
    EXPECT_EQ(image.width, 32);
    EXPECT_EQ(image.height, 16);
    // Left half blue 40, right half 220; green grows downwards.
    EXPECT_NEAR(channels(image.pixels[0])[2], 40, 6);
    EXPECT_NEAR(channels(image.pixels[31])[2], 220, 6);
    EXPECT_LT(channels(image.pixels[0])[1], channels(image.pixels[15 * 32])[1]);

    options.minWidth = 33;
    ASSERT_EQ(LoadImageFile(image, kDir + "large_128x64.jpg", messages, options), 1);
    EXPECT_EQ(image.width, 48);
    EXPECT_EQ(image.height, 24);
    ASSERT_EQ(LoadImageFile(image, kDir + "large_128x64.jpg", messages), 1);
    EXPECT_EQ(image.width, 128);
    EXPECT_EQ(image.height, 64);
}

TEST(PictureFile, KindComesFromTheContentAndTheExtensionOnlyForTga) {
    EXPECT_EQ(detectPictureKind(readBytes("rgb8.png"), "a.tga"), PictureKind::Png);
    EXPECT_EQ(detectPictureKind(readBytes("grey.jpg"), "a.bmp"), PictureKind::Jpeg);
    EXPECT_EQ(detectPictureKind(readBytes("palette8.bmp"), "a.png"), PictureKind::Bmp);
    const std::vector<uint8_t> tga = readBytes("rgb24_top.tga");
    EXPECT_EQ(detectPictureKind(tga, "dir.x/a.TGA"), PictureKind::Tga);
    EXPECT_EQ(detectPictureKind(tga, "a.dat"), PictureKind::Unknown);
    EXPECT_EQ(detectPictureKind(readBytes("runs_across_rows.tga"), "a.dat"), PictureKind::Tga);
}

TEST(PictureFile, FailedLoadsTellTheUserAndLeaveNoPixels) {
    const std::string text = std::string(TESK_TEST_DATA) + "/pictures/not_a_picture.txt";
    for (const std::string& path : {kDir + "missing.png", kDir, text}) {
        ImageBuffer image;
        image.allocate(2, 2);
        image.filePath = "old";
        RecordingMessages messages;
        EXPECT_EQ(LoadImageFile(image, path, messages), -1) << path;
        EXPECT_FALSE(image.hasPixels());
        EXPECT_EQ(image.width, 0);
        EXPECT_TRUE(image.filePath.empty());
        EXPECT_EQ(messages.texts, std::vector<std::string>{"指定ファイルが読み込めませんでした。"});
    }
}

TEST(PictureFile, PicturesBeyondTheLimitsAreRefusedBeforeAllocating) {
    DecodeOptions tight;
    tight.maxPixels = kW * kH - 1;
    DecodeOptions narrow;
    narrow.maxSide = kW - 1;
    for (const char* name : {"rgb8.png", "rgb24_bottomup.bmp", "rgb24_rle_top.tga"}) {
        const std::vector<uint8_t> bytes = readBytes(name);
        const PictureKind kind = detectPictureKind(bytes, name);
        ImageBuffer image;
        EXPECT_EQ(decodePicture(bytes, kind, image), DecodeResult::Ok) << name;
        EXPECT_EQ(decodePicture(bytes, kind, image, tight), DecodeResult::Unreadable) << name;
        EXPECT_FALSE(image.hasPixels());
        EXPECT_EQ(decodePicture(bytes, kind, image, narrow), DecodeResult::Unreadable) << name;
    }
    const std::vector<uint8_t> jpeg = readBytes("grey.jpg");
    ImageBuffer image;
    DecodeOptions jpegTight;
    jpegTight.maxPixels = 16 * 8 - 1;
    EXPECT_EQ(decodePicture(jpeg, PictureKind::Jpeg, image, jpegTight), DecodeResult::Unreadable);

    // Headers that claim huge pictures over a few bytes of data.
    std::vector<uint8_t> bmp = readBytes("rgb24_bottomup.bmp");
    bmp[18] = 0x01;
    bmp[19] = 0x40; // width 16385
    EXPECT_EQ(decodePicture(bmp, PictureKind::Bmp, image), DecodeResult::Unreadable);
    bmp[19] = 0x3F;
    bmp[22] = 0x00;
    bmp[23] = 0x3F; // 16129 x 16128: within the limits, far more than the file holds
    EXPECT_EQ(decodePicture(bmp, PictureKind::Bmp, image), DecodeResult::Unreadable);
    std::vector<uint8_t> tga = readBytes("rgb24_rle_top.tga");
    tga[12] = tga[13] = tga[14] = tga[15] = 0x3F;
    EXPECT_EQ(decodePicture(tga, PictureKind::Tga, image), DecodeResult::Unreadable);

    std::vector<uint8_t> png = readBytes("rgb8.png");
    png[16] = 0;
    png[17] = 0;
    png[18] = 0x40;
    png[19] = 0x01; // width 16385, with the chunk's checksum made to match
    const uLong crc = crc32(0, png.data() + 12, 17);
    for (int i = 0; i < 4; ++i) {
        png[29 + static_cast<size_t>(i)] = static_cast<uint8_t>(crc >> (24 - 8 * i));
    }
    EXPECT_EQ(decodePicture(png, PictureKind::Png, image), DecodeResult::Unreadable);
    EXPECT_FALSE(image.hasPixels());
}

TEST(PictureFile, TruncatedFilesFailCleanly) {
    for (const std::string& name : allFiles()) {
        const std::vector<uint8_t> bytes = readBytes(name);
        const PictureKind kind = detectPictureKind(bytes, name);
        size_t needed = bytes.size();
        if (name == "runs_across_rows.tga") {
            needed -= 26; // the footer is optional
        }
        if (kind == PictureKind::Bmp) {
            needed = bytes.size() - 3; // the padding of the last row may be missing
        }
        for (size_t cut :
             {size_t{0}, size_t{1}, size_t{8}, size_t{18}, size_t{40}, needed / 2, needed - 1}) {
            if (cut >= needed) {
                continue;
            }
            ImageBuffer image;
            const std::span<const uint8_t> part(bytes.data(), cut);
            EXPECT_NE(decodePicture(part, kind, image), DecodeResult::Ok) << name << " cut " << cut;
            EXPECT_FALSE(image.hasPixels());
        }
    }
}

TEST(PictureFile, DamagedBytesNeverGiveAWrongSizedPicture) {
    for (const std::string& name : allFiles()) {
        const std::vector<uint8_t> good = readBytes(name);
        const PictureKind kind = detectPictureKind(good, name);
        for (size_t at = 0; at < good.size(); ++at) {
            std::vector<uint8_t> bytes = good;
            bytes[at] ^= 0xA5;
            ImageBuffer image;
            const DecodeResult result = decodePicture(bytes, kind, image);
            if (result == DecodeResult::Ok) {
                ASSERT_EQ(image.pixels.size(),
                          static_cast<size_t>(image.width) * static_cast<size_t>(image.height));
                // Every byte of these PNGs sits in the signature or under the checksum of a
                // chunk the picture needs (a damaged tRNS chunk is only dropped).
                ASSERT_TRUE(kind != PictureKind::Png || name == "palette8_trns.png")
                    << name << " byte " << at;
            } else {
                ASSERT_FALSE(image.hasPixels());
            }
        }
    }
}

TEST(PictureFile, ResamplingWhileDecodingMatchesResamplingAfterwards) {
    // Rows reach the filter in the order the file stores them, interlaced rows in pieces.
    for (const char* name :
         {"rgb8.png", "rgb8_interlaced.png", "grey1.png", "large_128x64.jpg", "cmyk_adobe.jpg",
          "grey_progressive.jpg", "rgb24_rle_top.tga", "rgb24_rle_bottom_rtl.tga",
          "rgb32_bottom.tga", "palette8_rle.tga", "rgb24_bottomup.bmp", "palette4.bmp"}) {
        const std::vector<uint8_t> bytes = readBytes(name);
        const PictureKind kind = detectPictureKind(bytes, name);
        for (const auto& [w, h] : {std::pair{64, 64}, std::pair{3, 2}}) {
            ImageBuffer direct;
            ASSERT_EQ(decodePicture(bytes, kind, direct), DecodeResult::Ok) << name;
            Resample(direct, w, h);
            DecodeOptions options;
            options.resampleWidth = w;
            options.resampleHeight = h;
            ImageBuffer reduced;
            ASSERT_EQ(decodePicture(bytes, kind, reduced, options), DecodeResult::Ok) << name;
            EXPECT_EQ(reduced.width, w);
            EXPECT_EQ(reduced.height, h);
            EXPECT_EQ(reduced.pixels, direct.pixels) << name;
        }
    }
}

TEST(EffectPicture, PicturesOfTheEffectSizeAreNotResampled) {
    // Resampling would sharpen the gradient's wrapped edges.
    const std::string path = std::string(TESK_SOURCE_DIR) + "/res/effect/gradient_rgb.png";
    RecordingMessages messages;
    ImageBuffer image;
    ASSERT_EQ(loadEffectPicture(image, path, messages), 1);
    ASSERT_EQ(image.pixels.size(), 4096u);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            ASSERT_EQ(channels(image.pixels[static_cast<size_t>(y * 64 + x)]),
                      (std::array<int, 3>{x * 4, y * 4, (x + y) * 2}));
        }
    }
}

TEST(EffectPicture, NewRecordsAre64x64WithTheDefaultsOfAnAddedEffect) {
    RecordingMessages messages;
    const auto record = makeEffectRecord(kDir + "large_128x64.jpg", EFFECT_CENTROID, messages);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->width, 64);
    EXPECT_EQ(record->height, 64);
    EXPECT_EQ(record->pixels.size(), 4096u);
    EXPECT_EQ(record->typeCode(), EFFECT_CENTROID);
    EXPECT_TRUE(record->typeSet());
    EXPECT_EQ(record->enabled, 1);
    EXPECT_EQ(record->strength, 10.0f);
    EXPECT_EQ(record->strengthR, 100.0f);
    EXPECT_EQ(record->strengthG, 100.0f);
    EXPECT_EQ(record->strengthB, 100.0f);
    EXPECT_EQ(record->filePath, kDir + "large_128x64.jpg");
    EXPECT_TRUE(messages.texts.empty());

    EXPECT_EQ(makeEffectRecord(kDir + "missing.png", EFFECT_NORMAL, messages), nullptr);
    EXPECT_EQ(messages.texts.size(), 1u);
}
