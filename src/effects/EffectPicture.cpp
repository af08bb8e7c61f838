#include "EffectPicture.h"

#include "EffectStage.h"
#include "PictureFile.h"

namespace tesk {

int loadEffectPicture(ImageBuffer& image, const std::string& path, Messages& messages) {
    // A huge JPEG may come out of the decoder already reduced, but never below four times the
    // effect size, so the resampling still sees the picture's detail.
    DecodeOptions options;
    options.minWidth = 4 * kEffectMapSide;
    options.minHeight = 4 * kEffectMapSide;
    options.resampleWidth = kEffectMapSide;
    options.resampleHeight = kEffectMapSide;
    return LoadImageFile(image, path, messages, options);
}

std::unique_ptr<EffectRecord> makeEffectRecord(const std::string& path, int typeCode,
                                               Messages& messages) {
    auto record = std::make_unique<EffectRecord>();
    if (loadEffectPicture(*record, path, messages) != 1) {
        return nullptr;
    }
    record->enabled = 1;
    record->setTypeCode(typeCode);
    record->strength = 10.0f;
    record->strengthR = 100.0f;
    record->strengthG = 100.0f;
    record->strengthB = 100.0f;
    return record;
}

} // namespace tesk
