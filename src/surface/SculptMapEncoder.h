#pragma once
// Turns a built vertex grid into sculpt-map pixels: each axis scaled to its bounding box and
// coded 0 .. 255 (X in bits 0-7, Y in 8-15, Z in 16-23).

#include "Point3.h"

#include <cstdint>
#include <string>

namespace tesk {

/// Normalises the width x height grid in place to about 0 .. 1 per axis, writes one pixel per
/// vertex into `map` and half the bounding-box size per axis into `halfExtent`.
void EncodeSculptMap(Point3* grid, uint32_t* map, int width, int height, Point3& halfExtent);

/// The size to give the prim in the world: the shape's extent per axis, twice its half extents,
/// in the units the shape uses. The map stretches every axis over its whole range, so without
/// this size a tall vase arrives as a cube.
Point3 PrimSize(Point3 halfExtent);
/// The prim size as people read it: "X 2.000, Y 1.500, Z 3.000".
std::string PrimSizeText(Point3 halfExtent);

} // namespace tesk
