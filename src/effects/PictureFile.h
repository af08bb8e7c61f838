#pragma once
// Reading TGA, JPEG, BMP and PNG picture files into an ImageBuffer (8-bit RGB, top row first).
// Every size is checked before anything is allocated, so no input can claim unbounded memory.

#include "ImageBuffer.h"
#include "TextMarks.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tesk {

class Messages;

enum class PictureKind { Unknown, Bmp, Tga, Png, Jpeg };

enum class DecodeResult { Ok, Unreadable, OutOfMemory };

/// Limits and a size hint for one decode.
struct DecodeOptions {
    /// When non-zero the decoder may hand back a picture reduced by a whole factor, as long as
    /// it stays at least this large on each side (JPEG only: decoding at a reduced scale).
    int minWidth = 0;
    int minHeight = 0;
    /// When non-zero, a picture of another size comes out resampled to this size (exactly as
    /// Resample makes it); its rows then go through the filter as they are decoded, so a large
    /// picture is never held whole.
    int resampleWidth = 0;
    int resampleHeight = 0;
    int maxSide = 16384;
    uint64_t maxPixels = uint64_t{1} << 28;
    /// What one decode may hold: the file's bytes, the picture (whole or the rows the filter
    /// keeps) and the JPEG decoder's whole-picture buffers. A picture that needs more is refused
    /// before anything big is allocated. The libraries' few rows and tables come on top, well
    /// within the rest of 256 MiB.
    size_t memoryBudget = size_t{240} << 20;
};

/// PNG, JPEG and BMP by their first bytes; TGA, which has no signature, by its footer or by the
/// extension of `path`.
PictureKind detectPictureKind(std::span<const uint8_t> bytes, std::string_view path);

/// Decodes `bytes` of the given kind into `image` (pixels, width, height). On failure the image
/// keeps no pixels.
DecodeResult decodePicture(std::span<const uint8_t> bytes, PictureKind kind, ImageBuffer& image,
                           const DecodeOptions& options = {});

/// Loads a picture file: 1 on success (filePath = path), -1 when it cannot be read or decoded,
/// is not a regular file or does not fit the memory budget (the user is told), 0 when memory
/// runs out (no message). The old pixels go first.
int LoadImageFile(ImageBuffer& image, const std::string& path, Messages& messages);
int LoadImageFile(ImageBuffer& image, const std::string& path, Messages& messages,
                  const DecodeOptions& options);

/// A JPEG of more scans is refused. Real encoders write at most a few dozen (libjpeg's
/// progressive script 10 for colour, 24 for CMYK), while each scan of a hostile file costs a
/// pass over the whole coefficient buffer.
inline constexpr int kMaxJpegScans = 100;

/// The message for a picture that cannot be read.
inline constexpr const char* kUnreadablePictureMessage =
    TESK_TEXT("Messages", "指定ファイルが読み込めませんでした。");

} // namespace tesk
