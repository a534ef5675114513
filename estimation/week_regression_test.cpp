#include "estimation/week_regression.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <ostream>
#include <string>

#include "tests/support/known_models.h"
#include "tests/support/trend_tables.h"

namespace darcalim {
namespace {

constexpr int kNsem = testing::TrendTables::kWeeks;

using Tables = testing::TrendTables;

struct YearCase {
  std::string name;
  Window window;
  int t;
  int p;
  int first;
};

void PrintTo(const YearCase& c, std::ostream* os) { *os << c.name; }

class FirstFittedYear : public ::testing::TestWithParam<YearCase> {};

TEST_P(FirstFittedYear, LeavesOutYearOneOnlyWhenItsLagsPrecedeTheHistory) {
  const YearCase& c = GetParam();
  EXPECT_EQ(first_fitted_year(c.window, c.t, c.p), c.first);
}

INSTANTIATE_TEST_SUITE_P(Rules, FirstFittedYear,
                         ::testing::Values(YearCase{"week1_from_year1", Window{1, 20}, 1, 1, 2},
                                         YearCase{"lag_reaches_back", Window{1, 20}, 3, 3, 2},
                                         YearCase{"lags_in_the_year", Window{1, 20}, 4, 3, 1},
                                         YearCase{"later_window", Window{21, 40}, 1, 4, 21}),
                         [](const ::testing::TestParamInfo<YearCase>& case_info) { return case_info.param.name; });

TEST(Anchors, MonthStartsFreezeTheRegressorsOfEveryLaterWeekOfTheMonth) {
  const WeekGroupings g = testing_support::calendar_groupings();
  const AnchorWeeks anchors = month_start_anchors(kNsem, g);
  EXPECT_EQ(anchors(1), 1);
  EXPECT_EQ(anchors(2), 1);   // January: weeks 1-5
  EXPECT_EQ(anchors(5), 1);
  EXPECT_EQ(anchors(6), 6);   // February: weeks 6-9
  EXPECT_EQ(anchors(9), 6);
  EXPECT_EQ(anchors(52), 49);  // December: weeks 49-52
  EXPECT_EQ(one_step_anchors(kNsem)(17), 17);
}

TEST(ResidualSeries, HoldsTheWeekBeforeTheYearAtWeekZero) {
  ResidualSeries a(kNsem, Window{21, 40});
  a(21, 0) = 1.5;
  a(40, kNsem) = -2.0;
  EXPECT_EQ(a(21, 0), 1.5);
  EXPECT_EQ(a(40, kNsem), -2.0);
  EXPECT_EQ(a(30, 7), 0.0);
  EXPECT_THROW(a(20, 1), std::out_of_range);
}

// z(y, 10) = 0.5 z(y, 5) - 0.2 z(y, 4) + 0.25 a(y, 5) exactly, regressed with
// the anchor at week 6 (lags 5 and 4, residual of week 5).
TEST(RegressWeek, FitsTheAnchorLagsAndTheResidual) {
  Tables tab;
  testing_support::identity_standardisation(*tab.stats, kNsem);
  const Window window{1, 30};
  ResidualSeries a(kNsem, window);
  SeriesTable& x = *tab.series;
  for (int y = 1; y <= 30; ++y) {
    x(y, 4) = std::sin(1.1 * y);
    x(y, 5) = std::cos(0.7 * y);
    a(y, 5) = std::sin(2.3 * y + 1.0);
    x(y, 10) = 0.5 * x(y, 5) - 0.2 * x(y, 4) + 0.25 * a(y, 5);
  }
  const StandardisedSeries z(kNsem, window, x, *tab.stats);
  const RegressionResult fit = regress_week(z, 10, 6, 2, &a);
  ASSERT_EQ(fit.code, 0);
  EXPECT_NEAR(fit.B(1), 0.5, 1e-12);
  EXPECT_NEAR(fit.B(2), -0.2, 1e-12);
  EXPECT_NEAR(fit.B(3), -0.25, 1e-12);
}

}  // namespace
}  // namespace darcalim
