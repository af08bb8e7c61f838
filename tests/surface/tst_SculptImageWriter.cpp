#include "SculptImageWriter.h"

#include "FileIO.h"
#include "Messages.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace tesk {
namespace {

namespace fs = std::filesystem;

uint32_t pixel(uint32_t x, uint32_t y, uint32_t z) {
    return x | y << 8 | z << 16;
}

// Distinct codes everywhere: X from the column, Y from the row, Z from both.
std::vector<uint32_t> testMap() {
    std::vector<uint32_t> map(4096);
    for (uint32_t r = 0; r < 64; ++r) {
        for (uint32_t c = 0; c < 64; ++c) {
            map[r * 64 + c] = pixel(c * 4 + 1, r * 4 + 2, (r * 64 + c) % 251);
        }
    }
    return map;
}

class TempDir {
public:
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "tesk-export-XXXXXX").string();
        path = ::mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~TempDir() { fs::remove_all(path); }
    std::string file(const std::string& name) const { return (fs::path(path) / name).string(); }
    size_t entries() const {
        return static_cast<size_t>(std::distance(fs::directory_iterator(path), {}));
    }
    std::string path;
};

std::vector<uint8_t> readBack(const std::string& path) {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(readWholeFile(path, bytes, 1 << 20)) << path;
    return bytes;
}

uint32_t le32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
uint32_t le16(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8;
}

// The file colour (r, g, b) of image row r, column c of a BMP.
std::array<uint8_t, 3> bmpColour(const std::vector<uint8_t>& bmp, int r, int c) {
    const size_t at = 54 + static_cast<size_t>((63 - r) * 192 + c * 3);
    return {bmp[at + 2], bmp[at + 1], bmp[at]};
}

std::array<uint8_t, 3> colourOf(uint32_t p) {
    return {static_cast<uint8_t>(255 - (p & 0xFF)), static_cast<uint8_t>(255 - ((p >> 8) & 0xFF)),
            static_cast<uint8_t>((p >> 16) & 0xFF)};
}

TEST(SculptImageWriter, BmpLayoutByteForByte) {
    const std::vector<uint32_t> map = testMap();
    const std::vector<uint8_t> bmp = EncodeSculptBmp(map.data(), 64, 64);
    ASSERT_EQ(bmp.size(), 12344u);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(le32(bmp, 2), 12344u);
    EXPECT_EQ(le32(bmp, 6), 0u);
    EXPECT_EQ(le32(bmp, 10), 54u);
    EXPECT_EQ(le32(bmp, 14), 40u);
    EXPECT_EQ(le32(bmp, 18), 64u);
    EXPECT_EQ(le32(bmp, 22), 64u);
    EXPECT_EQ(le16(bmp, 26), 1u);
    EXPECT_EQ(le16(bmp, 28), 24u);
    EXPECT_EQ(le32(bmp, 30), 0u);
    EXPECT_EQ(le32(bmp, 34), 0u);
    EXPECT_EQ(le32(bmp, 38), 2834u);
    EXPECT_EQ(le32(bmp, 42), 2834u);
    EXPECT_EQ(le32(bmp, 46), 0u);
    EXPECT_EQ(le32(bmp, 50), 0u);
    // The first pixel bytes are the bottom row (map row 63), blue first.
    const uint32_t first = map[63 * 64];
    EXPECT_EQ(bmp[54], (first >> 16) & 0xFF);
    EXPECT_EQ(bmp[55], 255 - ((first >> 8) & 0xFF));
    EXPECT_EQ(bmp[56], 255 - (first & 0xFF));
    for (int r = 0; r < 64; ++r) {
        for (int c = 0; c < 64; ++c) {
            ASSERT_EQ(bmpColour(bmp, r, c), colourOf(map[static_cast<size_t>(r * 64 + c)]));
        }
    }
    EXPECT_EQ(bmp[12342], 0);
    EXPECT_EQ(bmp[12343], 0);
    // Rows pad to four bytes and the file to a multiple of four: 3 x 2 pixels give rows of
    // 12 bytes and 54 + 24 = 78 bytes, padded to 80.
    const std::vector<uint8_t> small = EncodeSculptBmp(map.data(), 3, 2);
    EXPECT_EQ(small.size(), 80u);
    EXPECT_EQ(le32(small, 2), small.size());
}

TEST(SculptImageWriter, FlipsMirrorRowsAndInvertCodes) {
    const std::vector<uint32_t> map = testMap();
    std::vector<uint32_t> x = map;
    ApplyExportFlips(x.data(), 64, 64, {true, false, false});
    const uint32_t source = map[5 * 64 + 0];
    EXPECT_EQ(x[5 * 64 + 63], (source & 0xFFFF00) | (255 - (source & 0xFF)));
    // In the file, the red of the flipped pixel is the X code of its source.
    EXPECT_EQ(colourOf(x[5 * 64 + 63])[0], source & 0xFF);

    std::vector<uint32_t> xy = map;
    ApplyExportFlips(xy.data(), 64, 64, {true, true, false});
    for (size_t i = 0; i < 4096; ++i) {
        ASSERT_EQ(colourOf(xy[i])[0], map[i] & 0xFF);
        ASSERT_EQ(colourOf(xy[i])[1], (map[i] >> 8) & 0xFF);
        ASSERT_EQ(colourOf(xy[i])[2], (map[i] >> 16) & 0xFF);
    }

    std::vector<uint32_t> xyz = map;
    ApplyExportFlips(xyz.data(), 64, 64, {true, true, true});
    EXPECT_EQ(xyz[10 * 64 + 60], map[10 * 64 + 3] ^ 0xFFFFFFu);

    std::vector<uint32_t> z = map;
    ApplyExportFlips(z.data(), 64, 64, {false, false, true});
    EXPECT_EQ(z[2], map[61] ^ 0xFF0000u);
}

