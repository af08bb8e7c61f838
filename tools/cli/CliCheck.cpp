// tesk-cli check and render --lod: what viewers in the world make of a sculpt map.
#include "Cli.h"

#include "Ctesk001Doc.h"
#include "LodGrid.h"
#include "MapSide.h"
#include "Messages.h"
#include "PictureFile.h"
#include "SculptMapCheck.h"
#include "SculptMapEncoder.h"
#include "ShapeTypes.h"
#include "Strings.h"

#include <charconv>

namespace tesk::cli {

namespace {

struct CheckOptions {
    std::string input;
    int32_t type = -1; ///< a shape type given with --type, else -1
    int stitch = 0;    ///< given with --type, else 0: the project's, or a sphere for a picture
};

/// A shape type value, whose stitching it implies, or a stitching by name.
bool parseStitching(const std::string& text, CheckOptions& options) {
    for (const StitchName& entry : kStitchNames) {
        if (text == entry.name) {
            options.stitch = entry.stitch;
            return true;
        }
    }
    int32_t type = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, type);
    if (ec != std::errc() || ptr != end || !isKnownShapeType(type)) {
        return false;
    }
    options.type = type;
    options.stitch = previewStitch(type);
    return true;
}

int parseCheck(const Args& args, CheckOptions& options) {
    Args files;
    const int status = takeArguments(args, files, [&options](const Args& all, size_t& i) {
        if (all[i] != "--type") {
            return usageError("unknown option '" + all[i] + "'");
        }
        if (i + 1 >= all.size() || !parseStitching(all[i + 1], options)) {
            return usageError("--type takes a shape type (" + shapeTypeValues() +
                              ") or a stitching (sphere, torus, plane, cylinder)");
        }
        ++i;
        return kExitOk;
    });
    if (status != kExitOk) {
        return status;
    }
    if (files.size() != 1 || files[0].empty()) {
        return usageError("check takes one project file or sculpt-map picture");
    }
    options.input = files[0];
    return kExitOk;
}

/// The picture viewers receive: the project's map as exported, or the picture file itself.
bool loadPicture(CheckOptions& options, std::vector<uint32_t>& picture) {
    StderrMessages messages;
    if (lowerExtension(options.input) == "tsk") {
        Ctesk001Doc doc(messages, "");
        if (!doc.loadProject(options.input)) {
            unusable("cannot load " + options.input);
            return false;
        }
        if (options.type != -1 && options.type != doc.selectedType()) {
            doc.setType(options.type);
        }
        if (!doc.hasSculptMap()) {
            unusable(options.input + " has no points to build a map from");
            return false;
        }
        if (options.stitch == 0) {
            options.stitch = previewStitch(doc.selectedType());
        }
        picture = pictureOfMap(doc.mesh().map);
        return true;
    }
    ImageBuffer image;
    if (LoadImageFile(image, options.input, messages) != 1 || !image.hasWholePicture()) {
        unusable("cannot read the picture " + options.input);
        return false;
    }
    if (image.width != kMapSide || image.height != kMapSide) {
        unusable(options.input + " is " + std::to_string(image.width) + " x " +
                 std::to_string(image.height) +
                 " pixels; viewers' levels are known for 64 x 64 "
                 "sculpt maps only");
        return false;
    }
    picture = std::move(image.pixels);
    if (options.stitch == 0) {
        options.stitch = kStitchSphere;
    }
    return true;
}

const char* severityLabel(CheckSeverity severity) {
    switch (severity) {
    case CheckSeverity::Ok:
        return "ok";
    case CheckSeverity::Warning:
        return "warning";
    default:
        return "error";
    }
}

} // namespace

int runCheck(const Args& args) {
    CheckOptions options;
    if (const int status = parseCheck(args, options); status != kExitOk) {
        return status;
    }
    std::vector<uint32_t> picture;
    if (!loadPicture(options, picture)) {
        return kExitUnusable;
    }
    const SculptMapCheck check = checkSculptMap(picture, options.stitch);
    std::printf("%s, read with %s stitching\n", options.input.c_str(), stitchName(check.stitch));
    std::printf("faces  vertices  area\n");
    for (size_t i = 0; i < kViewerFaces.size(); ++i) {
        const int faces = kViewerFaces[i];
        std::printf("%5d  %8d  %.4g%s\n", faces, (faces + 1) * (faces + 1),
                    static_cast<double>(check.areas[i]),
                    faces == kAreaUncheckedFaces ? " (not checked by viewers)" : "");
    }
    for (const CheckFinding& finding : check.findings) {
        std::printf("%-8s %s: %s\n", severityLabel(finding.severity), finding.name,
                    finding.text.c_str());
    }
    return check.worst() == CheckSeverity::Ok ? kExitOk : kExitWarnings;
}

int readLodOption(const Args& args, size_t& i, int& faces) {
    int value = 0;
    const std::string text = i + 1 < args.size() ? args[i + 1] : "";
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    // A level once, and one of the viewers' levels: "full" is the map itself.
    if (faces != 0 || ec != std::errc() || ptr != end || value <= 0 || lodLevelOfFaces(value) < 0) {
        return usageError("--lod takes the faces per side of one level: 32, 16, 8 or 6");
    }
    faces = value;
    ++i;
    return kExitOk;
}

bool exportLodMap(Ctesk001Doc& doc, int faces, const std::string& path, const ExportFlips& flips) {
    LodGrid grid;
    buildLodGrid(pictureOfMap(doc.mesh().map), kMapSide, kMapSide,
                 previewStitch(doc.selectedType()), faces, grid);
    std::vector<uint32_t> picture(kMapPixels);
    resampleLodGrid(grid, kMapSide, kMapSide, picture);
    const std::vector<uint32_t> map = mapOfPicture(picture);
    return ExportSculptImage(path, map.data(), kMapSide, kMapSide, flips, doc.messages(),
                             PrimSizeText(doc.mesh().halfExtent));
}

} // namespace tesk::cli
