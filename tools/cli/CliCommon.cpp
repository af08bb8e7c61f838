#include "Cli.h"

#include "Messages.h"
#include "ProjectFile.h"
#include "ShapeTypes.h"

#include <charconv>

namespace tesk::cli {

int usageError(const std::string& problem) {
    std::fprintf(stderr, "tesk-cli: %s\n", problem.c_str());
    printUsage(stderr);
    return kExitUsage;
}

int unusable(const std::string& reason) {
    std::fprintf(stderr, "tesk-cli: %s\n", reason.c_str());
    return kExitUnusable;
}

std::string shapeTypeValues() {
    std::string values;
    for (const ShapeTypeInfo& info : kShapeTypes) {
        values += (values.empty() ? "" : ", ") + std::to_string(info.value);
    }
    return values;
}

int takeOperands(const Args& args, Args& operands) {
    return takeArguments(args, operands, [](const Args& all, size_t i) {
        return usageError("unknown option '" + all[i] + "'");
    });
}

bool parseType(const std::string& text, int32_t& type) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, type);
    return ec == std::errc() && ptr == end && isKnownShapeType(type);
}

bool loadProject(const std::string& path, SPMesh& mesh) {
    StderrMessages messages;
    if (!loadProjectFile(path, mesh, messages)) {
        unusable("cannot load " + path);
        return false;
    }
    return true;
}

bool saveProject(const std::string& path, const SPMesh& mesh) {
    StderrMessages messages;
    if (!saveProjectFile(path, mesh, messages)) {
        unusable("cannot save " + path);
        return false;
    }
    return true;
}

} // namespace tesk::cli
