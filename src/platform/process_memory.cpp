#include "platform/process_memory.h"

#include <malloc.h>

namespace talwyn::platform {

void returnLargeBlocksOnFree() {
    // A fixed threshold also stops glibc from raising it after the first
    // large free, which would move later sheets into the heap for good.
    constexpr int kLargeBlockBytes = 128 * 1024;
    mallopt(M_MMAP_THRESHOLD, kLargeBlockBytes);
}

} // namespace talwyn::platform
