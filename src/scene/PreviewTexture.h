#pragma once
// Pictures to lay on the preview mesh: the built-in checker and pictures the user chooses,
// both held at one bounded size, since the mesh stretches any picture over its whole grid.

#include "ImageBuffer.h"

#include <cstdint>
#include <string>

namespace tesk {

class Messages;

/// Sides of a texture picture: a larger picture is resampled to this, so one costs at most
/// 1 MiB however large its file.
inline constexpr int kTextureSide = 512;
/// The checker: kCheckerCells x kCheckerCells cells, numbered 1 … 64 from the top left in
/// reading order, in these two colours with dark digits.
inline constexpr int kCheckerCells = 8;
inline constexpr uint32_t kCheckerLight = 0xFFE6E6E6u; // red in the low byte
inline constexpr uint32_t kCheckerDark = 0xFF2860DCu;
inline constexpr uint32_t kCheckerDigit = 0xFF202020u;

/// Fills `image` with the checker, kTextureSide a side.
void makeCheckerPicture(ImageBuffer& image);

/// Loads a BMP, TGA, PNG or JPEG file as a texture picture: 1 on success, otherwise as
/// LoadImageFile (the user is told why it cannot be read). The old pixels go first.
int loadTexturePicture(ImageBuffer& image, const std::string& path, Messages& messages);

} // namespace tesk
