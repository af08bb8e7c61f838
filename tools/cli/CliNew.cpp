#include "Cli.h"

#include "SPMesh.h"

namespace tesk::cli {

int runNew(const Args& args) {
    if (args.size() != 1 || args[0].empty()) {
        return usageError("new takes one output file");
    }
    SPMesh mesh;
    mesh.makeDefault();
    return saveProject(args[0], mesh) ? kExitOk : kExitUnusable;
}

} // namespace tesk::cli
