#pragma once
// The editor's command line, read from the bytes of argv before the window system is opened,
// so that usage errors, --help and --version need no display and file names stay exactly as
// the system spells them.

#include <string>
#include <vector>

namespace tesk {

/// An option of the editor's own, as --help describes it.
struct EditorOption {
    const char* name;
    const char* valueName;
    const char* description;
};

inline constexpr EditorOption kScreenshotOption = {
    "screenshot", "PATH", "Save a PNG of the window once drawn, then exit."};
inline constexpr EditorOption kTextureOption = {
    "texture", "PIC", "Show the picture PIC on the preview's shape, or the checker for 'checker'."};
inline constexpr EditorOption kLanguageOption = {
    "lang", "LANG",
    "Show the editor in LANG: ja (Japanese) or en (English). Without it the "
    "desktop's language decides: Japanese for Japanese, else English."};
/// The value of --texture that stands for the built-in checker.
inline constexpr const char* kCheckerTextureName = "checker";

/// What the command line asks for.
struct EditorCommandLine {
    enum class Request { Run, Help, HelpAll, Version, UsageError };
    Request request = Request::Run;
    std::string problem; ///< for UsageError: what is wrong
    bool screenshot = false;
    std::string screenshotPath;
    bool texture = false;
    std::string texturePath; ///< a picture file or kCheckerTextureName
    std::string language;    ///< "ja" or "en" from --lang; empty when not given
    std::string file;        ///< the project file to open, empty for none
    std::string platform;    ///< the value of -platform, empty when not given
    bool displayGiven = false;
    /// argv[0] and the standard options of Qt programs with their values, in their order:
    /// all QApplication gets, so that no file name is ever taken for one of its options.
    std::vector<char*> qtArguments;
};

/// Reads argv. "--" ends the options; the first word that is not an option is the file to
/// open and later ones are ignored.
EditorCommandLine readEditorCommandLine(int argc, char** argv);

/// False when every window system Qt would try for `platforms` (the -platform option, else
/// QT_QPA_PLATFORM; a list separated by ';', each name maybe followed by ":options"; empty for
/// Qt's default) is a display server and none is named: neither an X display (DISPLAY or
/// -display) nor a Wayland one (WAYLAND_DISPLAY). Other platforms, such as offscreen, count
/// as reachable.
bool windowSystemNamed(const std::string& platforms, bool x11Named, bool waylandNamed);

} // namespace tesk
