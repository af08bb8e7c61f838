#include "Cli.h"

#include "Messages.h"
#include "SPMesh.h"
#include "SculptMapEncoder.h"
#include "SurfaceBuilder.h"

namespace tesk::cli {

namespace {
void printLevels(const char* label, const std::vector<int32_t>& levels) {
    std::printf("%s:", label);
    for (int32_t level : levels) {
        std::printf(" %d", static_cast<int>(level));
    }
    std::printf("\n");
}

const char* typeCaption(int32_t type) {
    const ShapeTypeInfo* info = findShapeType(type);
    return info != nullptr ? info->caption : "unknown";
}
} // namespace

int runInfo(const Args& args) {
    Args files;
    if (const int status = takeOperands(args, files); status != kExitOk) {
        return status;
    }
    if (files.size() != 1 || files[0].empty()) {
        return usageError("info takes one project file");
    }
    SPMesh mesh;
    if (!loadProject(files[0], mesh)) {
        return kExitUnusable;
    }
    std::printf("lines: %d\n", mesh.lineCount());
    std::printf("points per line: %d\n", mesh.pointsPerLine());
    std::printf("type: %d (%s)\n", static_cast<int>(mesh.SPDimType), typeCaption(mesh.SPDimType));
    printLevels("hlevel", mesh.hlevel);
    printLevels("vlevel", mesh.vlevel);
    // The size comes from the built map, as the editor and an export have it.
    StderrMessages messages;
    if (BuildSurface(mesh, mesh.SPDimType, messages)) {
        std::printf("prim size: %s\n", PrimSizeText(mesh.halfExtent).c_str());
    }
    return kExitOk;
}

} // namespace tesk::cli
