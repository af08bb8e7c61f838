#pragma once
// The names under which the editor and the viewer meet, scoped to the user: the shared block
// "/KOB_APP-<uid>" and the sockets "endpoint-<id>" and "class-<class name>" in the user's
// private folder, "$XDG_RUNTIME_DIR/tesk" or, without a runtime folder, "/tmp/tesk-<uid>".
// A tag gives a separate set of names, so that tests running side by side never meet each
// other's viewer.

#include <cstdint>
#include <string>
#include <string_view>

namespace tesk {

struct LinkNames {
    std::string block;
    /// The user's private folder of sockets; empty when it was refused, and then no window can
    /// be bound or reached.
    std::string folder;
    /// Put before each socket's name: empty for the user's own names, "<tag>-" with a tag.
    std::string socketPrefix;

    /// The names of the user running this process; with a tag, a separate set.
    static LinkNames forUser(std::string_view tag = {});

    /// The socket path of a window id.
    std::string endpoint(uint32_t id) const;
    /// The socket path of a window found by its class.
    std::string windowClass(std::string_view className) const;
};

/// The private folder of the link's sockets: "<runtimeDir>/tesk" when `runtimeDir` is an
/// absolute path, else "<tmpDir>/tesk-<uid>", made with mode 0700 when missing. Empty when the
/// folder is not one only this user may enter (a link, not a folder, another user's, or open
/// to others), or when the runtime folder is a link, another user's or writable by others.
std::string linkFolder(const char* runtimeDir, const std::string& tmpDir = "/tmp");

/// Opens `path` as a folder of this user with mode 0700, not following a link; -1 otherwise.
int openPrivateFolder(const std::string& path);

/// A fresh window id of this process: the process id shifted left by 8 plus a window number
/// (1 to 255, taken in turn), so ids are unique on the machine and never 0.
uint32_t nextWindowId();

} // namespace tesk
