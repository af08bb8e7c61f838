#include "ByteStream.h"
#include "Messages.h"
#include "ProjectFile.h"
#include "SPMesh.h"
#include "ScratchDir.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <limits>
#include <utility>

using namespace tesk;
namespace fs = std::filesystem;

namespace {
std::vector<uint8_t> readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<uint8_t> golden(const char* name) {
    const auto bytes = readBytes(fs::path(TESK_TEST_DATA) / "project" / name);
    EXPECT_FALSE(bytes.empty()) << name;
    return bytes;
}

std::vector<uint8_t> imageOf(const SPMesh& mesh) {
    std::vector<uint8_t> image;
    saveProjectImage(mesh, image);
    return image;
}

/// The shape of the 17 x 16 golden file, made with the editing operations.
void makeLargestEditable(SPMesh& mesh) {
    RecordingMessages messages;
    mesh.makeDefault();
    for (int k = 0; k < 13; ++k) {
        mesh.insertLine((k * 3) % (mesh.lineCount() - 1));
    }
    for (int k = 0; k < 12; ++k) {
        mesh.insertColumn((k * 5) % mesh.pointsPerLine());
    }
    for (int line : {1, 4, 8}) {
        mesh.toggleLineLevel(line, messages);
    }
    for (int column : {0, 5, 15}) {
        mesh.toggleColumnLevel(column, messages);
    }
    mesh.SPDimType = DIM_SHEET_BSPLINE;
}

/// A mesh in a recognisable state that a refused read must leave exactly as it is.
struct Bystander {
    SPMesh mesh;
    std::vector<uint8_t> image;

    Bystander() {
        mesh.makeDefault();
        mesh.insertColumn(1);
        mesh.hlevel[2] = LEVEL_IMPORTANT;
        mesh.SPDimType = DIM_POLES_CR_ALONG;
        mesh.setWorkPoint(2, 1, {9, 8, 7});
        image = imageOf(mesh);
    }
    void expectUnchanged() const {
        EXPECT_EQ(imageOf(mesh), image);
        EXPECT_EQ(mesh.workPoint(2, 1), (Point3{9, 8, 7}));
    }
};

/// Test-side encoder of project images with every field open to change.
struct ImageRecipe {
    std::string version = "0.0.0.4";
    std::array<std::string, 6> tags = {"<<SPMesh::start>>", "<<point>>",      "hlevel", "vlevel",
                                       "<<SPDimType>>",     "<<SPMesh::end>>"};
    int32_t columns = 4;
    int32_t rows = 4;
    std::vector<int32_t> hlevel = {3, 1, 2, 3};
    std::vector<int32_t> vlevel = {1, 3, 3, 2};
    int32_t type = DIM_POLES_BSPLINE;
    bool narrow = false;
    /// Coordinates written in place of the regular ones, by index among all of them.
    std::vector<std::pair<size_t, float>> coordinates;

    static Point3 pointAt(int line, int column) {
        return {static_cast<float>(line), static_cast<float>(column) * 0.5f, -1.0f};
    }

    std::vector<uint8_t> encode() const {
        ByteWriter out;
        auto text = [&](const std::string& s) {
            if (!narrow) {
                out.u8(0xFF);
                out.u16(0xFFFE);
            }
            out.u8(static_cast<uint8_t>(s.size()));
            for (char c : s) {
                if (narrow) {
                    out.u8(static_cast<uint8_t>(c));
                } else {
                    out.u16(static_cast<uint8_t>(c));
                }
            }
        };
        auto levels = [&](const std::vector<int32_t>& list) {
            out.i32(static_cast<int32_t>(list.size()));
            for (int32_t v : list) {
                out.i32(v);
            }
        };
        text(version);
        text(tags[0]);
        text(tags[1]);
        out.i32(columns);
        out.i32(rows);
        size_t written = 0;
        auto coordinate = [&](float regular) {
            float v = regular;
            for (const auto& [index, value] : coordinates) {
                v = index == written ? value : v;
            }
            out.f32(v);
            ++written;
        };
        for (int i = 0; i < rows; ++i) {
            for (int j = 0; j < columns; ++j) {
                const Point3 p = pointAt(i, j);
                coordinate(p.x);
                coordinate(p.y);
                coordinate(p.z);
            }
        }
        text(tags[2]);
        levels(hlevel);
        text(tags[3]);
        levels(vlevel);
        text(tags[4]);
        out.i32(type);
        text(tags[5]);
        return out.take();
    }
};

} // namespace

