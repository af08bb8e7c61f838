#pragma once
// A folder of its own for one test, removed with it. CTest runs test cases as separate
// processes, several at once, so fixed names in the temporary folder would clash.

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <stdlib.h>
#include <string>
#include <system_error>

namespace tesk::testing {

class ScratchDir {
public:
    explicit ScratchDir(const std::string& prefix = "tesk") {
        std::string pattern =
            (std::filesystem::temp_directory_path() / (prefix + ".XXXXXX")).string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot make a temporary folder");
        }
        m_path = pattern;
    }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    /// A path inside the folder.
    std::string file(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

} // namespace tesk::testing
