// The default shape's exported sculpt map under several types, compared byte for byte with
// the files in tests/data/surface. Run with TESK_UPDATE_GOLDEN=1 to rewrite them after an
// intended change, and look at the pictures before committing them.
#include "FileIO.h"
#include "Messages.h"
#include "SPMesh.h"
#include "SculptImageWriter.h"
#include "SurfaceBuilder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace tesk {
namespace {

std::string goldenPath(int32_t type) {
    return std::string(TESK_TEST_DATA) + "/surface/default_type" + std::to_string(type) + ".bmp";
}

TEST(GoldenMaps, DefaultShapeUnderEveryType) {
    const bool update = std::getenv("TESK_UPDATE_GOLDEN") != nullptr;
    for (const ShapeTypeInfo& info : kShapeTypes) {
        SPMesh mesh;
        mesh.makeDefault();
        RecordingMessages messages;
        ASSERT_TRUE(BuildSurface(mesh, info.value, messages));
        const std::vector<uint8_t> bmp = EncodeSculptBmp(mesh.map.data(), 64, 64);
        if (update) {
            ASSERT_TRUE(writeFileAtomically(goldenPath(info.value), bmp.data(), bmp.size()));
            continue;
        }
        std::vector<uint8_t> golden;
        ASSERT_TRUE(readWholeFile(goldenPath(info.value), golden, 1 << 16)) << info.caption;
        EXPECT_EQ(bmp, golden) << info.caption;
    }
}

} // namespace
} // namespace tesk
