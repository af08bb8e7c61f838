#include "ShapeTypes.h"

#include <algorithm>

namespace tesk {

const ShapeTypeInfo* findShapeType(int32_t type) {
    const auto found =
        std::find_if(kShapeTypes.begin(), kShapeTypes.end(),
                     [type](const ShapeTypeInfo& info) { return info.value == type; });
    return found != kShapeTypes.end() ? &*found : nullptr;
}

bool isKnownShapeType(int32_t type) {
    return findShapeType(type) != nullptr;
}

bool hasPoles(int32_t type) {
    return type < DIM_SHEET_LINEAR;
}

int previewStitch(int32_t type) {
    if (const ShapeTypeInfo* info = findShapeType(type)) {
        return info->stitch;
    }
    return type >= DIM_SHEET_LINEAR && type <= 199 ? kStitchPlane : kStitchSphere;
}

} // namespace tesk
