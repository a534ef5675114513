#include "tools/shard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

namespace darcalim {
namespace {

TEST(Shards, ParsesKOfNAndRefusesTheRest) {
  const auto one_of_one = parse_shard("1/1");
  ASSERT_TRUE(one_of_one);
  EXPECT_EQ(one_of_one->index, 1);
  EXPECT_EQ(one_of_one->count, 1);
  const auto last = parse_shard("20/20");
  ASSERT_TRUE(last);
  EXPECT_EQ(last->index, 20);
  EXPECT_EQ(last->count, 20);
  for (const char* bad : {"0/3", "4/3", "1/0", "0/0", "-1/3", "1/-3", "3", "/3", "1/", "", "a/3", "1/x", "1/3x", " 1/3",
                          "1 /3", "1.0/3", "1/3/3", "99999999999/99999999999"}) {
    EXPECT_FALSE(parse_shard(bad)) << bad;
  }
}

TEST(Shards, TheSlicesCoverTheListExactlyOnce) {
  for (const std::size_t size : {0u, 1u, 2u, 3u, 7u, 64u, 1001u}) {
    std::vector<std::size_t> list(size);
    std::iota(list.begin(), list.end(), 0);
    for (const int count : {1, 2, 3, 5, 16}) {
      std::vector<int> seen(size, 0);
      std::size_t largest = 0, smallest = size;
      for (int k = 1; k <= count; ++k) {
        const auto slice = shard_of(list, Shard{k, count});
        EXPECT_EQ(slice, shard_places(size, Shard{k, count}));
        for (const std::size_t i : slice) {
          ++seen[i];
          EXPECT_TRUE(in_shard(i, Shard{k, count}));
        }
        largest = std::max(largest, slice.size());
        smallest = std::min(smallest, slice.size());
        EXPECT_TRUE(std::is_sorted(slice.begin(), slice.end()));  // the list's order is kept
      }
      for (std::size_t i = 0; i < size; ++i) EXPECT_EQ(seen[i], 1) << "item " << i << " of " << size << ", N " << count;
      EXPECT_LE(largest - smallest, 1u) << size << " items in " << count << " slices";
    }
  }
}

TEST(Shards, EachSliceIsTheSameWhereverItRuns) {
  const std::vector<std::string> list = {"a", "b", "c", "d", "e", "f", "g"};
  EXPECT_EQ(shard_of(list, Shard{1, 3}), (std::vector<std::string>{"a", "d", "g"}));
  EXPECT_EQ(shard_of(list, Shard{2, 3}), (std::vector<std::string>{"b", "e"}));
  EXPECT_EQ(shard_of(list, Shard{3, 3}), (std::vector<std::string>{"c", "f"}));
  EXPECT_TRUE(shard_of(list, Shard{8, 8}).empty());  // more slices than items: the last ones are empty
}

}  // namespace
}  // namespace darcalim
