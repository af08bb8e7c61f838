// links: tesk_effects
// Arbitrary bytes through the PNG reader, then through the resampling filter.
#include "PictureFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return tesk::fuzzPicture(tesk::PictureKind::Png, data, size);
}
