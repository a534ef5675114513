#include "stats/annual_autocorrelation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <stdexcept>
#include <vector>

#include "tests/support/flow_fixtures.h"
#include "stats/weekly_moments.h"

namespace darcalim {
namespace {

constexpr int kNSEM = 52;

using testing::alternating_flows;

SeriesStatistics statistics_of(const SeriesTable& X, Window w) {
  SeriesStatistics s;
  EXPECT_EQ(MOMENT(X, kNSEM, w, s), 0);
  FACOA(X, kNSEM, w, kLags, s);
  return s;
}

TEST(FACOA, AsManyLagsAsWeeksIsRefused) {
  constexpr int kShortYear = 10;
  const SeriesTable X = alternating_flows();
  const Window w{1, 20};
  SeriesStatistics s;
  ASSERT_EQ(MOMENT(X, kShortYear, w, s), 0);
  EXPECT_THROW(FACOA(X, kShortYear, w, kShortYear, s), std::invalid_argument);
  EXPECT_NO_THROW(FACOA(X, kShortYear, w, kShortYear - 1, s));
}

// Of the NSEM values of a year, NSEM - k pair within the year (product 1)
// and k with the year before (product -1). In year 1 of the history those k
// pairs count as 0; a window starting later takes them from the year before
// it, unlike the periodic function.
TEST(FACOA, PairsWithTheYearBeforeTheWindowExceptInYearOne) {
  struct Case {
    Window window;
    int years_with_year_before;
  };
  for (const Case& c : {Case{Window{1, 6}, 5}, Case{Window{7, 12}, 6}, Case{Window{2, 3}, 2}}) {
    const SeriesStatistics s = statistics_of(alternating_flows(), c.window);
    const int NY = c.window.years();
    for (int k = 1; k <= kLags; ++k) {
      const double sum = NY * (kNSEM - k) - k * c.years_with_year_before;
      EXPECT_EQ(s.FACANU(k), sum / (kNSEM * NY)) << "window " << c.window.first << " lag " << k;
    }
  }
}

// The whole window as one sequence of weeks, preceded by the last weeks of
// the year before (zeros before year 1): the lag-k sum of products over N.
TEST(FACOA, IsTheLagCorrelationOfTheWeeksInSequence) {
  std::mt19937 engine(7u);
  SeriesTable X;
  for (int y = 1; y <= kMaxYears; ++y) {
    for (int t = 1; t <= kNSEM; ++t) X(y, t) = 20.0 + 10.0 * (static_cast<double>(engine()) / 4294967296.0) + std::sin(t / 8.0);
  }
  for (const Window w : {Window{1, 20}, Window{21, 41}}) {
    const SeriesStatistics s = statistics_of(X, w);
    std::vector<double> sequence;
    const int from_year = w.first == 1 ? 1 : w.first - 1;
    if (w.first == 1) sequence.assign(kNSEM, 0.0);
    for (int y = from_year; y <= w.last; ++y) {
      for (int t = 1; t <= kNSEM; ++t) {
        sequence.push_back((X(y, t) - s.MEDSEM(t)) / std::sqrt(s.VARSEM(t)));
      }
    }
    const std::size_t start = kNSEM;  // first week of the window
    const double N = kNSEM * w.years();
    for (int k = 1; k <= kLags; ++k) {
      double sum = 0.0;
      for (std::size_t i = start; i < sequence.size(); ++i) sum += sequence[i] * sequence[i - static_cast<std::size_t>(k)];
      EXPECT_NEAR(s.FACANU(k), sum / N, 1e-13) << "window " << w.first << " lag " << k;
    }
  }
}

}  // namespace
}  // namespace darcalim
