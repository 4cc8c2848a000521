#include "platform/Heap.h"

#include <malloc.h>

namespace {
// glibc's documented default trim threshold.
constexpr int kDefaultTrimThreshold = 128 * 1024;
}  // namespace

void KeepFreedHeapMemory() {
    // Also fixes the mmap threshold where it is (glibc otherwise raises it as it goes), so
    // that large images keep being mapped and unmapped on their own and do not pile up.
    mallopt(M_TRIM_THRESHOLD, static_cast<int>(kKeptHeapBytes));
}

void RestoreDefaultHeapTrimming() {
    mallopt(M_TRIM_THRESHOLD, kDefaultTrimThreshold);
}
