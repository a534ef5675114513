#include "stats/periodic_autocorrelation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <stdexcept>

#include "tests/support/flow_fixtures.h"
#include "stats/weekly_moments.h"

namespace darcalim {
namespace {

constexpr int kNSEM = 52;

using testing::alternating_flows;

SeriesTable pseudo_random_flows() {
  std::mt19937 engine(20240607u);
  SeriesTable X;
  for (int y = 1; y <= kMaxYears; ++y) {
    for (int t = 1; t <= kNSEM; ++t) X(y, t) = 50.0 + 30.0 * (static_cast<double>(engine()) / 4294967296.0) + 0.5 * t;
  }
  return X;
}

WeekGrouping every_week() {
  WeekGrouping g;
  g.NPER = kNSEM;
  for (int t = 1; t <= kNSEM + 1; ++t) g.INIPER(t) = t;
  for (int t = 1; t <= kNSEM; ++t) g.ORDSEM(t) = t;
  return g;
}

// Two half-years of a hydrological year starting at week 40: weeks 40..52
// and 1..13 form the first period, 14..39 the second.
WeekGrouping half_years_from_week_40() {
  WeekGrouping g;
  g.NPER = 2;
  g.INIPER(1) = 1;
  g.INIPER(2) = 27;
  g.INIPER(3) = kNSEM + 1;
  for (int i = 1; i <= kNSEM; ++i) g.ORDSEM(i) = (39 + i - 1) % kNSEM + 1;
  return g;
}

SeriesStatistics statistics_of(const SeriesTable& X, Window w, const WeekGrouping& grouping, int g) {
  SeriesStatistics s;
  EXPECT_EQ(MOMENT(X, kNSEM, w, s), 0);
  FACORR2(X, kNSEM, w, kLags, grouping, g, s);
  return s;
}

struct PairCase {
  Window window;
  double across_years;  // the value of a lag that reaches into the year before
};

class WeeksGrouping : public ::testing::TestWithParam<PairCase> {};

// A lag reaching into the year before leaves out the first year of the
// window (its year before lies outside), yet the divisor counts all years.
TEST_P(WeeksGrouping, LeavesOutPairsBeforeTheWindowButDividesByEveryYear) {
  const PairCase c = GetParam();
  const SeriesStatistics s = statistics_of(alternating_flows(), c.window, every_week(), kWeeksGrouping);
  for (int t = 1; t <= kNSEM; ++t) {
    for (int k = 1; k <= kLags; ++k) {
      const double expected = t > k ? 1.0 : c.across_years;
      EXPECT_DOUBLE_EQ(s.FACPER(k, t, kWeeksGrouping), expected) << "week " << t << " lag " << k;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Windows, WeeksGrouping,
                         ::testing::Values(PairCase{Window{1, 6}, -5.0 / 6.0}, PairCase{Window{5, 8}, -3.0 / 4.0},
                                           PairCase{Window{11, 30}, -19.0 / 20.0}));

// A lag of a whole year or more would pair a week with one two years back,
// which no caller asks for: it is a fault of the program.
TEST(FACORR2, AsManyLagsAsWeeksIsRefused) {
  constexpr int kShortYear = 10;
  const SeriesTable X = pseudo_random_flows();
  const Window w{1, 20};
  SeriesStatistics s;
  ASSERT_EQ(MOMENT(X, kShortYear, w, s), 0);
  WeekGrouping g;
  g.NPER = 1;
  g.INIPER(1) = 1;
  g.INIPER(2) = kShortYear + 1;
  for (int t = 1; t <= kShortYear; ++t) g.ORDSEM(t) = t;
  EXPECT_THROW(FACORR2(X, kShortYear, w, kShortYear, g, 1, s), std::invalid_argument);
  EXPECT_NO_THROW(FACORR2(X, kShortYear, w, kShortYear - 1, g, 1, s));
}

// Under the grouping by weeks, lag k of week t is the classic correlation
// across the years of the window between week t and the week k before it
// (in the year before when k >= t), divided by NY.
TEST(FACORR2, WeeksGroupingIsTheClassicLagCorrelation) {
  const SeriesTable X = pseudo_random_flows();
  const Window w{21, 40};
  const SeriesStatistics s = statistics_of(X, w, every_week(), kWeeksGrouping);
  auto z = [&](int y, int t) {
    double mean = 0.0;
    for (int i = w.first; i <= w.last; ++i) mean += X(i, t) / w.years();
    double var = 0.0;
    for (int i = w.first; i <= w.last; ++i) var += (X(i, t) - mean) * (X(i, t) - mean) / w.years();
    return (X(y, t) - mean) / std::sqrt(var);
  };
  for (int t : {1, 5, 10, 11, 30, 52}) {
    for (int k : {1, 5, 10}) {
      double sum = 0.0;
      for (int y = w.first; y <= w.last; ++y) {
        if (t > k) {
          sum += z(y, t) * z(y, t - k);
        } else if (y > w.first) {
          sum += z(y, t) * z(y - 1, kNSEM + t - k);
        }
      }
      EXPECT_NEAR(s.FACPER(k, t, kWeeksGrouping), sum / w.years(), 1e-12) << "week " << t << " lag " << k;
    }
  }
}

// A period pools the sums of its weeks: its value is the mean of the values
// its weeks have under the grouping by weeks, and every week of the period
// holds it.
TEST(FACORR2, PeriodIsTheMeanOfItsWeeks) {
  const SeriesTable X = pseudo_random_flows();
  const Window w{1, 41};
  const SeriesStatistics weeks = statistics_of(X, w, every_week(), kWeeksGrouping);
  const WeekGrouping halves = half_years_from_week_40();
  const SeriesStatistics s = statistics_of(X, w, halves, kHalfYears);
  for (int p = 1; p <= 2; ++p) {
    for (int k = 1; k <= kLags; ++k) {
      double mean = 0.0;
      for (int j = halves.INIPER(p); j < halves.INIPER(p + 1); ++j) {
        mean += weeks.FACPER(k, halves.ORDSEM(j), kWeeksGrouping);
      }
      mean /= halves.weeks_in_period(p);
      for (int j = halves.INIPER(p); j < halves.INIPER(p + 1); ++j) {
        EXPECT_NEAR(s.FACPER(k, halves.ORDSEM(j), kHalfYears), mean, 1e-13) << "period " << p << " lag " << k;
      }
    }
  }
  // Weeks 52 and 1 share the first period, week 14 starts the second.
  EXPECT_EQ(s.FACPER(3, 52, kHalfYears), s.FACPER(3, 1, kHalfYears));
  EXPECT_NE(s.FACPER(3, 13, kHalfYears), s.FACPER(3, 14, kHalfYears));
}

}  // namespace
}  // namespace darcalim
