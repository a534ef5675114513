// Week groupings and flow tables shared by the tests of the limits.
#pragma once

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

#include "common/series_table.h"
#include "common/week_groupings.h"

namespace darcalim::testing_support {

inline constexpr int kNSEM = 52;

// Groupings of a 52-week year: half-years of 26 weeks, quarters of 13,
// months of 4, 4, 5 weeks in turn (month 4 = weeks 14..17, month 5 =
// weeks 18..21), every week its own period.
inline WeekGroupings groupings52() {
  WeekGroupings GRUPO;
  auto set = [&](int index, const std::vector<int>& lengths) {
    WeekGrouping& g = GRUPO(index);
    g.NPER = static_cast<int>(lengths.size());
    g.INIPER(1) = 1;
    for (int k = 1; k <= g.NPER; ++k)
      g.INIPER(k + 1) = g.INIPER(k) + lengths[static_cast<std::size_t>(k - 1)];
    for (int w = 1; w <= kNSEM; ++w) g.ORDSEM(w) = w;
  };
  set(kHalfYears, {26, 26});
  set(kQuarters, {13, 13, 13, 13});
  set(kMonthsGrouping, {4, 4, 5, 4, 4, 5, 4, 4, 5, 4, 4, 5});
  set(kWeeksGrouping, std::vector<int>(kNSEM, 1));
  return GRUPO;
}

// Every cell of the table holds a different flow, 3 + 0.5 i for i =
// 1..5300, spread over the table in a fixed random order.
inline SeriesTable distinct_flows(unsigned seed) {
  std::vector<int> order(static_cast<std::size_t>(kMaxYears * kMaxWeeks));
  std::iota(order.begin(), order.end(), 1);
  std::shuffle(order.begin(), order.end(), std::mt19937(seed));
  SeriesTable V;
  std::size_t i = 0;
  for (int y = 1; y <= kMaxYears; ++y) {
    for (int w = 1; w <= kMaxWeeks; ++w) V(y, w) = 3.0 + 0.5 * order[i++];
  }
  return V;
}

}  // namespace darcalim::testing_support
