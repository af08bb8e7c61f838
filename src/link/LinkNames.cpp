#include "LinkNames.h"

#include <atomic>
#include <unistd.h>

namespace tesk {

LinkNames LinkNames::forUser(std::string_view tag) {
    std::string scope = std::to_string(::getuid());
    if (!tag.empty()) {
        scope += "-";
        scope += tag;
    }
    return {"/KOB_APP-" + scope, "tesk-" + scope + "-"};
}

std::string LinkNames::endpoint(uint32_t id) const {
    return socketPrefix + "endpoint-" + std::to_string(id);
}

std::string LinkNames::windowClass(std::string_view className) const {
    return socketPrefix + "class-" + std::string(className);
}

uint32_t nextWindowId() {
    static std::atomic<uint32_t> counter{0};
    const uint32_t window = counter.fetch_add(1) % 255u + 1u;
    return static_cast<uint32_t>(::getpid()) << 8 | window;
}

} // namespace tesk