TEST(ProjectImage, DefaultShapeMatchesTheGoldenFile) {
    SPMesh mesh;
    mesh.makeDefault();
    const auto image = imageOf(mesh);
    EXPECT_EQ(image.size(), 418u);
    EXPECT_EQ(image, golden("default.tsk"));
}

TEST(ProjectImage, LargestEditableShapeMatchesTheGoldenFile) {
    SPMesh mesh;
    makeLargestEditable(mesh);
    ASSERT_EQ(mesh.lineCount(), kMaxEditLines);
    ASSERT_EQ(mesh.pointsPerLine(), kMaxEditPoints);
    const auto image = imageOf(mesh);
    EXPECT_EQ(image.size(), 3590u);
    EXPECT_EQ(image, golden("lines17x16.tsk"));
}

TEST(ProjectImage, GoldenFilesRoundTrip) {
    for (const char* name : {"default.tsk", "lines17x16.tsk"}) {
        const auto bytes = golden(name);
        SPMesh mesh;
        ASSERT_EQ(readProjectImage(bytes, mesh), ProjectReadStatus::Ok) << name;
        EXPECT_EQ(imageOf(mesh), bytes) << name;
    }
    SPMesh mesh;
    ASSERT_EQ(readProjectImage(golden("lines17x16.tsk"), mesh), ProjectReadStatus::Ok);
    EXPECT_EQ(mesh.SPDimType, DIM_SHEET_BSPLINE);
    EXPECT_EQ(mesh.lineLevel(4), LEVEL_IMPORTANT);
    EXPECT_EQ(mesh.columnLevel(15), LEVEL_IMPORTANT);
    EXPECT_EQ(mesh.columnLevel(14), LEVEL_NORMAL);
}

TEST(ProjectImage, LoadStoresCommittedPointsInBothSequences) {
    SPMesh source;
    source.makeDefault();
    source.setWorkPoint(1, 1, {5, 5, 5});
    SPMesh loaded;
    ASSERT_EQ(readProjectImage(imageOf(source), loaded), ProjectReadStatus::Ok);
    EXPECT_EQ(loaded.workPoint(1, 1), (Point3{1, -1, 1}));
    for (int i = 0; i < loaded.lineCount(); ++i) {
        EXPECT_EQ(loaded.line(i).workPoints, loaded.line(i).points);
    }
}

TEST(ProjectImage, LoadKeepsEffectsAndMap) {
    SPMesh mesh;
    mesh.effects.append(std::make_unique<EffectRecord>());
    mesh.map.assign(kMapPixels, 1u);
    ASSERT_EQ(readProjectImage(golden("default.tsk"), mesh), ProjectReadStatus::Ok);
    EXPECT_EQ(mesh.effects.size(), 1u);
    EXPECT_EQ(mesh.map.size(), static_cast<size_t>(kMapPixels));
}

TEST(ProjectImage, EveryTruncationFailsAndChangesNothing) {
    for (const char* name : {"default.tsk", "lines17x16.tsk"}) {
        const auto bytes = golden(name);
        Bystander target;
        for (size_t length = 0; length < bytes.size(); ++length) {
            const auto status =
                readProjectImage(std::span<const uint8_t>(bytes.data(), length), target.mesh);
            ASSERT_EQ(status, ProjectReadStatus::Malformed) << name << " cut at " << length;
        }
        target.expectUnchanged();
    }
}

TEST(ProjectImage, BytesAfterTheEndMarkerAreIgnored) {
    // A memory image lies at the start of a larger buffer.
    auto bytes = golden("default.tsk");
    bytes.resize(5120, 0xCD);
    SPMesh mesh;
    EXPECT_EQ(readProjectImage(bytes, mesh), ProjectReadStatus::Ok);
    EXPECT_EQ(mesh.lineCount(), 4);
}

TEST(ProjectImage, EightBitStringsAreAccepted) {
    ImageRecipe recipe;
    recipe.narrow = true;
    SPMesh narrow;
    ASSERT_EQ(readProjectImage(recipe.encode(), narrow), ProjectReadStatus::Ok);
    recipe.narrow = false;
    SPMesh wide;
    ASSERT_EQ(readProjectImage(recipe.encode(), wide), ProjectReadStatus::Ok);
    EXPECT_EQ(imageOf(narrow), imageOf(wide));
    EXPECT_EQ(narrow.line(2).points[3], ImageRecipe::pointAt(2, 3));
    EXPECT_EQ(narrow.hlevel, recipe.hlevel);
    EXPECT_EQ(narrow.vlevel, recipe.vlevel);
    EXPECT_EQ(narrow.SPDimType, DIM_POLES_BSPLINE);
}

