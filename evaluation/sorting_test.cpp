#include "evaluation/sorting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

namespace darcalim {
namespace {

struct Ranking {
  std::vector<int> rank;
  std::vector<int> order;
};

Ranking rank_of(const std::vector<double>& x) {
  Ranking r{std::vector<int>(x.size(), 1), std::vector<int>(x.size(), 1)};
  ORDENA(static_cast<int>(x.size()), x, r.rank, r.order);
  return r;
}

TEST(ORDENA, EqualValuesRankByIndex) {
  const Ranking r = rank_of({3, 1, 3, 2});
  EXPECT_EQ(r.rank, (std::vector<int>{3, 1, 4, 2}));
  EXPECT_EQ(r.order, (std::vector<int>{2, 4, 1, 3}));
  const Ranking equal = rank_of({7, 7, 7, 7, 7});
  EXPECT_EQ(equal.rank, (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_EQ(equal.order, (std::vector<int>{1, 2, 3, 4, 5}));
}

TEST(ORDENA, OneAndNoValue) {
  const Ranking one = rank_of({42.0});
  EXPECT_EQ(one.rank, std::vector<int>{1});
  EXPECT_EQ(one.order, std::vector<int>{1});
  std::vector<double> none;
  std::vector<int> rank, order;
  ORDENA(0, none, rank, order);
}

TEST(ORDENA, RanksRandomValuesStably) {
  std::mt19937 gen(7);
  std::uniform_int_distribution<int> value(0, 20);
  for (int trial = 0; trial < 50; ++trial) {
    std::vector<double> x(static_cast<std::size_t>(1 + trial % 30));
    for (double& v : x) v = value(gen);
    const Ranking r = rank_of(x);
    for (std::size_t k = 1; k < x.size(); ++k) {
      const auto a = static_cast<std::size_t>(r.order[k - 1] - 1);
      const auto b = static_cast<std::size_t>(r.order[k] - 1);
      ASSERT_TRUE(x[a] < x[b] || (x[a] == x[b] && a < b));
      ASSERT_EQ(r.rank[b], static_cast<int>(k) + 1);
    }
  }
}

// The ranks by counting, step by step as ORDENA is defined, for any values.
Ranking counted_ranks(const std::vector<double>& x) {
  const int n = static_cast<int>(x.size());
  Ranking r{std::vector<int>(x.size(), 1), std::vector<int>(x.size(), 1)};
  for (int i = n; i >= 2; --i) {
    int k = r.rank[static_cast<std::size_t>(i - 1)];
    for (int j = i - 1; j >= 1; --j) {
      if (x[static_cast<std::size_t>(i - 1)] - x[static_cast<std::size_t>(j - 1)] < 0.0) {
        ++r.rank[static_cast<std::size_t>(j - 1)];
      } else {
        ++k;
      }
    }
    r.rank[static_cast<std::size_t>(i - 1)] = k;
    r.order[static_cast<std::size_t>(k - 1)] = i;
  }
  return r;
}

// ORDENA gives the counted ranks on values full of ties, zeros of both
// signs, infinities and NaN.
TEST(ORDENA, GivesTheCountedRanksOnAnyValues) {
  std::mt19937 gen(29);
  const double specials[] = {0.0,
                             -0.0,
                             std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(),
                             std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::denorm_min(),
                             -std::numeric_limits<double>::denorm_min()};
  for (int trial = 0; trial < 3000; ++trial) {
    std::vector<double> x(static_cast<std::size_t>(1 + gen() % 140));
    const auto distinct = 1 + gen() % 12;
    for (double& v : x) v = static_cast<double>(gen() % distinct) * 0.25 - 1.0;
    for (int k = static_cast<int>(gen() % 4); k > 0 && trial % 2 == 0; --k) {
      x[gen() % x.size()] = specials[gen() % std::size(specials)];
    }
    const Ranking expected = counted_ranks(x);
    const Ranking r = rank_of(x);
    ASSERT_EQ(r.rank, expected.rank) << "trial " << trial;
    ASSERT_EQ(r.order, expected.order) << "trial " << trial;
  }
}

std::vector<std::int16_t> sorted_indices(const std::vector<float>& keys, int* first = nullptr) {
  std::vector<std::int16_t> indx(keys.size());
  const int n = static_cast<int>(keys.size());
  const Esco7Result r = ESCO7(n, keys, indx, 1.0f, n);
  if (first != nullptr) *first = r.FIRST;
  return indx;
}

TEST(ESCO7, SortsAscendingWithItsOwnOrderAmongEqualKeys) {
  int first = 0;
  // The heap sort leaves the two keys 2 as indices 2 then 4.
  EXPECT_EQ(sorted_indices({5, 2, 9, 2}, &first), (std::vector<std::int16_t>{2, 4, 1, 3}));
  EXPECT_EQ(first, 2);
}

TEST(ESCO7, SortsRandomKeysAscending) {
  std::mt19937 gen(11);
  std::uniform_int_distribution<int> value(0, 9);
  for (int trial = 0; trial < 50; ++trial) {
    std::vector<float> keys(static_cast<std::size_t>(2 + trial));
    for (float& k : keys) k = static_cast<float>(value(gen)) * 0.1f;
    int first = 0;
    const std::vector<std::int16_t> indx = sorted_indices(keys, &first);
    EXPECT_EQ(first, indx[0]);
    std::vector<bool> seen(keys.size(), false);
    for (std::size_t k = 0; k < indx.size(); ++k) {
      seen[static_cast<std::size_t>(indx[k] - 1)] = true;
      if (k > 0) {
        ASSERT_LE(keys[static_cast<std::size_t>(indx[k - 1] - 1)], keys[static_cast<std::size_t>(indx[k] - 1)]);
      }
    }
    EXPECT_EQ(std::count(seen.begin(), seen.end(), true), static_cast<long>(keys.size()));
  }
}

TEST(ESCO7, DescendingWithANegativeMultiplier) {
  std::vector<float> keys{1, 3, 2};
  std::vector<std::int16_t> indx(3);
  ESCO7(3, keys, indx, -1.0f, 3);
  EXPECT_EQ(indx, (std::vector<std::int16_t>{2, 3, 1}));
}

TEST(ESCO7, SingleValueAndRejectedCalls) {
  std::vector<float> one{4.0f};
  std::vector<std::int16_t> indx(1);
  EXPECT_EQ(ESCO7(1, one, indx, 1.0f, 1).FIRST, 1);
  EXPECT_EQ(indx[0], 1);
  std::vector<float> two{4.0f, 1.0f};
  std::vector<std::int16_t> indx2(2);
  EXPECT_THROW(ESCO7(2, two, indx2, 1.0f, 1), std::invalid_argument);
  EXPECT_THROW(ESCO7(0, two, indx2, 1.0f, 0), std::invalid_argument);
}

TEST(ESCO7, EarlyStopPlacesTheLargestKeys) {
  std::vector<float> keys{5, 1, 9, 7, 3};
  std::vector<std::int16_t> indx(5);
  const Esco7Result r = ESCO7(5, keys, indx, 1.0f, 2);
  EXPECT_EQ(indx[3], 4);  // 7, the second largest
  EXPECT_EQ(indx[4], 3);  // 9, the largest
  EXPECT_EQ(r.FIRST, 4);
  EXPECT_EQ(r.SECOND, 3);
}

// Reading values through ascending_values gives what reading them through
// the indices of ESCO7 gives, bit for bit, on samples full of ties, with
// zeros of both signs and NaN among them.
TEST(AscendingValues, AreTheValuesReadThroughESCO7) {
  std::mt19937 gen(23);
  const float specials[] = {0.0f, -0.0f, std::numeric_limits<float>::quiet_NaN(),
                            std::numeric_limits<float>::infinity(), -1.5f};
  for (int trial = 0; trial < 2000; ++trial) {
    const auto n = static_cast<std::size_t>(1 + gen() % 120);
    const auto distinct = 1 + gen() % 8;  // few distinct keys: many ties
    std::vector<float> keys(n);
    for (float& k : keys) k = static_cast<float>(gen() % distinct) * 0.37f;
    if (trial % 3 == 0) keys[gen() % n] = specials[gen() % std::size(specials)];
    std::vector<float> through_indices;
    for (const std::int16_t i : sorted_indices(keys)) through_indices.push_back(keys[static_cast<std::size_t>(i - 1)]);
    const std::vector<float> values = ascending_values(keys);
    ASSERT_EQ(values.size(), n);
    for (std::size_t k = 0; k < n; ++k) {
      ASSERT_EQ(std::bit_cast<std::uint32_t>(values[k]), std::bit_cast<std::uint32_t>(through_indices[k]))
          << "trial " << trial << ", position " << k;
    }
  }
  EXPECT_TRUE(ascending_values({}).empty());
}

}  // namespace
}  // namespace darcalim
