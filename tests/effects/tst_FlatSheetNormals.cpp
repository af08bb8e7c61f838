// A flat "PL [1]" sheet pushed along its normals by the dome picture. On a flat sheet the seam
// cells (columns 62 -> 1 and 63 -> 1) face the other way, so at columns 1 and 63 of the inner
// rows three triangle normals meet their three opposites and the vertex normal is zero. The
// exported map is compared with tests/data/effects/flat_sheet_dome.bmp, written by the stage
// while it normalised with a single-precision reciprocal, which moved those vertices as if their
// normal were +-Z: apart from them the map must still match it byte for byte.
#include "EffectPicture.h"
#include "EffectStage.h"
#include "FileIO.h"
#include "Messages.h"
#include "SPMesh.h"
#include "SculptImageWriter.h"
#include "SurfaceBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace tesk {
namespace {

constexpr int32_t kSheetType = 100; // "PL [1]"

/// 7 lines of 6 points at one height, unevenly spaced so the cells differ in size; type 100
/// ignores the first and last lines.
void makeFlatSheet(SPMesh& mesh) {
    mesh.reset(6, 7);
    for (int line = 0; line < 7; ++line) {
        for (int point = 0; point < 6; ++point) {
            const auto x = static_cast<float>(point * point) * 0.3f + static_cast<float>(point);
            const auto y = static_cast<float>(line) * 1.7f + static_cast<float>(point) * 0.2f;
            mesh.setPoint(point, line, Point3{x, y, 0.75f});
        }
    }
}

size_t blueOffset(int row, int column) {
    // 54-byte header, bottom-up rows of 64 pixels in the order blue, green, red.
    return 54 + static_cast<size_t>(63 - row) * 192 + static_cast<size_t>(column) * 3;
}

TEST(FlatSheetNormals, SeamColumnsWithCancellingNormalsStayUndisplaced) {
    SPMesh mesh;
    makeFlatSheet(mesh);
    RecordingMessages messages;
    ASSERT_TRUE(BuildSurface(mesh, kSheetType, messages));
    for (const uint32_t pixel : mesh.map) {
        ASSERT_EQ(pixel >> 16, 0u) << "the sheet is not flat";
    }

    ImageBuffer picture;
    ASSERT_EQ(
        loadEffectPicture(picture, std::string(TESK_SOURCE_DIR) + "/res/effect/dome.png", messages),
        1);
    auto record = std::make_unique<EffectRecord>();
    record->setFrom(picture.pixels.data(), 64, 64);
    record->setTypeCode(EFFECT_NORMAL);
    record->strength = 50;
    // The dome is 0 in the corners, so those vertices do not move, and above 0 in the middle
    // rows of columns 1 and 63, where a wrong normal shows.
    ASSERT_EQ(picture.pixels[0] >> 16, 0u);
    ASSERT_GT((picture.pixels[32 * 64 + 1] >> 16) & 0xFFu, 0u);
    ASSERT_GT((picture.pixels[32 * 64 + 63] >> 16) & 0xFFu, 0u);
    mesh.effects.append(std::move(record));
    ApplyEffects(mesh.map, mesh.effects);

    const std::vector<uint8_t> bmp = EncodeSculptBmp(mesh.map.data(), 64, 64);
    std::vector<uint8_t> golden;
    ASSERT_TRUE(readWholeFile(std::string(TESK_TEST_DATA) + "/effects/flat_sheet_dome.bmp", golden,
                              1 << 16));
    ASSERT_EQ(bmp.size(), golden.size());
    const uint8_t undisplaced = bmp[blueOffset(0, 0)];
    std::vector<uint8_t> want = golden;
    // Rows 0 and 63 touch fewer cells, so their normals do not cancel.
    for (int row = 1; row < 63; ++row) {
        for (const int column : {1, 63}) {
            want[blueOffset(row, column)] = undisplaced;
        }
    }
    ASSERT_TRUE(std::equal(bmp.begin(), bmp.begin() + 54, want.begin())) << "header";
    for (int row = 0; row < 64; ++row) {
        for (int column = 0; column < 64; ++column) {
            for (size_t c = 0; c < 3; ++c) {
                const size_t i = blueOffset(row, column) + c;
                ASSERT_EQ(bmp[i], want[i])
                    << "row " << row << " column " << column << " byte " << c;
            }
        }
    }
}

} // namespace
} // namespace tesk
