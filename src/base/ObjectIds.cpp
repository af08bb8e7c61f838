#include "ObjectIds.h"

#include <atomic>

namespace tesk {

int nextObjectId() {
    static std::atomic<int> counter{0};
    return counter.fetch_add(1, std::memory_order_relaxed);
}

} // namespace tesk
