#pragma once
// The effect stage of the rebuild: rewrites the sculpt map with the enabled effects of the
// list, in list order.

#include "EffectRecord.h"
#include "MapSide.h"

#include <cmath>
#include <cstdint>
#include <span>

namespace tesk {

/// Scales (x, y, z) to unit length by dividing each component by the length, so a vector along
/// an axis becomes exactly +-1 and opposite normals of different lengths cancel when summed
/// (multiplying by a single-precision reciprocal can leave 1 - 2^-24). Zero stays zero.
inline void normalise(float& x, float& y, float& z) {
    const float length = std::sqrt(x * x + y * y + z * z);
    if (length > 0.0f) {
        x /= length;
        y /= length;
        z /= length;
    } else {
        x = y = z = 0.0f;
    }
}

/// Stretches one channel of an effect's results (kMapPixels values) over the codes 0..255 in
/// `w`, truncating; a flat channel, or one whose range is not finite, becomes all 0. NaNs after
/// the first value are passed over in the search for the range and become 0.
void refit(const float* f, int32_t* w);

/// Applies every enabled effect with a set, known type and a 64 x 64 image to the 4096-pixel
/// sculpt map, which is read as input and overwritten. A map of another size is left alone.
void ApplyEffects(std::span<uint32_t> sculptMap, const EffectList& effects);

} // namespace tesk
