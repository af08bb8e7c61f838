// tesk-cli: the shape model without a window. To add a command, write its run function in
// Cli<Name>.cpp, declare it in Cli.h and add a row to kCommands.
#include "Cli.h"
#include "Installation.h"
#include "StandardOutput.h"
#include "SaveSignals.h"

#include <array>
#include <cstring>
#include <string_view>

namespace tesk::cli {

namespace {
constexpr std::array<Command, 5> kCommands = {{
    {"new", "OUT.tsk", "write the default 4 x 4 shape", runNew},
    {"info", "IN.tsk", "print lines, points per line, type and levels", runInfo},
    {"render",
     "IN.tsk OUT.bmp [--type T] [--flip-x] [--flip-y] [--flip-z] [--lod N]\n"
     "               [--effect KIND:PICTURE[:STRENGTH[:R[:G[:B]]]]]...",
     "build the sculpt map and write it as .bmp, .png or .tga", runRender},
    {"check", "IN.(tsk|bmp|png|tga) [--type T]",
     "check how viewers will show the sculpt map at each level of detail", runCheck},
    {"import", "MAP.(bmp|png|tga) OUT.tsk [--type T] [--lines L] [--points P] [--like SHAPE.tsk]",
     "fit a shape of control lines to a sculpt map and write it as a project", runImport},
}};
} // namespace

void printUsage(std::FILE* out) {
    std::fprintf(out, "usage:\n");
    for (const Command& command : kCommands) {
        std::fprintf(out, "  tesk-cli %s %s\n      %s\n", command.name, command.synopsis,
                     command.summary);
    }
    std::fprintf(out, "  tesk-cli --help\n  tesk-cli --version\n");
    std::fprintf(out,
                 "'--' ends the options: later words are file names, even with a leading '-'\n");
    std::fprintf(out, "exit status: 0 done, 1 check found a problem, 2 an input or output cannot "
                      "be used, 64 usage error\n");
}

} // namespace tesk::cli

int main(int argc, char** argv) {
    using namespace tesk::cli;
    tesk::guardStandardStreams("tesk-cli");
    // Ctrl+C or a kill during `new` or `render` leaves no temporary file beside the output.
    tesk::removeTemporaryFileOnEndingSignals();
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            printUsage(stdout);
            return kExitOk;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("tesk-cli %s\n%s", tesk::programVersion(), tesk::programLicence());
            return kExitOk;
        }
    }
    if (argc < 2) {
        return usageError("no command given");
    }
    const std::string_view name = argv[1];
    for (const Command& command : kCommands) {
        if (name == command.name) {
            return command.run(Args(argv + 2, argv + argc));
        }
    }
    return usageError("unknown command '" + std::string(name) + "'");
}
