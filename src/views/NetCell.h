#pragma once
// One editable control point of the 2-D editor: its flags and its node square. Cell k
// stands for point k mod pointsPerLine of line k / pointsPerLine + 1.

#include <cstdint>

namespace tesk {

inline constexpr uint32_t CELL_SELECTED = 0x80000000u;
inline constexpr uint32_t CELL_IN_BAND = 0x40000000u;
inline constexpr uint32_t CELL_HOVER = 0x10000000u;

struct NetCell {
    uint32_t flags = 0;
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

} // namespace tesk
