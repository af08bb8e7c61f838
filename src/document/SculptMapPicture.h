#pragma once
// A sculpt-map picture file read back into map pixels: the exact inverse of the export
// without flips (map row 0 is the picture's top row, red = 255 - X, green = 255 - Y, blue = Z).

#include <cstdint>
#include <string>
#include <vector>

namespace tesk {

class Messages;

/// Reads the picture as effect pictures are read (other sizes resampled to 64 x 64) and turns
/// it into 64 x 64 map pixels. False, with the user told, when it cannot be read.
bool loadSculptMapPicture(const std::string& path, std::vector<uint32_t>& map, Messages& messages);

} // namespace tesk
