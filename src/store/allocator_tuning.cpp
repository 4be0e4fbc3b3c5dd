#include "store/allocator_tuning.h"

#include <malloc.h>

namespace odrivo {

void keepFreedMemoryForReloads() {
    // A 100,000-entry log needs about 40 MiB of records; keep up to 256 MiB of freed heap.
    constexpr int kTrimThreshold = 256 * 1024 * 1024;
    mallopt(M_TRIM_THRESHOLD, kTrimThreshold);
}

} // namespace odrivo
