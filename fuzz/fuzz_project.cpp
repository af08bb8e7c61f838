// links: tesk_model
// Feeds arbitrary bytes to the project reader. A refused image must leave the mesh exactly as
// it was; an accepted one must satisfy the shape's invariants and write back to an image that
// reads to the same shape.
#include "ProjectFile.h"
#include "SPMesh.h"

#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

namespace {
void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

std::vector<uint8_t> imageOf(const tesk::SPMesh& mesh) {
    std::vector<uint8_t> image;
    tesk::saveProjectImage(mesh, image);
    return image;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tesk::SPMesh mesh;
    mesh.makeDefault();
    mesh.setWorkPoint(1, 1, {5.0f, 6.0f, 7.0f});
    const std::vector<uint8_t> before = imageOf(mesh);

    const auto status = tesk::readProjectImage(std::span<const uint8_t>(data, size), mesh);
    if (status != tesk::ProjectReadStatus::Ok) {
        check(imageOf(mesh) == before);
        check(mesh.workPoint(1, 1) == (tesk::Point3{5.0f, 6.0f, 7.0f}));
        return 0;
    }

    check(mesh.lineCount() >= 1 && mesh.lineCount() <= 63);
    check(mesh.pointsPerLine() >= 1 && mesh.pointsPerLine() <= 64);
    check(mesh.hlevel.size() == static_cast<size_t>(mesh.lineCount()));
    check(mesh.vlevel.size() == static_cast<size_t>(mesh.pointsPerLine()));
    for (int i = 0; i < mesh.lineCount(); ++i) {
        check(mesh.line(i).count() == mesh.pointsPerLine());
        check(mesh.line(i).workPoints.size() == mesh.line(i).points.size());
    }
    const std::vector<uint8_t> written = imageOf(mesh);
    tesk::SPMesh again;
    check(tesk::readProjectImage(written, again) == tesk::ProjectReadStatus::Ok);
    check(imageOf(again) == written);
    return 0;
}
