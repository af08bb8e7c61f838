#include "Installation.h"

#include <system_error>

namespace tesk {

const char* programVersion() {
    return TESK_VERSION;
}

const char* programLicence() {
    return TESK_COPYRIGHT "\nReleased under the " TESK_LICENCE ", without any warranty.\n";
}

std::filesystem::path effectPictureFolder(const std::filesystem::path& programDir) {
    const std::filesystem::path beside = programDir / "effect";
    const std::filesystem::path shared =
        (programDir / ".." / "share" / "tesk" / "effect").lexically_normal();
    std::error_code error;
    if (std::filesystem::is_directory(beside, error)) {
        return beside;
    }
    if (std::filesystem::is_directory(shared, error)) {
        return shared;
    }
    return beside;
}

} // namespace tesk
