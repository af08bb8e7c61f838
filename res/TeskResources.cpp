#include "TeskResources.h"

#include <QtGlobal>

// The resource macro declares its initialiser where it is used, so it must stand outside any
// namespace.
static void initTeskResources() {
    Q_INIT_RESOURCE(tesk);
}

namespace tesk::resources {

void init() {
    initTeskResources();
}

} // namespace tesk::resources
