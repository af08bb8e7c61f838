#pragma once
// The effect stage of the rebuild: rewrites the sculpt map with the enabled effects of the
// list, in list order.

#include "EffectRecord.h"
#include "MapSide.h"

#include <cstdint>
#include <span>

namespace tesk {

/// Applies every enabled effect with a set, known type and a 64 x 64 image to the 4096-pixel
/// sculpt map, which is read as input and overwritten. A map of another size is left alone.
void ApplyEffects(std::span<uint32_t> sculptMap, const EffectList& effects);

} // namespace tesk
