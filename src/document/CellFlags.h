#pragma once
// The flags word of one editable point (a cell): cell k stands for point k mod pointsPerLine
// of line k / pointsPerLine + 1. The preview colours its markers by the same bits.

#include <cstdint>

namespace tesk {

inline constexpr uint32_t CELL_SELECTED = 0x80000000u;
inline constexpr uint32_t CELL_IN_BAND = 0x40000000u;
inline constexpr uint32_t CELL_HOVER = 0x10000000u;

} // namespace tesk
