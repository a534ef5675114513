// Memory for the few large tables of a run: the run object itself and the
// images of its record files, a few MB each, touched for the first time by
// every run.
//
// Where the system gives huge pages on advice (Linux, transparent huge pages
// "always" or "madvise"), a block of kLargeBlockBytes (2 MiB) or more is
// mapped on its own, aligned to 2 MiB, and its whole 2 MiB pieces are
// offered as huge pages (madvise MADV_HUGEPAGE), so that the first touch of
// each piece costs one fault instead of 512; the rest of the block keeps
// ordinary pages, so the resident set grows by no more than the block's
// size. The block goes back to the system when it is freed. Every other
// block comes from the ordinary allocator: a smaller one, any block on a
// system without huge pages on advice, and any block under
// AddressSanitizer. A mapped block reads as zeros; an ordinary one as the
// allocator leaves it.
//
// allocate_large_block throws std::bad_alloc when no memory can be had;
// free_large_block takes the block and the byte count it was allocated with.
#pragma once

#include <cstddef>

namespace darcalim {

inline constexpr std::size_t kLargeBlockBytes = std::size_t{2} << 20;

void* allocate_large_block(std::size_t bytes);
void free_large_block(void* block, std::size_t bytes) noexcept;

// The same as an allocator for the standard containers (a record image).
template <typename T>
struct LargeBlockAllocator {
  using value_type = T;

  LargeBlockAllocator() = default;
  template <typename U>
  LargeBlockAllocator(const LargeBlockAllocator<U>&) noexcept {}

  T* allocate(std::size_t n) { return static_cast<T*>(allocate_large_block(n * sizeof(T))); }
  void deallocate(T* block, std::size_t n) noexcept { free_large_block(block, n * sizeof(T)); }

  template <typename U>
  bool operator==(const LargeBlockAllocator<U>&) const noexcept {
    return true;
  }
};

}  // namespace darcalim
