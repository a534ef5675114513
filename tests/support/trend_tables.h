// A series with a trend and the moments of its weeks, built from a known
// answer, for the tests of the standardised series and of the regressions
// on it: week t (of 52) has mean 100 + t and variance 4t, and
// X(y, t) = 100 + t + y - 50.
#pragma once

#include <memory>

#include "common/series_statistics.h"
#include "common/series_table.h"

namespace darcalim::testing {

struct TrendTables {
  static constexpr int kWeeks = 52;
  std::unique_ptr<SeriesStatistics> stats = std::make_unique<SeriesStatistics>();
  std::unique_ptr<SeriesTable> series = std::make_unique<SeriesTable>();

  TrendTables() {
    for (int t = 1; t <= kWeeks; ++t) {
      stats->MEDSEM(t) = 100.0 + t;
      stats->VARSEM(t) = 4.0 * t;
      for (int y = 1; y <= kMaxYears; ++y) (*series)(y, t) = 100.0 + t + y - 50.0;
    }
  }
};

}  // namespace darcalim::testing
