#pragma once
// The value of render's --effect option: KIND:PICTURE[:STRENGTH[:R[:G[:B]]]].

#include "EffectRecord.h"

#include <string>

namespace tesk::cli {

/// One effect to add; the defaults are a newly added effect's.
struct EffectOption {
    int type = 0;
    std::string picture;
    float strengths[4] = {kNewEffectStrength, kNewEffectChannelStrength, kNewEffectChannelStrength,
                          kNewEffectChannelStrength};
};

/// KIND (normal, centroid or composite) runs to the first colon. The strengths are taken from
/// the right, up to four fields that read as numbers, so the picture's path may hold colons; a
/// path that itself ends in ":NUMBER" is given with all four strengths. Every strength must be
/// a finite number in -100 .. 100, and no field may be empty. False for anything else.
bool parseEffectOption(const std::string& text, EffectOption& effect);

} // namespace tesk::cli
