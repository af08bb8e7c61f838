#pragma once
// The project file: the version string followed by the shape's mesh block. The same image
// is a file on disk, an undo snapshot in memory and what the companion viewer loads.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tesk {

class ByteWriter;
class Messages;
class SPMesh;

inline constexpr std::string_view kProjectVersion = "0.0.0.4";
/// Files above this size are refused unread; the largest valid image is about 49 KB.
inline constexpr size_t kMaxProjectFileBytes = 1u << 20;

extern const char* const kVersionMismatchMessage; ///< "tesk バージョンが異なっています。"
extern const char* const kCannotOpenFileMessage; ///< "ファイルが開けませんでした。"
extern const char* const kBadFileContentMessage; ///< "ファイルの内容が正しくありません。"
extern const char* const kCannotSaveFileMessage; ///< "ファイルが保存できませんでした。"

enum class ProjectReadStatus {
    Ok,
    VersionMismatch, ///< the version string differs
    Malformed,       ///< data ends early, or a tag, count or length is wrong
};

/// Appends the whole image: version string, then the mesh block.
void writeProjectImage(const SPMesh& mesh, ByteWriter& out);

/// Memory mode of a save: `image` becomes the whole project image of the mesh.
void saveProjectImage(const SPMesh& mesh, std::vector<uint8_t>& image);

/// Reads an image into the mesh without reporting; the mesh changes only on Ok.
ProjectReadStatus readProjectImage(std::span<const uint8_t> image, SPMesh& mesh);

/// Memory mode of a load: readProjectImage, showing the version or content message on
/// failure. True when the mesh was replaced.
bool loadProjectImage(std::span<const uint8_t> image, SPMesh& mesh, Messages& messages);

/// Reads the file at `path` into the mesh. A file that cannot be opened or read, or whose
/// content is refused, is reported and leaves the mesh as it was.
bool loadProjectFile(const std::string& path, SPMesh& mesh, Messages& messages);

/// Writes the project image to `path` through a temporary file renamed over it, so a failed
/// save is reported (the system's reason on a second line) and leaves any previous file as it
/// was.
bool saveProjectFile(const std::string& path, const SPMesh& mesh, Messages& messages);

} // namespace tesk
