#pragma once
// The picture conversions the effect dialog offers for an effect image. Each works in place,
// keeps the size, writes byte 3 as 0 and does nothing to an image without pixels.

#include "ImageBuffer.h"

namespace tesk {

/// All three channels become truncate(0.587 g + 0.299 r + 0.114 b).
void Grayscale(ImageBuffer& image);
/// Each channel keeps its top three bits.
void Posterize(ImageBuffer& image);
/// 3 x 3 weighted mean (0.3 / 0.5 / 1.0 kernel, sum 4.2) wrapping around both edges; nothing
/// when the pixels do not match the size.
void Blur(ImageBuffer& image);
/// Each channel becomes 255 - channel.
void Negative(ImageBuffer& image);
/// Each channel becomes 255 from 128 up, else 0.
void Binarize(ImageBuffer& image);

} // namespace tesk