TEST(SculptImageWriter, ExportChoosesTheFormatByExtensionIgnoringCase) {
    TempDir dir;
    RecordingMessages messages;
    const std::vector<uint32_t> map = testMap();
    ASSERT_TRUE(ExportSculptImage(dir.file("Map.BMP"), map.data(), 64, 64, {}, messages));
    EXPECT_EQ(readBack(dir.file("Map.BMP")), EncodeSculptBmp(map.data(), 64, 64));

    ASSERT_TRUE(ExportSculptImage(dir.file("flipped.bmp"), map.data(), 64, 64, {false, true, false},
                                  messages));
    std::vector<uint32_t> flipped = map;
    ApplyExportFlips(flipped.data(), 64, 64, {false, true, false});
    EXPECT_EQ(readBack(dir.file("flipped.bmp")), EncodeSculptBmp(flipped.data(), 64, 64));
    EXPECT_TRUE(messages.texts.empty());

    EXPECT_EQ(SculptFormatForPath("a/b.Png"), SculptFileFormat::Png);
    EXPECT_EQ(SculptFormatForPath("x.TGA"), SculptFileFormat::Tga);
    EXPECT_EQ(SculptFormatForPath("x.JPEG"), SculptFileFormat::Jpeg);
    EXPECT_EQ(SculptFormatForPath("dir.bmp/file"), SculptFileFormat::Unknown);
}

TEST(SculptImageWriter, PngDecodesToTheSamePicture) {
    TempDir dir;
    RecordingMessages messages;
    const std::vector<uint32_t> map = testMap();
    const std::string path = dir.file("map.png");
    ASSERT_TRUE(ExportSculptImage(path, map.data(), 64, 64, {true, false, false}, messages));
    std::vector<uint32_t> flipped = map;
    ApplyExportFlips(flipped.data(), 64, 64, {true, false, false});

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str()));
    EXPECT_EQ(image.width, 64u);
    EXPECT_EQ(image.height, 64u);
    EXPECT_EQ(image.format, static_cast<png_uint_32>(PNG_FORMAT_RGB));
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
    for (size_t i = 0; i < 4096; ++i) {
        const std::array<uint8_t, 3> expected = colourOf(flipped[i]);
        ASSERT_EQ(rgb[i * 3], expected[0]) << i;
        ASSERT_EQ(rgb[i * 3 + 1], expected[1]) << i;
        ASSERT_EQ(rgb[i * 3 + 2], expected[2]) << i;
    }
}

TEST(SculptImageWriter, TgaIsUncompressedBottomUpBgr) {
    TempDir dir;
    RecordingMessages messages;
    const std::vector<uint32_t> map = testMap();
    ASSERT_TRUE(ExportSculptImage(dir.file("map.tga"), map.data(), 64, 64, {}, messages));
    const std::vector<uint8_t> tga = readBack(dir.file("map.tga"));
    ASSERT_EQ(tga.size(), 18u + 64 * 64 * 3);
    const uint8_t header[18] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 64, 0, 64, 0, 24, 0};
    EXPECT_TRUE(std::equal(header, header + 18, tga.begin()));
    // Identical pixel bytes to the BMP: bottom row first, blue, green, red.
    const std::vector<uint8_t> bmp = EncodeSculptBmp(map.data(), 64, 64);
    EXPECT_TRUE(std::equal(tga.begin() + 18, tga.end(), bmp.begin() + 54));
}

TEST(SculptImageWriter, RefusalsAndFailuresLeaveNoFile) {
    TempDir dir;
    const std::vector<uint32_t> map = testMap();
    for (const char* name : {"map.jpg", "map.JPEG", "map.gif", "map", "map.bmp.txt"}) {
        RecordingMessages messages;
        EXPECT_FALSE(ExportSculptImage(dir.file(name), map.data(), 64, 64, {}, messages)) << name;
        ASSERT_EQ(messages.texts.size(), 1u) << name;
        const bool jpeg = name == std::string("map.jpg") || name == std::string("map.JPEG");
        EXPECT_EQ(messages.texts[0], jpeg ? kJpegRefusedMessage : kUnknownFormatMessage);
    }
    EXPECT_EQ(dir.entries(), 0u);

    RecordingMessages messages;
    const std::string missing = dir.file("no-such-folder/map.bmp");
    EXPECT_FALSE(ExportSculptImage(missing, map.data(), 64, 64, {}, messages));
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_EQ(messages.texts[0], std::string(kExportWriteFailedMessage) + "\n" + missing);

    EXPECT_FALSE(ExportSculptImage(dir.file("empty.bmp"), nullptr, 0, 0, {}, messages));
    EXPECT_EQ(messages.texts.back(), kNoPictureMessage);
    EXPECT_EQ(dir.entries(), 0u);

    // A refused export never touches a file already at the path.
    const std::string kept = dir.file("kept.jpg");
    ASSERT_TRUE(writeFileAtomically(kept, "old", 3));
    EXPECT_FALSE(ExportSculptImage(kept, map.data(), 64, 64, {}, messages));
    EXPECT_EQ(readBack(kept), (std::vector<uint8_t>{'o', 'l', 'd'}));
}

} // namespace
} // namespace tesk
