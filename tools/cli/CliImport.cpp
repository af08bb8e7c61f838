// tesk-cli import: a sculpt-map picture fitted with a shape of control lines.
#include "Cli.h"

#include "MapFit.h"
#include "Messages.h"
#include "SPMesh.h"
#include "SculptMapPicture.h"
#include "ShapeTypes.h"

#include <charconv>
#include <cstdio>

namespace tesk::cli {

namespace {

struct ImportOptions {
    std::string picture;
    std::string output;
    std::string like;
    MapFitRequest request;
};

bool parseCount(const std::string& text, int low, int high, int& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && value >= low && value <= high;
}

int readImportOption(const Args& args, size_t& i, ImportOptions& options) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    const std::string value = hasValue ? args[i + 1] : std::string();
    if (arg == "--type") {
        if (!hasValue || !parseType(value, options.request.type)) {
            return usageError("--type takes one of 0, 1, 51, 52, 53, 54, 100, 152, 154");
        }
    } else if (arg == "--lines") {
        if (!hasValue || !parseCount(value, 4, 63, options.request.lines)) {
            return usageError("--lines takes a number of lines from 4 to 63");
        }
    } else if (arg == "--points") {
        if (!hasValue || !parseCount(value, 4, 64, options.request.points)) {
            return usageError("--points takes a number of points per line from 4 to 64");
        }
    } else if (arg == "--like") {
        if (!hasValue || value.empty()) {
            return usageError("--like takes a project file");
        }
        options.like = value;
    } else {
        return usageError("unknown option '" + arg + "'");
    }
    ++i;
    return kExitOk;
}

int parseImport(const Args& args, ImportOptions& options) {
    Args files;
    const int status = takeArguments(args, files, [&options](const Args& all, size_t& i) {
        return readImportOption(all, i, options);
    });
    if (status != kExitOk) {
        return status;
    }
    if (files.size() != 2 || files[0].empty() || files[1].empty()) {
        return usageError("import takes a sculpt-map picture and the project file to write");
    }
    if (!options.like.empty() && (options.request.lines != 0 || options.request.points != 0)) {
        return usageError("--like gives the net size; --lines and --points cannot change it");
    }
    options.picture = files[0];
    options.output = files[1];
    return kExitOk;
}

/// The type (unless --type gave one), the net size and the levels of a project; never its
/// points.
bool takeNetFrom(const std::string& path, MapFitRequest& request) {
    SPMesh like;
    if (!loadProject(path, like)) {
        return false;
    }
    if (request.type == -1) {
        request.type = like.SPDimType;
    }
    request.lines = like.lineCount();
    request.points = like.pointsPerLine();
    request.hlevel = like.hlevel;
    request.vlevel = like.vlevel;
    return true;
}

void printReport(const MapFitResult& result) {
    const ShapeTypeInfo* info = findShapeType(result.type);
    std::printf("type: %d (%s)\n", result.type, info != nullptr ? info->caption : "?");
    std::printf("net: %d lines x %d points\n", result.lines, result.points);
    std::printf("error in codes   mean  largest\n");
    const char* const channels[] = {"red (X)  ", "green (Y)", "blue (Z) "};
    for (size_t axis = 0; axis < 3; ++axis) {
        std::printf("  %s    %5.2f  %7d\n", channels[axis], result.error[axis].mean,
                    result.error[axis].largest);
    }
}

} // namespace

int runImport(const Args& args) {
    ImportOptions options;
    if (const int status = parseImport(args, options); status != kExitOk) {
        return status;
    }
    if (!options.like.empty() && !takeNetFrom(options.like, options.request)) {
        return kExitUnusable;
    }
    StderrMessages messages;
    std::vector<uint32_t> map;
    if (!loadSculptMapPicture(options.picture, map, messages)) {
        return unusable("cannot read the picture " + options.picture);
    }
    SPMesh mesh;
    const MapFitResult result = FitSculptMap(map.data(), options.request, mesh);
    if (!result.ok) {
        if (result.problem == kNetSizeMessage) {
            return usageError(result.problem);
        }
        return unusable(result.problem + " (" + options.picture + ")");
    }
    if (!saveProject(options.output, mesh)) {
        return kExitUnusable;
    }
    printReport(result);
    return kExitOk;
}

} // namespace tesk::cli
