#pragma once
// Writes the sculpt-map picture to a file: a 24-bit BMP, a lossless PNG or an uncompressed
// Targa, with the optional X, Y and Z flips. File colours are red = 255 - X, green = 255 - Y,
// blue = Z; map row 0 is the top row of the picture.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tesk {

class Messages;

/// The choices of the "Export Option" dialog.
struct ExportFlips {
    bool x = false;
    bool y = false;
    bool z = false;
    friend bool operator==(const ExportFlips&, const ExportFlips&) = default;
};

enum class SculptFileFormat { Bmp, Png, Tga, Jpeg, Unknown };

extern const char* const kNoPictureMessage;         ///< "D3DXCreateTextureFromFile error"
extern const char* const kJpegRefusedMessage;       ///< lossy formats would move the vertices
extern const char* const kUnknownFormatMessage;     ///< an extension the writer cannot produce
extern const char* const kExportWriteFailedMessage; ///< then the reason and the path

/// A map pixel's colour in a picture file, red in bits 0-7: red = 255 - X, green = 255 - Y,
/// blue = Z. It is its own inverse, so it also turns a picture's colour back into a map pixel.
constexpr uint32_t SculptFileColour(uint32_t pixel) {
    return (pixel ^ 0xFFFFu) & 0xFFFFFFu;
}

/// The format chosen by the path's extension, compared without regard to case.
SculptFileFormat SculptFormatForPath(std::string_view path);

/// Applies the enabled flips in the order X, Y, Z: each mirrors every row left to right and
/// inverts its axis code (c -> 255 - c).
void ApplyExportFlips(uint32_t* pixels, int width, int height, ExportFlips flips);

/// The file images of width x height map pixels (X in bits 0-7, Y 8-15, Z 16-23).
std::vector<uint8_t> EncodeSculptBmp(const uint32_t* pixels, int width, int height);
std::vector<uint8_t> EncodeSculptTga(const uint32_t* pixels, int width, int height);
/// The tEXt keyword under which an exported PNG carries the prim size.
extern const char* const kPrimSizeKeyword; ///< "Prim size"

/// Empty when libpng fails. A non-empty `primSize` goes in a tEXt chunk after the header.
std::vector<uint8_t> EncodeSculptPng(const uint32_t* pixels, int width, int height,
                                     std::string_view primSize = {});

/// Flips a copy of the map and writes it in the format of the path's extension. Refused
/// formats, an empty map and failed writes are reported through `messages`, leave no file
/// (an existing file at `path` stays as it was) and return false. A PNG carries `primSize`.
bool ExportSculptImage(const std::string& path, const uint32_t* pixels, int width, int height,
                       ExportFlips flips, Messages& messages, std::string_view primSize = {});

} // namespace tesk
