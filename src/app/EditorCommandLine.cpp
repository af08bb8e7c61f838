#include "EditorCommandLine.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace tesk {

namespace {

enum class QtValue { None, Next, NextOrJoined, Joined };

/// The standard options of Qt programs, as QGuiApplication and QApplication take them.
struct QtOption {
    std::string_view name;
    QtValue value;
};

constexpr std::array<QtOption, 15> kQtOptions = {{
    {"platform", QtValue::Next},
    {"platformpluginpath", QtValue::Next},
    {"platformtheme", QtValue::Next},
    {"plugin", QtValue::Next},
    {"qwindowgeometry", QtValue::Next},
    {"qwindowicon", QtValue::Next},
    {"qwindowtitle", QtValue::Next},
    {"session", QtValue::Next},
    {"display", QtValue::Next},
    {"geometry", QtValue::Next},
    {"style", QtValue::NextOrJoined},
    {"stylesheet", QtValue::NextOrJoined},
    {"qmljsdebugger", QtValue::Joined},
    {"reverse", QtValue::None},
    {"widgetcount", QtValue::None},
}};

struct RequestName {
    std::string_view name;
    EditorCommandLine::Request request;
};

constexpr std::array<RequestName, 6> kRequests = {{
    {"-h", EditorCommandLine::Request::Help},
    {"-?", EditorCommandLine::Request::Help},
    {"--help", EditorCommandLine::Request::Help},
    {"--help-all", EditorCommandLine::Request::HelpAll},
    {"-v", EditorCommandLine::Request::Version},
    {"--version", EditorCommandLine::Request::Version},
}};

/// Qt reads its options with one dash or two.
std::string_view qtOptionName(std::string_view arg) {
    return arg.substr(arg.size() > 2 && arg[1] == '-' ? 2 : 1);
}

/// Takes the Qt option at argv[i] (with its value) into `line`; false when it is none.
bool takeQtOption(int argc, char** argv, int& i, EditorCommandLine& line) {
    const std::string_view name = qtOptionName(argv[i]);
    for (const QtOption& option : kQtOptions) {
        const bool joined = name.size() > option.name.size() &&
                            name.substr(0, option.name.size()) == option.name &&
                            name[option.name.size()] == '=';
        if (joined && (option.value == QtValue::NextOrJoined || option.value == QtValue::Joined)) {
            line.qtArguments.push_back(argv[i]);
            return true;
        }
        if (name != option.name || option.value == QtValue::Joined) {
            continue;
        }
        line.qtArguments.push_back(argv[i]);
        if (option.value == QtValue::None) {
            return true;
        }
        if (i + 1 >= argc) {
            line.request = EditorCommandLine::Request::UsageError;
            line.problem = std::string(argv[i]) + " takes a value";
            return true;
        }
        line.qtArguments.push_back(argv[++i]);
        if (option.name == "platform") {
            line.platform = argv[i];
        }
        line.displayGiven = line.displayGiven || option.name == "display";
        return true;
    }
    return false;
}

/// Takes --NAME VALUE or --NAME=VALUE of `option` into `given` and `value`; false when argv[i]
/// is neither.
bool takeValueOption(const EditorOption& option, int argc, char** argv, int& i,
                     EditorCommandLine& line, bool& given, std::string& value) {
    const std::string flag = std::string("--") + option.name;
    const std::string_view arg = argv[i];
    if (arg.substr(0, flag.size()) != flag) {
        return false;
    }
    if (arg.size() > flag.size() && arg[flag.size()] == '=') {
        value = arg.substr(flag.size() + 1);
    } else if (arg.size() > flag.size()) {
        return false;
    } else if (i + 1 < argc) {
        value = argv[++i];
    } else {
        line.request = EditorCommandLine::Request::UsageError;
        line.problem = flag + " takes a " + option.valueName;
        return true;
    }
    given = true;
    return true;
}

bool takeLanguage(int argc, char** argv, int& i, EditorCommandLine& line) {
    bool given = false;
    if (!takeValueOption(kLanguageOption, argc, argv, i, line, given, line.language)) {
        return false;
    }
    if (given && line.language != "ja" && line.language != "en") {
        line.request = EditorCommandLine::Request::UsageError;
        line.problem = "--lang takes ja or en, not '" + line.language + "'";
    }
    return true;
}

bool takeEditorOption(int argc, char** argv, int& i, EditorCommandLine& line) {
    return takeValueOption(kScreenshotOption, argc, argv, i, line, line.screenshot,
                           line.screenshotPath) ||
           takeValueOption(kTextureOption, argc, argv, i, line, line.texture, line.texturePath) ||
           takeLanguage(argc, argv, i, line);
}

bool takeRequest(std::string_view arg, EditorCommandLine& line) {
    for (const RequestName& entry : kRequests) {
        if (arg == entry.name) {
            line.request = entry.request;
            return true;
        }
    }
    return false;
}

} // namespace

EditorCommandLine readEditorCommandLine(int argc, char** argv) {
    EditorCommandLine line;
    line.qtArguments.push_back(argv[0]);
    bool optionsEnded = false;
    bool haveFile = false;
    for (int i = 1; i < argc && line.request == EditorCommandLine::Request::Run; ++i) {
        const std::string_view arg = argv[i];
        const bool option = !optionsEnded && arg.size() > 1 && arg[0] == '-';
        if (!option) {
            line.file = haveFile ? line.file : std::string(arg);
            haveFile = true;
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (!takeRequest(arg, line) && !takeEditorOption(argc, argv, i, line) &&
                   !takeQtOption(argc, argv, i, line)) {
            line.request = EditorCommandLine::Request::UsageError;
            line.problem = "unknown option '" + std::string(arg) + "'";
        }
    }
    return line;
}

bool windowSystemNamed(const std::string& platforms, bool x11Named, bool waylandNamed) {
    // Without a platform Qt tries X11, or Wayland in a Wayland session.
    const std::string list = platforms.empty() ? "xcb;wayland" : platforms;
    size_t start = 0;
    while (start <= list.size()) {
        const size_t end = std::min(list.find(';', start), list.size());
        const std::string_view entry = std::string_view(list).substr(start, end - start);
        const std::string_view name = entry.substr(0, entry.find(':'));
        const bool x11 = name == "xcb";
        const bool wayland = name.substr(0, 7) == "wayland";
        if ((x11 && x11Named) || (wayland && waylandNamed) || (!x11 && !wayland && !name.empty())) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

} // namespace tesk
