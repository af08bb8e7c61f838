#include "SculptMapPicture.h"

#include "EffectPicture.h"
#include "ImageBuffer.h"
#include "MapSide.h"
#include "SculptImageWriter.h"

#include <algorithm>

namespace tesk {

bool loadSculptMapPicture(const std::string& path, std::vector<uint32_t>& map, Messages& messages) {
    ImageBuffer image;
    if (loadEffectPicture(image, path, messages) != 1 || !image.hasWholePicture() ||
        image.width != kMapSide || image.height != kMapSide) {
        return false;
    }
    map.resize(kMapPixels);
    std::transform(image.pixels.begin(), image.pixels.end(), map.begin(),
                   [](uint32_t colour) { return SculptFileColour(colour); });
    return true;
}

} // namespace tesk
