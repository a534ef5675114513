#include "tools/worker_memory.h"

#include <cstdlib>  // defines __GLIBC__ on the GNU C library

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace darcalim {

namespace {

// Blocks up to this size come from the allocator's own heaps (above it, from
// the system, and back to it when freed); a run's largest table lies well below.
constexpr int kLargestHeapBlock = 32 << 20;
// Free memory at the top of a heap is handed back to the system only beyond this.
constexpr int kHeldFreeMemory = 256 << 20;

}  // namespace

void reuse_freed_memory() {
#if defined(__GLIBC__)
  mallopt(M_MMAP_THRESHOLD, kLargestHeapBlock);
  mallopt(M_TRIM_THRESHOLD, kHeldFreeMemory);
#endif
}

}  // namespace darcalim
