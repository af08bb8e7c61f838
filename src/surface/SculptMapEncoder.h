#pragma once
// Turns a built vertex grid into sculpt-map pixels: each axis scaled to its bounding box and
// coded 0 .. 255 (X in bits 0-7, Y in 8-15, Z in 16-23).

#include "Point3.h"

#include <cstdint>

namespace tesk {

/// Normalises the width x height grid in place to about 0 .. 1 per axis, writes one pixel per
/// vertex into `map` and half the bounding-box size per axis into `halfExtent`.
void EncodeSculptMap(Point3* grid, uint32_t* map, int width, int height, Point3& halfExtent);

} // namespace tesk
