#pragma once
// The sculpt map's side: every grid, map and effect picture of a rebuild is this square.

namespace tesk {

inline constexpr int kMapSide = 64;
inline constexpr int kMapPixels = kMapSide * kMapSide;

} // namespace tesk
