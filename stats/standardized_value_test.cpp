#include "stats/standardized_value.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <stdexcept>

#include "tests/support/trend_tables.h"

namespace darcalim {
namespace {

constexpr int kNsem = testing::TrendTables::kWeeks;

using Tables = testing::TrendTables;

TEST(StandardisedSeries, StandardisesWithTheWeeksOwnMoments) {
  Tables tab;
  const StandardisedSeries z(kNsem, Window{21, 40}, *tab.series, *tab.stats);
  EXPECT_EQ(z.z(30, 9), ((*tab.series)(30, 9) - 109.0) / std::sqrt(36.0));
  EXPECT_EQ(z.z(30, 9), -20.0 / 6.0);
  // The year before the window is there, for the lags of its first year.
  EXPECT_EQ(z.z(20, 52), (-30.0) / std::sqrt(208.0));
}

TEST(StandardisedSeries, LagsCrossIntoThePreviousYearAndAreZeroBeforeTheHistory) {
  Tables tab;
  const StandardisedSeries z(kNsem, Window{1, 20}, *tab.series, *tab.stats);
  EXPECT_EQ(z.lagged(5, 10, 3), z.z(5, 7));
  EXPECT_EQ(z.lagged(5, 2, 3), z.z(4, 51));
  EXPECT_EQ(z.lagged(1, 2, 3), 0.0);
  EXPECT_EQ(z.z(0, 5), 0.0);
}

TEST(StandardisedSeries, OutsideTheWindowAndTheYearBeforeItIsAFault) {
  Tables tab;
  const StandardisedSeries z(kNsem, Window{21, 40}, *tab.series, *tab.stats);
  EXPECT_THROW(z.z(19, 1), std::out_of_range);
  EXPECT_THROW(z.z(41, 1), std::out_of_range);
  EXPECT_THROW(z.z(30, kNsem + 1), std::out_of_range);
}

TEST(StandardisedSeries, AWindowYearReadsWhatTheCheckedAccessReads) {
  Tables tab;
  for (const Window window : {Window{1, 20}, Window{21, 40}}) {
    const StandardisedSeries z(kNsem, window, *tab.series, *tab.stats);
    for (int y = window.first; y <= window.last; ++y) {
      const StandardisedSeries::WindowYear values = z.window_year(y);
      for (int t = 1; t <= kNsem; ++t) {
        ASSERT_EQ(values.z(t), z.z(y, t)) << y << " " << t;
        for (int j = 1; j <= 4; ++j) ASSERT_EQ(values.lagged(t, j), z.lagged(y, t, j)) << y << " " << t << " " << j;
      }
    }
    EXPECT_THROW(z.window_year(window.first - 1), std::out_of_range);
    EXPECT_THROW(z.window_year(window.last + 1), std::out_of_range);
  }
}

}  // namespace
}  // namespace darcalim
