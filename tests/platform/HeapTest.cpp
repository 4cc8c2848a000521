// The game's heap setting, checked on the C library's own allocator (this binary is built
// without the sanitizers, whose allocator would ignore it).
#include <malloc.h>

#include <cstdlib>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Heap.h"

namespace {
// glibc's documented default trim threshold.
constexpr int kDefaultTrimThreshold = 128 * 1024;

void RestoreDefaultHeapTrimming() {
    mallopt(M_TRIM_THRESHOLD, kDefaultTrimThreshold);
}

// Allocates a frame's worth of 64 KB blocks, as the rasteriser does, frees them and returns
// how many bytes the heap holds from the kernel afterwards.
size_t HeapBytesAfterAFrame() {
    constexpr size_t kBlock = 64 * 1024;
    std::vector<void*> blocks;
    blocks.reserve(256);
    for (int i = 0; i < 256; ++i) {
        void* block = std::malloc(kBlock);
        static_cast<char*>(block)[0] = 1;
        blocks.push_back(block);
    }
    for (auto it = blocks.rbegin(); it != blocks.rend(); ++it) {
        std::free(*it);
    }
    return mallinfo2().arena;
}
}  // namespace

TEST(Heap, KeepsAFramesBlocksOnceTheyAreFreed) {
    RestoreDefaultHeapTrimming();
    malloc_trim(0);
    const size_t before = mallinfo2().arena;
    // The library's default gives the freed top of the heap back at once: this is what the
    // setting is for.
    EXPECT_LT(HeapBytesAfterAFrame(), before + 4 * 1024 * 1024);

    KeepFreedHeapMemory();
    EXPECT_GE(HeapBytesAfterAFrame(), before + 15 * 1024 * 1024);
    // And the next frame finds its blocks in the heap: it does not grow again.
    const size_t kept = mallinfo2().arena;
    EXPECT_EQ(HeapBytesAfterAFrame(), kept);
    RestoreDefaultHeapTrimming();
}
