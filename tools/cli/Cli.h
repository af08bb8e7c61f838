#pragma once
// What the commands of tesk-cli share: exit codes, the command table's row type, and the
// helpers for usage errors and for loading and saving projects like the editor's buttons.

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

/// Takes "--lod N" out of a render's arguments: faces := N (32, 16, 8 or 6), or 0 without one.
/// Returns kExitOk, or the usage error's status.
int takeLodOption(Args& args, int& faces);
/// Writes the document's map as viewers build it at `faces` faces, resampled to 64 x 64.
bool exportLodMap(Ctesk001Doc& doc, int faces, const std::string& path, const ExportFlips& flips);

} // namespace tesk::cli
