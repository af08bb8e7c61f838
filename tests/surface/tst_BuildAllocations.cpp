// A rebuild of the same shape reuses every buffer: after the first build, BuildSurface
// allocates nothing. Counted through the global operator new of this test program.
#include "Messages.h"
#include "SPMesh.h"
#include "SurfaceBuilder.h"
#include "SurfaceTestShapes.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> g_allocations{0};
}

void* operator new(std::size_t size) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace tesk {
namespace {

TEST(BuildAllocations, RebuildsAllocateNothing) {
    SPMesh mesh;
    testing::makeSphere(mesh, 16, 17);
    RecordingMessages messages;
    // A shape's first build allocates its map and grid: the counter sees allocations.
    const long start = g_allocations.load();
    ASSERT_TRUE(BuildSurface(mesh, DIM_POLES_LINEAR, messages));
    EXPECT_GE(g_allocations.load() - start, 2);
    for (const ShapeTypeInfo& info : kShapeTypes) {
        ASSERT_TRUE(BuildSurface(mesh, info.value, messages));
        const long before = g_allocations.load();
        ASSERT_TRUE(BuildSurface(mesh, info.value, messages));
        EXPECT_EQ(g_allocations.load() - before, 0) << info.caption;
    }
    EXPECT_TRUE(messages.texts.empty());
}

} // namespace
} // namespace tesk
