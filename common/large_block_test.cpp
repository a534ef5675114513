#include "common/large_block.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <vector>

namespace darcalim {
namespace {

TEST(LargeBlock, BlocksOnEitherSideOfTheLargeSizeHoldEveryByteWritten) {
  for (const std::size_t bytes : {std::size_t{1}, std::size_t{4096}, kLargeBlockBytes - 1, kLargeBlockBytes,
                                  kLargeBlockBytes + 1, 3 * kLargeBlockBytes + 12345}) {
    auto* block = static_cast<unsigned char*>(allocate_large_block(bytes));
    ASSERT_NE(block, nullptr) << bytes;
    std::memset(block, 0xA5, bytes);
    EXPECT_EQ(block[0], 0xA5) << bytes;
    EXPECT_EQ(block[bytes - 1], 0xA5) << bytes;
    free_large_block(block, bytes);
  }
  free_large_block(nullptr, kLargeBlockBytes);
}

TEST(LargeBlock, AContainerGrowingPastTheLargeSizeKeepsItsContents) {
  std::vector<unsigned char, LargeBlockAllocator<unsigned char>> bytes;
  const std::size_t count = 3 * kLargeBlockBytes + 7;
  for (std::size_t i = 0; i < count; ++i) bytes.push_back(static_cast<unsigned char>(i % 251));
  std::size_t wrong = 0;
  for (std::size_t i = 0; i < count; ++i) wrong += bytes[i] != static_cast<unsigned char>(i % 251);
  EXPECT_EQ(wrong, 0u);
  std::vector<unsigned char, LargeBlockAllocator<unsigned char>> other(5, 1);
  bytes.swap(other);
  EXPECT_EQ(bytes.size(), 5u);
  EXPECT_EQ(other.size(), count);
}

}  // namespace
}  // namespace darcalim
