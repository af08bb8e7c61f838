#include "EffectPicture.h"

#include "EffectStage.h"
#include "PictureFile.h"

namespace tesk {

int loadEffectPicture(ImageBuffer& image, const std::string& path, Messages& messages) {
    // A huge JPEG may come out of the decoder already reduced, but never below four times the
    // effect size, so the resampling still sees the picture's detail.
    DecodeOptions options;
    options.minWidth = 4 * kMapSide;
    options.minHeight = 4 * kMapSide;
    options.resampleWidth = kMapSide;
    options.resampleHeight = kMapSide;
    return LoadImageFile(image, path, messages, options);
}

std::unique_ptr<EffectRecord> makeEffectRecord(const std::string& path, int typeCode,
                                               Messages& messages) {
    auto record = std::make_unique<EffectRecord>();
    if (loadEffectPicture(*record, path, messages) != 1) {
        return nullptr;
    }
    // A new record is on and carries the new-effect strengths already.
    record->setTypeCode(typeCode);
    return record;
}

} // namespace tesk
