#include "Cli.h"
#include "EffectOption.h"

#include "Ctesk001Doc.h"
#include "EffectPicture.h"
#include "Messages.h"
#include "SculptMapEncoder.h"

#include <charconv>

namespace tesk::cli {

namespace {

struct RenderOptions {
    std::string input;
    std::string output;
    bool hasType = false;
    int32_t type = 0;
    ExportFlips flips;
    int lodFaces = 0; ///< given with --lod, else 0: the map itself
    std::vector<EffectOption> effects;
};

int readRenderOption(const Args& args, size_t& i, RenderOptions& options) {
    const std::string& arg = args[i];
    if (arg == "--flip-x") {
        options.flips.x = true;
    } else if (arg == "--flip-y") {
        options.flips.y = true;
    } else if (arg == "--flip-z") {
        options.flips.z = true;
    } else if (arg == "--lod") {
        return readLodOption(args, i, options.lodFaces);
    } else if (arg == "--type") {
        if (i + 1 >= args.size() || !parseType(args[i + 1], options.type)) {
            return usageError("--type takes one of " + shapeTypeValues());
        }
        options.hasType = true;
        ++i;
    } else if (arg == "--effect" || arg.rfind("--effect=", 0) == 0) {
        const bool joined = arg != "--effect";
        EffectOption effect;
        if ((!joined && i + 1 >= args.size()) ||
            !parseEffectOption(joined ? arg.substr(9) : args[i + 1], effect)) {
            return usageError("--effect takes KIND:PICTURE[:STRENGTH[:R[:G[:B]]]] with KIND "
                              "normal, centroid or composite and strengths -100 .. 100");
        }
        options.effects.push_back(effect);
        i += joined ? 0 : 1;
    } else {
        return usageError("unknown option '" + arg + "'");
    }
    return kExitOk;
}

// Returns kExitOk when the arguments were understood, else the usage error's status.
int parseRender(const Args& args, RenderOptions& options) {
    Args files;
    const int status = takeArguments(args, files, [&options](const Args& all, size_t& i) {
        return readRenderOption(all, i, options);
    });
    if (status != kExitOk) {
        return status;
    }
    if (files.size() != 2 || files[0].empty() || files[1].empty()) {
        return usageError("render takes a project file and an output picture");
    }
    options.input = files[0];
    options.output = files[1];
    return kExitOk;
}

} // namespace

int runRender(const Args& args) {
    RenderOptions options;
    if (const int status = parseRender(args, options); status != kExitOk) {
        return status;
    }
    StderrMessages messages;
    Ctesk001Doc doc(messages, "");
    // The effects go in while the document has no shape yet, so the load's rebuild is the
    // first to apply them.
    for (const EffectOption& effect : options.effects) {
        std::unique_ptr<EffectRecord> record =
            makeEffectRecord(effect.picture, effect.type, messages);
        if (!record) {
            return unusable("cannot use the effect picture " + effect.picture);
        }
        record->strength = effect.strengths[0];
        record->strengthR = effect.strengths[1];
        record->strengthG = effect.strengths[2];
        record->strengthB = effect.strengths[3];
        doc.addEffect(std::move(record));
    }
    if (!doc.loadProject(options.input)) {
        return unusable("cannot load " + options.input);
    }
    if (options.hasType && options.type != doc.selectedType()) {
        doc.setType(options.type);
    }
    if (!doc.hasSculptMap()) {
        return unusable(options.input + " has no points to render");
    }
    if (options.lodFaces != 0 &&
        !exportLodMap(doc, options.lodFaces, options.output, options.flips)) {
        return unusable("cannot write " + options.output);
    }
    if (options.lodFaces == 0 && !doc.exportSculptMap(options.output, options.flips)) {
        return unusable("cannot write " + options.output);
    }
    std::printf("prim size: %s\n", PrimSizeText(doc.mesh().halfExtent).c_str());
    return kExitOk;
}

} // namespace tesk::cli
