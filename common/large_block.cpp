#include "common/large_block.h"

#include <new>

// Under AddressSanitizer every block comes from the ordinary allocator, which
// it watches.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define DARCALIM_ORDINARY_BLOCKS_ONLY 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define DARCALIM_ORDINARY_BLOCKS_ONLY 1
#endif
#if defined(__linux__) && !defined(DARCALIM_ORDINARY_BLOCKS_ONLY)
#define DARCALIM_MAPPED_BLOCKS 1
#endif

#if defined(DARCALIM_MAPPED_BLOCKS)
#include <sys/mman.h>

#include <cstdint>
#include <fstream>
#include <string>
#endif

namespace darcalim {

#if defined(DARCALIM_MAPPED_BLOCKS)
namespace {

constexpr std::size_t kPageBytes = 4096;

// Whether the system gives huge pages where asked ("[always]" or
// "[madvise]" chosen among its settings). Without them a mapped block would
// only cost more faults than a block of the ordinary allocator, which a
// worker of the batch or the hindcast reuses from run to run.
bool huge_pages_on_advice() {
  static const bool on_advice = [] {
    std::ifstream settings("/sys/kernel/mm/transparent_hugepage/enabled");
    std::string text;
    std::getline(settings, text);
    return text.find("[always]") != std::string::npos || text.find("[madvise]") != std::string::npos;
  }();
  return on_advice;
}

bool is_mapped(std::size_t bytes) { return bytes >= kLargeBlockBytes && huge_pages_on_advice(); }

// The bytes a mapped block spans: whole ordinary pages.
std::size_t mapped_length(std::size_t bytes) { return (bytes + kPageBytes - 1) / kPageBytes * kPageBytes; }

// Maps `length` bytes aligned to kLargeBlockBytes: a mapping of that much
// more, whose unaligned head and tail are given back.
void* map_aligned(std::size_t length) {
  void* raw = mmap(nullptr, length + kLargeBlockBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) throw std::bad_alloc();
  const auto start = reinterpret_cast<std::uintptr_t>(raw);
  const std::uintptr_t aligned = (start + kLargeBlockBytes - 1) / kLargeBlockBytes * kLargeBlockBytes;
  const std::uintptr_t end = start + length + kLargeBlockBytes;
  if (aligned > start) munmap(raw, aligned - start);
  if (end > aligned + length) munmap(reinterpret_cast<void*>(aligned + length), end - (aligned + length));
  return reinterpret_cast<void*>(aligned);
}

}  // namespace
#endif

void* allocate_large_block(std::size_t bytes) {
#if defined(DARCALIM_MAPPED_BLOCKS)
  if (is_mapped(bytes)) {
    void* block = map_aligned(mapped_length(bytes));
    // Advice only: the system may still serve ordinary pages.
    madvise(block, bytes / kLargeBlockBytes * kLargeBlockBytes, MADV_HUGEPAGE);
    return block;
  }
#endif
  return ::operator new(bytes);
}

void free_large_block(void* block, [[maybe_unused]] std::size_t bytes) noexcept {
  if (block == nullptr) return;
#if defined(DARCALIM_MAPPED_BLOCKS)
  if (is_mapped(bytes)) {
    munmap(block, mapped_length(bytes));
    return;
  }
#endif
  ::operator delete(block);
}

}  // namespace darcalim
