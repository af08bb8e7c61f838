#include "Installation.h"

#include <system_error>

namespace tesk {

const char* programVersion() {
    return TESK_VERSION;
}

namespace {
std::filesystem::path besideOrShared(const std::filesystem::path& beside,
                                     const std::filesystem::path& shared) {
    std::error_code error;
    if (std::filesystem::is_directory(beside, error)) {
        return beside;
    }
    if (std::filesystem::is_directory(shared, error)) {
        return shared;
    }
    return beside;
}
} // namespace

std::filesystem::path effectPictureFolder(const std::filesystem::path& programDir) {
    return besideOrShared(programDir / "effect",
                          (programDir / ".." / "share" / "tesk" / "effect").lexically_normal());
}

std::filesystem::path documentationFolder(const std::filesystem::path& programDir) {
    return besideOrShared(programDir / "doc",
                          (programDir / ".." / "share" / "doc" / "tesk").lexically_normal());
}

} // namespace tesk
