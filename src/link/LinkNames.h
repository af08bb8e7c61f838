#pragma once
// The names under which the editor and the viewer meet, scoped to the user: the shared block
// "/KOB_APP-<uid>" and the abstract socket names "tesk-<uid>-endpoint-<id>" and
// "tesk-<uid>-class-<class name>". A tag gives a separate set of names, so that tests running
// side by side never meet each other's viewer.

#include <cstdint>
#include <string>
#include <string_view>

namespace tesk {

struct LinkNames {
    std::string block;
    std::string socketPrefix;

    /// The names of the user running this process; with a tag, a separate set.
    static LinkNames forUser(std::string_view tag = {});

    /// The socket name of a window id.
    std::string endpoint(uint32_t id) const;
    /// The socket name of a window found by its class.
    std::string windowClass(std::string_view className) const;
};

/// A fresh window id of this process: the process id shifted left by 8 plus a window number
/// (1 to 255, taken in turn), so ids are unique on the machine and never 0.
uint32_t nextWindowId();

} // namespace tesk
