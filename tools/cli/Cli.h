#pragma once
// What the commands of tesk-cli share: exit codes, the command table's row type, and the
// helpers for usage errors and for loading and saving projects like the editor's buttons.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace tesk {
class Ctesk001Doc;
class SPMesh;
struct ExportFlips;
} // namespace tesk

namespace tesk::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitWarnings = 1; ///< check: the map works, but not as it looks
inline constexpr int kExitUnusable = 2; ///< an input or output cannot be used
inline constexpr int kExitUsage = 64;

/// The arguments after the command name.
using Args = std::vector<std::string>;

struct Command {
    const char* name;
    const char* synopsis; ///< arguments as shown in the usage text
    const char* summary;
    int (*run)(const Args& args);
};

/// The usage text, built from the command table in main.cpp.
void printUsage(std::FILE* out);

/// Prints "tesk-cli: <problem>" and the usage text to stderr; returns kExitUsage.
int usageError(const std::string& problem);

/// Prints "tesk-cli: <reason>" to stderr; returns kExitUnusable.
int unusable(const std::string& reason);

/// The shape type values of the type table, "0, 1, … 354", for usage errors.
std::string shapeTypeValues();

/// Sorts a command's arguments into options and operands. Before "--", a word that starts
/// with "-" (other than "-" alone) is an option: `readOption(args, i)` gets its index, steps `i`
/// over the values it takes, and returns kExitOk or the usage error's status. Every other word,
/// and every word after "--", is an operand. Returns kExitOk or the usage error's status.
template <typename ReadOption>
int takeArguments(const Args& args, Args& operands, ReadOption readOption) {
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            operands.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (const int status = readOption(args, i); status != kExitOk) {
            return status;
        }
    }
    return kExitOk;
}

/// takeArguments for a command without options: any option is a usage error.
int takeOperands(const Args& args, Args& operands);

/// A shape type value, one of the nine.
bool parseType(const std::string& text, int32_t& type);

/// Loads a project as the Load button does; the core's messages go to stderr. False when
/// the file cannot be used (a line naming the file follows the message).
bool loadProject(const std::string& path, SPMesh& mesh);

/// Saves a project as the Save button does, never destroying an existing file on failure.
bool saveProject(const std::string& path, const SPMesh& mesh);

// One function per command, each in its own Cli<Name>.cpp.
int runNew(const Args& args);
int runInfo(const Args& args);
int runRender(const Args& args);
int runCheck(const Args& args);
int runImport(const Args& args);

/// Reads the value of render's "--lod N" at args[i + 1]: faces := N (32, 16, 8 or 6), given
/// once. Returns kExitOk, or the usage error's status.
int readLodOption(const Args& args, size_t& i, int& faces);
/// Writes the document's map as viewers build it at `faces` faces, resampled to 64 x 64.
bool exportLodMap(Ctesk001Doc& doc, int faces, const std::string& path, const ExportFlips& flips);

} // namespace tesk::cli
