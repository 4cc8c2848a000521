// How the C library's heap treats memory that the renderer frees every frame.
#pragma once

// Keeps freed memory in the process instead of returning it to the kernel at each free.
// Mesa's software rasteriser builds every frame in 64 KB blocks that it frees once the
// frame is drawn; with the C library's default trim threshold those pages go back to the
// kernel and the next frame faults them in again: a fifth of the processor time went to
// the kernel.
// Call once, before the window (and so the renderer) is created.
void KeepFreedHeapMemory();
