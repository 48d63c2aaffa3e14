#pragma once
// Large blocks that are filled once at start or at every resize (the brand table, the panes' back
// buffers) in memory marked for huge pages where the system offers them: a block of a few megabytes is
// otherwise some hundreds of 4 KB pages, each a page fault at its first touch (costly on a virtual
// machine); in 2 MB pages it is a handful. Without huge pages nothing changes.
#include <sys/mman.h>

#include <cstddef>
#include <cstdlib>

namespace sorano {

inline constexpr size_t kHugePageBytes = size_t{2} << 20;

// bytes of memory (uninitialised) aligned to a huge page, or null; free it with std::free. Blocks
// smaller than a huge page come from the ordinary heap.
inline void* AllocateHugePageMemory(size_t bytes) {
  if (bytes < kHugePageBytes) return std::malloc(bytes == 0 ? 1 : bytes);
  const size_t rounded = (bytes + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes;
  void* p = std::aligned_alloc(kHugePageBytes, rounded);
  if (p != nullptr) ::madvise(p, rounded, MADV_HUGEPAGE);  // only a hint
  return p;
}

}  // namespace sorano