TEST(ProjectImage, LongerLengthFormsAreAccepted) {
    // The version string in each length form the archive knows, wide and 8-bit.
    const std::vector<std::vector<uint8_t>> headers = {
        {0xFF, 0xFE, 0xFF, 0xFF, 0x07, 0x00},
        {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x07, 0x00, 0x00, 0x00},
        {0xFF, 0x07, 0x00},
        {0xFF, 0xFF, 0xFF, 0x07, 0x00, 0x00, 0x00},
    };
    const auto standard = ImageRecipe{}.encode();
    const size_t versionBytes = 4 + 14;
    for (const auto& header : headers) {
        const bool wide = header[1] == 0xFE;
        std::vector<uint8_t> bytes = header;
        for (char c : std::string("0.0.0.4")) {
            bytes.push_back(static_cast<uint8_t>(c));
            if (wide) {
                bytes.push_back(0);
            }
        }
        bytes.insert(bytes.end(), standard.begin() + versionBytes, standard.end());
        SPMesh mesh;
        EXPECT_EQ(readProjectImage(bytes, mesh), ProjectReadStatus::Ok) << bytes.size();
    }
}

TEST(ProjectImage, StringLengthsPastTheEndAreRefused) {
    const std::vector<std::vector<uint8_t>> images = {
        {0xFF, 0xFE, 0xFF, 0xFE, '0', 0},
        {0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF},
        {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF, '0', 0},
        {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
        {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F},
        {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
        {0xFF, 0xFE},
        {0x20, '0', '.'},
    };
    Bystander target;
    for (const auto& bytes : images) {
        EXPECT_EQ(readProjectImage(bytes, target.mesh), ProjectReadStatus::Malformed);
    }
    // A tag inside the block whose length runs past the end.
    auto bytes = ImageRecipe{}.encode();
    bytes[18 + 3] = 0xFE;
    EXPECT_EQ(readProjectImage(bytes, target.mesh), ProjectReadStatus::Malformed);
    target.expectUnchanged();
}

TEST(ProjectImage, AnyOtherVersionIsReportedAndChangesNothing) {
    Bystander target;
    for (const char* version : {"0.0.0.5", "0.0.0.4 ", "0.0.0.", "", "0.0.0.3"}) {
        ImageRecipe recipe;
        recipe.version = version;
        EXPECT_EQ(readProjectImage(recipe.encode(), target.mesh),
                  ProjectReadStatus::VersionMismatch)
            << version;
    }
    ImageRecipe recipe;
    recipe.version = "0.0.0.5";
    RecordingMessages messages;
    EXPECT_FALSE(loadProjectImage(recipe.encode(), target.mesh, messages));
    EXPECT_EQ(messages.texts, std::vector<std::string>{kVersionMismatchMessage});
    target.expectUnchanged();
}

TEST(ProjectImage, WrongTagsAreRefused) {
    Bystander target;
    for (size_t t = 0; t < 6; ++t) {
        for (const char* change : {"upper", "longer", "empty"}) {
            ImageRecipe recipe;
            std::string& tag = recipe.tags[t];
            if (std::string(change) == "upper") {
                tag[tag.size() - 3] = static_cast<char>(std::toupper(tag[tag.size() - 3]));
            } else if (std::string(change) == "longer") {
                tag += "x";
            } else {
                tag.clear();
            }
            EXPECT_EQ(readProjectImage(recipe.encode(), target.mesh), ProjectReadStatus::Malformed)
                << "tag " << t << " " << change;
        }
    }
    RecordingMessages messages;
    ImageRecipe recipe;
    recipe.tags[5] = "<<SPMesh::END>>";
    EXPECT_FALSE(loadProjectImage(recipe.encode(), target.mesh, messages));
    EXPECT_EQ(messages.texts, std::vector<std::string>{kBadFileContentMessage});
    target.expectUnchanged();
}

TEST(ProjectImage, CountsOutOfRangeAreRefused) {
    Bystander target;
    const std::vector<std::pair<int32_t, int32_t>> sizes = {
        {0, 4}, {65, 4}, {-1, 4}, {4, 0}, {4, 64}, {4, -3}, {1, 64}, {0, 0}, {INT32_MIN, 1}};
    for (const auto& [columns, rows] : sizes) {
        ImageRecipe recipe;
        recipe.columns = std::max(columns, 0);
        recipe.rows = std::max(rows, 0);
        auto bytes = recipe.encode();
        // Write the claimed counts over the encoded ones; the points stay as many as fit.
        ByteWriter counts;
        counts.i32(columns);
        counts.i32(rows);
        const size_t at = 18 + 38 + 22;
        std::copy(counts.data().begin(), counts.data().end(), bytes.begin() + at);
        EXPECT_EQ(readProjectImage(bytes, target.mesh), ProjectReadStatus::Malformed)
            << columns << " x " << rows;
    }
    for (auto levelCount : {0, 65}) {
        ImageRecipe recipe;
        recipe.hlevel.assign(static_cast<size_t>(levelCount), 3);
        EXPECT_EQ(readProjectImage(recipe.encode(), target.mesh), ProjectReadStatus::Malformed);
        recipe = ImageRecipe{};
        recipe.vlevel.assign(static_cast<size_t>(levelCount), 3);
        EXPECT_EQ(readProjectImage(recipe.encode(), target.mesh), ProjectReadStatus::Malformed);
    }
    target.expectUnchanged();
}

TEST(ProjectImage, LargestLoadableShapeIsAccepted) {
    ImageRecipe recipe;
    recipe.columns = 64;
    recipe.rows = 63;
    recipe.hlevel.assign(64, 3);
    recipe.vlevel.assign(64, 1);
    const auto bytes = recipe.encode();
    EXPECT_GT(bytes.size(), 5120u);
    SPMesh mesh;
    ASSERT_EQ(readProjectImage(bytes, mesh), ProjectReadStatus::Ok);
    EXPECT_EQ(mesh.lineCount(), 63);
    EXPECT_EQ(mesh.pointsPerLine(), 64);
    EXPECT_EQ(mesh.line(62).points[63], ImageRecipe::pointAt(62, 63));
    EXPECT_EQ(imageOf(mesh).size(), bytes.size() - 4) << "hlevel cut from 64 to 63 entries";
}

TEST(ProjectImage, NonFiniteCoordinatesAreRefusedWithTheContentMessage) {
    Bystander target;
    constexpr float kInfinity = std::numeric_limits<float>::infinity();
    const float signallingNan = std::numeric_limits<float>::signaling_NaN();
    // The first x, a y in the middle and the very last z of the 4 x 4 shape.
    for (const size_t index : {size_t{0}, size_t{25}, size_t{47}}) {
        for (const float bad :
             {std::numeric_limits<float>::quiet_NaN(), -signallingNan, kInfinity, -kInfinity}) {
            ImageRecipe recipe;
            recipe.coordinates = {{index, bad}};
            RecordingMessages messages;
            EXPECT_FALSE(loadProjectImage(recipe.encode(), target.mesh, messages)) << index;
            EXPECT_EQ(messages.texts, std::vector<std::string>{kBadFileContentMessage});
        }
    }
    target.expectUnchanged();

    // Finite extremes are still coordinates.
    ImageRecipe extremes;
    extremes.coordinates = {{0, std::numeric_limits<float>::max()},
                            {1, -std::numeric_limits<float>::max()},
                            {2, std::numeric_limits<float>::denorm_min()}};
    SPMesh mesh;
    ASSERT_EQ(readProjectImage(extremes.encode(), mesh), ProjectReadStatus::Ok);
    EXPECT_EQ(mesh.line(0).points[0].x, std::numeric_limits<float>::max());
}

TEST(ProjectImage, LevelListsArePaddedOrCutToTheCounts) {
    ImageRecipe recipe;
    recipe.hlevel = {2, 1};
    recipe.vlevel = {1, 2, 1, 2, 1, 2, 1};
    SPMesh mesh;
    ASSERT_EQ(readProjectImage(recipe.encode(), mesh), ProjectReadStatus::Ok);
    EXPECT_EQ(mesh.hlevel, (std::vector<int32_t>{2, 1, 3, 3}));
    EXPECT_EQ(mesh.vlevel, (std::vector<int32_t>{1, 2, 1, 2}));
    EXPECT_EQ(mesh.columnLevel(5), LEVEL_NORMAL);
}

TEST(ProjectImage, LevelValuesAndTypeAreNotChecked) {
    ImageRecipe recipe;
    recipe.hlevel = {-7, 0, 99, 2};
    recipe.type = 7;
    SPMesh mesh;
    ASSERT_EQ(readProjectImage(recipe.encode(), mesh), ProjectReadStatus::Ok);
    EXPECT_EQ(mesh.hlevel, recipe.hlevel);
    EXPECT_EQ(mesh.SPDimType, 7);
}

TEST(ProjectImage, MeshWithoutLinesCannotBeReadBack) {
    SPMesh empty;
    const auto image = imageOf(empty);
    ByteReader counts(std::span<const uint8_t>(image).subspan(18 + 38 + 22, 8));
    int32_t columns = -1;
    int32_t rows = -1;
    ASSERT_TRUE(counts.i32(columns) && counts.i32(rows));
    EXPECT_EQ(columns, 0);
    EXPECT_EQ(rows, 0);
    Bystander target;
    EXPECT_EQ(readProjectImage(image, target.mesh), ProjectReadStatus::Malformed);
    target.expectUnchanged();
}

TEST(ProjectFile, SaveThenLoadRoundTrip) {
    const tesk::testing::ScratchDir scratch("tesk_project_roundtrip");
    const fs::path& dir = scratch.path();
    const std::string path = (dir / "shape.tsk").string();
    SPMesh mesh;
    makeLargestEditable(mesh);
    RecordingMessages messages;
    ASSERT_TRUE(saveProjectFile(path, mesh, messages));
    EXPECT_EQ(readBytes(path), golden("lines17x16.tsk"));

    mesh.makeDefault();
    mesh.SPDimType = DIM_POLES_LINEAR;
    ASSERT_TRUE(saveProjectFile(path, mesh, messages)) << "replaces the earlier file";
    SPMesh loaded;
    ASSERT_TRUE(loadProjectFile(path, loaded, messages));
    EXPECT_EQ(imageOf(loaded), golden("default.tsk"));
    EXPECT_TRUE(messages.texts.empty());
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1)
        << "no temporary file left";
}

TEST(ProjectFile, UnusableFilesAreReportedAndChangeNothing) {
    const tesk::testing::ScratchDir scratch("tesk_project_unusable");
    const fs::path& dir = scratch.path();
    Bystander target;
    struct Case {
        fs::path path;
        const char* message;
    };
    const fs::path oversized = dir / "big.tsk";
    std::ofstream(oversized, std::ios::binary) << "x";
    fs::resize_file(oversized, kMaxProjectFileBytes + 1);
    const fs::path broken = dir / "broken.tsk";
    std::ofstream(broken, std::ios::binary) << "not a project";
    const fs::path otherVersion = dir / "other.tsk";
    {
        ImageRecipe recipe;
        recipe.version = "0.0.0.3";
        const auto bytes = recipe.encode();
        std::ofstream(otherVersion, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
    }
    const std::vector<Case> cases = {
        {dir / "missing.tsk", kCannotOpenFileMessage}, {dir, kCannotOpenFileMessage},
        {oversized, kBadFileContentMessage},           {broken, kBadFileContentMessage},
        {otherVersion, kVersionMismatchMessage},
    };
    for (const Case& c : cases) {
        RecordingMessages messages;
        EXPECT_FALSE(loadProjectFile(c.path.string(), target.mesh, messages)) << c.path;
        EXPECT_EQ(messages.texts, std::vector<std::string>{c.message}) << c.path;
    }
    target.expectUnchanged();
}

TEST(ProjectFile, FailedSaveIsReportedWithTheReasonAndKeepsTheOldFile) {
    const tesk::testing::ScratchDir scratch("tesk_project_failedsave");
    const fs::path& dir = scratch.path();
    const fs::path old = dir / "locked.tsk";
    std::ofstream(old, std::ios::binary) << "old content";
    fs::permissions(old, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    SPMesh mesh;
    mesh.makeDefault();
    RecordingMessages messages;
    EXPECT_FALSE(saveProjectFile(old.string(), mesh, messages));
    EXPECT_EQ(messages.texts, std::vector<std::string>{std::string(kCannotSaveFileMessage) + "\n" +
                                                       std::strerror(EACCES)});
    const auto kept = readBytes(old);
    EXPECT_EQ(std::string(kept.begin(), kept.end()), "old content");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);

    messages.texts.clear();
    EXPECT_FALSE(saveProjectFile((dir / "no" / "such.tsk").string(), mesh, messages));
    EXPECT_EQ(messages.texts, std::vector<std::string>{std::string(kCannotSaveFileMessage) + "\n" +
                                                       std::strerror(ENOENT)});
}
