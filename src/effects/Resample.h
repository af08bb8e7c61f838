#pragma once
// Resizing a picture with a radial cubic filter whose neighbourhood wraps around the edges.

#include "ImageBuffer.h"

namespace tesk {

/// Replaces the pixels by a newWidth x newHeight version; nothing without pixels or for a size
/// below 1. Even at equal size the filter sharpens, so callers skip it when the size fits.
void Resample(ImageBuffer& image, int newWidth, int newHeight);

} // namespace tesk
