#include "GLCamera.h"

namespace tesk {

void GLCamera::reset() {
    const int keptKind = kind;
    *this = GLCamera{};
    kind = keptKind;
}

} // namespace tesk
