#include "SculptImageWriter.h"

#include "FileIO.h"
#include "Messages.h"
#include "SPMesh.h"
#include "ScratchDir.h"
#include "SculptMapEncoder.h"
#include "SurfaceBuilder.h"

#include <gtest/gtest.h>
#include <png.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace tesk {
namespace {

namespace fs = std::filesystem;

// Distinct codes everywhere: X from the column, Y from the row, Z from both.
std::vector<uint32_t> testMap() {
    std::vector<uint32_t> map(4096);
    for (uint32_t i = 0; i < 4096; ++i) {
        map[i] = ((i % 64) * 4 + 1) | ((i / 64) * 4 + 2) << 8 | (i % 251) << 16;
    }
    return map;
}

std::array<uint8_t, 3> colourOf(uint32_t p) {
    return {static_cast<uint8_t>(255 - (p & 0xFF)), static_cast<uint8_t>(255 - ((p >> 8) & 0xFF)),
            static_cast<uint8_t>((p >> 16) & 0xFF)};
}

class SculptImageWriter : public ::testing::Test {
protected:
    std::string file(const std::string& name) const { return scratch.file(name); }
    static std::vector<uint8_t> bytesOf(const std::string& path) {
        std::vector<uint8_t> bytes;
        EXPECT_TRUE(readWholeFile(path, bytes, 1 << 20)) << path;
        return bytes;
    }
    tesk::testing::ScratchDir scratch{"tesk-export"};
    const std::vector<uint32_t> map = testMap();
    RecordingMessages messages;
};

TEST_F(SculptImageWriter, BmpLayoutByteForByte) {
    const std::vector<uint8_t> bmp = EncodeSculptBmp(map.data(), 64, 64);
    ASSERT_EQ(bmp.size(), 12344u);
    const uint8_t header[54] = {'B',  'M',  0x38, 0x30, 0,  0, 0, 0, 0,  0, 54,   0,    0, 0,
                                40,   0,    0,    0,    64, 0, 0, 0, 64, 0, 0,    0,    1, 0,
                                24,   0,    0,    0,    0,  0, 0, 0, 0,  0, 0x12, 0x0B, 0, 0,
                                0x12, 0x0B, 0,    0,    0,  0, 0, 0, 0,  0, 0,    0};
    EXPECT_TRUE(std::equal(header, header + 54, bmp.begin()));
    // Bottom row (map row 63) first, each pixel blue, green, red; two bytes of file padding.
    for (int r = 0; r < 64; ++r) {
        for (int c = 0; c < 64; ++c) {
            const size_t at = 54 + static_cast<size_t>((63 - r) * 192 + c * 3);
            ASSERT_EQ((std::array<uint8_t, 3>{bmp[at + 2], bmp[at + 1], bmp[at]}),
                      colourOf(map[static_cast<size_t>(r * 64 + c)]));
        }
    }
    EXPECT_EQ(bmp[12342] | bmp[12343], 0);
    // Rows pad to four bytes and the file to a multiple of four: 3 x 2 pixels take 80 bytes.
    const std::vector<uint8_t> small = EncodeSculptBmp(map.data(), 3, 2);
    EXPECT_EQ(small.size(), 80u);
    EXPECT_EQ(small[2], 80);
}

TEST_F(SculptImageWriter, FlipsMirrorRowsAndInvertCodes) {
    std::vector<uint32_t> x = map;
    ApplyExportFlips(x.data(), 64, 64, {true, false, false});
    // Column 63 comes from column 0; in the file its red is the source's X code.
    EXPECT_EQ(x[5 * 64 + 63], map[5 * 64] ^ 0xFFu);
    EXPECT_EQ(colourOf(x[5 * 64 + 63])[0], map[5 * 64] & 0xFF);

    std::vector<uint32_t> xy = map;
    ApplyExportFlips(xy.data(), 64, 64, {true, true, false});
    for (size_t i = 0; i < 4096; ++i) {
        ASSERT_EQ(xy[i], map[i] ^ 0xFFFFu); // no net mirroring, two codes inverted
    }
    std::vector<uint32_t> xyz = map;
    ApplyExportFlips(xyz.data(), 64, 64, {true, true, true});
    EXPECT_EQ(xyz[10 * 64 + 60], map[10 * 64 + 3] ^ 0xFFFFFFu);
    std::vector<uint32_t> z = map;
    ApplyExportFlips(z.data(), 64, 64, {false, false, true});
    EXPECT_EQ(z[2], map[61] ^ 0xFF0000u);
}

TEST_F(SculptImageWriter, FormatsByExtensionIgnoringCase) {
    ASSERT_TRUE(
        ExportSculptImage(file("Map.BMP"), map.data(), 64, 64, {false, true, false}, messages));
    std::vector<uint32_t> flipped = map;
    ApplyExportFlips(flipped.data(), 64, 64, {false, true, false});
    EXPECT_EQ(bytesOf(file("Map.BMP")), EncodeSculptBmp(flipped.data(), 64, 64));

    // Targa: an 18-byte header, then the BMP's pixel bytes (bottom-up, blue first).
    ASSERT_TRUE(ExportSculptImage(file("map.Tga"), map.data(), 64, 64, {}, messages));
    const std::vector<uint8_t> tga = bytesOf(file("map.Tga"));
    ASSERT_EQ(tga.size(), 18u + 12288u);
    const uint8_t header[18] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 64, 0, 64, 0, 24, 0};
    EXPECT_TRUE(std::equal(header, header + 18, tga.begin()));
    const std::vector<uint8_t> bmp = EncodeSculptBmp(map.data(), 64, 64);
    EXPECT_TRUE(std::equal(tga.begin() + 18, tga.end(), bmp.begin() + 54));

