#include "platform/Heap.h"

#include <malloc.h>

#include <cstddef>

namespace {
// The heap keeps this much freed memory at its top before it gives any back to the kernel.
constexpr size_t kKeptHeapBytes = size_t{256} << 20;
}  // namespace

void KeepFreedHeapMemory() {
    mallopt(M_TRIM_THRESHOLD, static_cast<int>(kKeptHeapBytes));
}
