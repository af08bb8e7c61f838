#include "ProjectFile.h"

#include "ArchiveString.h"
#include "ByteStream.h"
#include "FileIO.h"
#include "Messages.h"
#include "SPMesh.h"
#include "TextMarks.h"

#include <filesystem>
#include <system_error>

namespace tesk {

const char* const kVersionMismatchMessage =
    TESK_TEXT("Messages", "tesk バージョンが異なっています。");
const char* const kCannotOpenFileMessage = TESK_TEXT("Messages", "ファイルが開けませんでした。");
const char* const kBadFileContentMessage =
    TESK_TEXT("Messages", "ファイルの内容が正しくありません。");
const char* const kCannotSaveFileMessage =
    TESK_TEXT("Messages", "ファイルが保存できませんでした。");

void writeProjectImage(const SPMesh& mesh, ByteWriter& out) {
    writeArchiveString(out, kProjectVersion);
    mesh.writeMesh(out);
}

void saveProjectImage(const SPMesh& mesh, std::vector<uint8_t>& image) {
    ByteWriter out;
    writeProjectImage(mesh, out);
    image = out.take();
}

ProjectReadStatus readProjectImage(std::span<const uint8_t> image, SPMesh& mesh) {
    ByteReader in(image);
    bool versionMatches = false;
    if (!readArchiveStringMatching(in, kProjectVersion, versionMatches)) {
        return ProjectReadStatus::Malformed;
    }
    if (!versionMatches) {
        return ProjectReadStatus::VersionMismatch;
    }
    return mesh.readMesh(in) ? ProjectReadStatus::Ok : ProjectReadStatus::Malformed;
}

bool loadProjectImage(std::span<const uint8_t> image, SPMesh& mesh, Messages& messages) {
    switch (readProjectImage(image, mesh)) {
    case ProjectReadStatus::Ok:
        return true;
    case ProjectReadStatus::VersionMismatch:
        messages.inform(kVersionMismatchMessage);
        return false;
    case ProjectReadStatus::Malformed:
        break;
    }
    messages.inform(kBadFileContentMessage);
    return false;
}

bool loadProjectFile(const std::string& path, SPMesh& mesh, Messages& messages) {
    std::vector<uint8_t> bytes;
    if (!readWholeFile(path, bytes, kMaxProjectFileBytes)) {
        // An oversized regular file was opened fine; it is simply not a project file.
        std::error_code error;
        const auto status = std::filesystem::status(path, error);
        const bool oversized = !error && std::filesystem::is_regular_file(status) &&
                               std::filesystem::file_size(path, error) > kMaxProjectFileBytes &&
                               !error;
        messages.inform(oversized ? kBadFileContentMessage : kCannotOpenFileMessage);
        return false;
    }
    return loadProjectImage(bytes, mesh, messages);
}

bool saveProjectFile(const std::string& path, const SPMesh& mesh, Messages& messages) {
    ByteWriter out;
    writeProjectImage(mesh, out);
    if (const WriteResult written = writeFileAtomically(path, out.data().data(), out.size());
        !written) {
        messages.inform(std::string(kCannotSaveFileMessage) + "\n" + written.reason());
        return false;
    }
    return true;
}

} // namespace tesk