    // PNG: lossless, decoded by libpng to the same colours.
    ASSERT_TRUE(ExportSculptImage(file("map.PNG"), map.data(), 64, 64, {}, messages));
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, file("map.PNG").c_str()));
    EXPECT_EQ(image.width * image.height, 4096u);
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
    for (size_t i = 0; i < 4096; ++i) {
        ASSERT_EQ((std::array<uint8_t, 3>{rgb[i * 3], rgb[i * 3 + 1], rgb[i * 3 + 2]}),
                  colourOf(map[i]));
    }
    EXPECT_TRUE(messages.texts.empty());
}

// The texts libpng finds in a PNG file image; libpng drops an ancillary chunk whose CRC is wrong.
std::vector<std::pair<std::string, std::string>> pngTexts(const std::vector<uint8_t>& file) {
    struct Reader {
        const std::vector<uint8_t>& bytes;
        size_t at = 0;
    } reader{file};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    std::vector<std::pair<std::string, std::string>> texts;
    if (setjmp(png_jmpbuf(png)) == 0) {
        png_set_read_fn(png, &reader, [](png_structp p, png_bytep out, png_size_t n) {
            auto* r = static_cast<Reader*>(png_get_io_ptr(p));
            if (r->at + n > r->bytes.size()) {
                png_error(p, "short");
            }
            std::copy_n(r->bytes.begin() + static_cast<std::ptrdiff_t>(r->at), n, out);
            r->at += n;
        });
        png_read_info(png, info);
        png_textp text = nullptr;
        int count = 0;
        png_get_text(png, info, &text, &count);
        for (int i = 0; i < count; ++i) {
            texts.emplace_back(text[i].key, text[i].text);
        }
    }
    png_destroy_read_struct(&png, &info, nullptr);
    return texts;
}

