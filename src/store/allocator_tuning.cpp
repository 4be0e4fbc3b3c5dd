#include "store/allocator_tuning.h"

#include <malloc.h>

namespace odrivo {

void keepFreedMemoryForReloads() {
    // A 100,000-entry log needs about 27 MiB of records; keep up to 256 MiB of freed heap.
    constexpr int kTrimThreshold = 256 * 1024 * 1024;
    mallopt(M_TRIM_THRESHOLD, kTrimThreshold);
    // Larger blocks (reading windows, a save's pieces, whole settings files) would each be a fresh
    // mapping, faulted in page by page every time; from the heap they reuse the last one's pages.
    constexpr int kLargestHeapBlock = 32 * 1024 * 1024;
    mallopt(M_MMAP_THRESHOLD, kLargestHeapBlock);
}

} // namespace odrivo
