#include "Cli.h"

#include "SPMesh.h"

namespace tesk::cli {

int runNew(const Args& args) {
    Args files;
    if (const int status = takeOperands(args, files); status != kExitOk) {
        return status;
    }
    if (files.size() != 1 || files[0].empty()) {
        return usageError("new takes one output file");
    }
    SPMesh mesh;
    mesh.makeDefault();
    return saveProject(files[0], mesh) ? kExitOk : kExitUnusable;
}

} // namespace tesk::cli