TEST_F(SculptImageWriter, APngCarriesThePrimSizeAndTheSamePixels) {
    ASSERT_TRUE(ExportSculptImage(file("sized.png"), map.data(), 64, 64, {}, messages,
                                  "X 2.000, Y 1.500, Z 3.000"));
    const std::vector<uint8_t> sized = bytesOf(file("sized.png"));
    EXPECT_EQ(pngTexts(sized), (std::vector<std::pair<std::string, std::string>>{
                                   {kPrimSizeKeyword, "X 2.000, Y 1.500, Z 3.000"}}));
    // The chunk is all that differs from the plain file, so the pixels are unchanged.
    const std::vector<uint8_t> plain = EncodeSculptPng(map.data(), 64, 64);
    EXPECT_TRUE(pngTexts(plain).empty());
    ASSERT_GT(sized.size(), plain.size());
    EXPECT_TRUE(std::equal(plain.begin() + 33, plain.end(),
                           sized.end() - static_cast<std::ptrdiff_t>(plain.size() - 33)));
    // BMP and Targa have no place for it: their bytes stay as they were.
    ASSERT_TRUE(
        ExportSculptImage(file("sized.bmp"), map.data(), 64, 64, {}, messages, "X 1, Y 1, Z 1"));
    EXPECT_EQ(bytesOf(file("sized.bmp")), EncodeSculptBmp(map.data(), 64, 64));
}

TEST(PrimSize, IsTwiceTheHalfExtentsPerAxis) {
    EXPECT_EQ(PrimSizeText({1.0f, 0.75f, 1.5f}), "X 2.000, Y 1.500, Z 3.000");
    EXPECT_EQ(PrimSizeText({}), "X 0.000, Y 0.000, Z 0.000");
    // A shape twice as tall as wide reports it, though its map fills every axis alike.
    SPMesh mesh;
    mesh.makeDefault();
    for (int i = 0; i < mesh.lineCount(); ++i) {
        for (int j = 0; j < mesh.pointsPerLine(); ++j) {
            Point3 p;
            ASSERT_TRUE(mesh.getPoint(j, i, p));
            mesh.setPoint(j, i, {p.x, p.y, p.z * 2.0f});
        }
    }
    RecordingMessages built;
    ASSERT_TRUE(BuildSurface(mesh, DIM_POLES_LINEAR, built));
    const Point3 size = PrimSize(mesh.halfExtent);
    EXPECT_NEAR(size.z / size.x, 2.0f, 0.05f);
}

TEST_F(SculptImageWriter, RefusalsAndFailuresLeaveNoFile) {
    const std::string kept = file("kept.jpg");
    ASSERT_TRUE(writeFileAtomically(kept, "old", 3));
    const std::pair<const char*, const char*> refused[] = {{"kept.jpg", kJpegRefusedMessage},
                                                           {"map.JPEG", kJpegRefusedMessage},
                                                           {"map.gif", kUnknownFormatMessage},
                                                           {"map", kUnknownFormatMessage},
                                                           {"map.bmp.txt", kUnknownFormatMessage}};
    for (auto [name, message] : refused) {
        messages.texts.clear();
        EXPECT_FALSE(ExportSculptImage(file(name), map.data(), 64, 64, {}, messages)) << name;
        EXPECT_EQ(messages.texts, std::vector<std::string>{message}) << name;
    }
    EXPECT_EQ(bytesOf(kept), (std::vector<uint8_t>{'o', 'l', 'd'}));

    messages.texts.clear();
    const std::string missing = file("no-such-folder/map.bmp");
    EXPECT_FALSE(ExportSculptImage(missing, map.data(), 64, 64, {}, messages));
    EXPECT_FALSE(ExportSculptImage(file("empty.bmp"), nullptr, 0, 0, {}, messages));
    EXPECT_EQ(messages.texts,
              (std::vector<std::string>{std::string(kExportWriteFailedMessage) + "\n" +
                                            std::strerror(ENOENT) + "\n" + missing,
                                        kNoPictureMessage}));
    EXPECT_EQ(std::distance(fs::directory_iterator(scratch.path()), {}), 1); // only kept.jpg
}

} // namespace
} // namespace tesk
