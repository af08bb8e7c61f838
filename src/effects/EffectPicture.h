#pragma once
// Turning a picture file into an effect image or a ready effect record: what the editor's
// add and change-image commands and the command-line tool share.

#include "EffectRecord.h"

#include <memory>
#include <string>

namespace tesk {

class Messages;

/// Loads a picture and brings it to 64 x 64 (resampled only when the size differs).
/// Returns LoadImageFile's result; on failure the image keeps no pixels.
int loadEffectPicture(ImageBuffer& image, const std::string& path, Messages& messages);

/// A record for a newly added effect: the picture at 64 x 64, on, the given type, strength 10,
/// R, G and B 100. Null when the picture cannot be loaded (the user has been told).
std::unique_ptr<EffectRecord> makeEffectRecord(const std::string& path, int typeCode,
                                               Messages& messages);

} // namespace tesk
