#include "stats/boxcox_search.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/support/flow_fixtures.h"

namespace darcalim {
namespace {

using testing::flows_symmetric_under;
using testing::set_week;

constexpr int kYears = 40;
constexpr int kWeek = 3;

SeriesTable week_of(const std::vector<double>& flows) {
  SeriesTable X;
  set_week(X, kWeek, flows);
  return X;
}

// The skewness of a sample written out: g = [n M3 / ((n-1)(n-2))] / s^3.
TEST(BoxCoxSkewness, IsTheAdjustedSkewnessOfTheTransformedWeek) {
  const std::vector<double> flows = {3.0, 1.0, 4.0, 1.0, 5.0, 9.0, 2.0, 6.0};
  const SeriesTable X = week_of(flows);
  for (const double lambda : {-1.0, 0.0, 0.5, 2.0}) {
    std::vector<double> T;
    for (double x : flows) T.push_back(lambda == 0.0 ? std::log(x) : (std::pow(x, lambda) - 1.0) / lambda);
    const double n = static_cast<double>(T.size());
    double m = 0.0;
    for (double v : T) m += v / n;
    double s2 = 0.0;
    double m3 = 0.0;
    for (double v : T) {
      s2 += (v - m) * (v - m) / n;
      m3 += std::pow(v - m, 3);
    }
    const double g = n * m3 / ((n - 1) * (n - 2)) / std::pow(s2, 1.5);
    EXPECT_NEAR(boxcox_skewness(X, kWeek, static_cast<int>(flows.size()), lambda), g, 1e-12) << lambda;
  }
}

struct KnownExponent {
  double lambda;
  double centre;
  double spread;
  int lowerings;  // new starts of pass 1 before its first trial is negative
};

void PrintTo(const KnownExponent& c, std::ostream* os) { *os << "exponent " << c.lambda; }

class KnownAnswer : public ::testing::TestWithParam<KnownExponent> {};

// A week whose flows are symmetric once transformed with L gets L: the
// search ends with a skewness within 0.00003 of zero. For L = 0 the week
// is a lognormal sample.
TEST_P(KnownAnswer, FindsTheExponentThatMakesTheWeekSymmetric) {
  const KnownExponent c = GetParam();
  const BoxCoxWeekSearch s =
      search_boxcox_week(week_of(flows_symmetric_under(c.lambda, c.centre, c.spread, kYears)), kWeek, kYears);
  ASSERT_TRUE(s.searched);
  EXPECT_TRUE(s.start_found);
  EXPECT_NEAR(s.LAMBDA, c.lambda, 2e-4);
  EXPECT_LT(std::fabs(s.skewness), 3e-5);

  // Pass 1 is started anew (with the counter 1) for every lowering, with a
  // single non-negative trial; then it climbs from its start by 0.1.
  ASSERT_GE(s.approximations.size(), static_cast<std::size_t>(c.lowerings + 1));
  for (int i = 0; i <= c.lowerings; ++i) {
    const BoxCoxApproximation& a = s.approximations[static_cast<std::size_t>(i)];
    EXPECT_EQ(a.P, 1);
    EXPECT_NEAR(a.trials.front().LAMBDA, -2.0 - 0.1 * i, 1e-12);
    if (i < c.lowerings) {
      ASSERT_EQ(a.trials.size(), 1u);
      EXPECT_GE(a.trials.front().skewness, 0.0);
    }
  }
  const BoxCoxApproximation& pass1 = s.approximations[static_cast<std::size_t>(c.lowerings)];
  EXPECT_LT(pass1.trials.front().skewness, 0.0);
  for (std::size_t k = 1; k < pass1.trials.size(); ++k) {
    EXPECT_NEAR(pass1.trials[k].LAMBDA - pass1.trials[k - 1].LAMBDA, 0.1, 1e-12);
  }
  EXPECT_GE(pass1.trials.back().skewness, 0.0) << "pass 1 ends past the sign change";

  // Later passes: counters 2, 3, ..., at most 9 trials, each a tenth of the
  // step before (4-byte 0.1).
  double step = 0.1;
  for (std::size_t i = static_cast<std::size_t>(c.lowerings) + 1; i < s.approximations.size(); ++i) {
    const BoxCoxApproximation& a = s.approximations[i];
    step *= static_cast<double>(0.1f);
    EXPECT_EQ(a.P, static_cast<int>(i) - c.lowerings + 1);
    EXPECT_GE(a.trials.size(), 1u);
    EXPECT_LE(a.trials.size(), 9u);
    for (std::size_t k = 1; k < a.trials.size(); ++k) {
      EXPECT_NEAR(a.trials[k].LAMBDA - a.trials[k - 1].LAMBDA, step, 1e-12);
    }
  }
  EXPECT_LE(s.approximations.size(), static_cast<std::size_t>(c.lowerings + 11));
}

INSTANTIATE_TEST_SUITE_P(Weeks, KnownAnswer,
                         ::testing::Values(KnownExponent{0.0, 4.0, 0.8, 0}, KnownExponent{-2.25, 0.2, 0.1, 3},
                                           KnownExponent{-0.5, 1.0, 0.5, 0}, KnownExponent{0.37, 12.0, 4.0, 0},
                                           KnownExponent{2.0, 10.0, 3.0, 0}));

// One flow far below the others: the week stays skewed to the left up to
// the exponent 5.0. Pass 1 takes its 71 trials, every later pass climbs
// further, and the week ends with an exponent above 4.0 after 11 passes.
TEST(SearchBoxCoxWeek, NoSignChangeUpToFiveEndsAboveFour) {
  std::vector<double> flows(kYears);
  for (int i = 0; i < kYears; ++i) flows[static_cast<std::size_t>(i)] = i == 0 ? 1.0 : 100.0 + 0.05 * i;
  const BoxCoxWeekSearch s = search_boxcox_week(week_of(flows), kWeek, kYears);
  ASSERT_EQ(s.approximations.size(), 11u);
  ASSERT_EQ(s.approximations[0].trials.size(), 71u);
  EXPECT_NEAR(s.approximations[0].trials.back().LAMBDA, 5.0, 1e-12);
  for (const BoxCoxApproximation& a : s.approximations) {
    for (const BoxCoxTrial& t : a.trials) EXPECT_LT(t.skewness, 0.0);
  }
  EXPECT_EQ(s.approximations[1].trials.size(), 9u);
  EXPECT_GT(s.LAMBDA, 5.09);
  EXPECT_EQ(s.LAMBDA, s.approximations.back().trials.back().LAMBDA);
  EXPECT_TRUE(s.start_found);
}

// One flow far above a narrow bulk: skewed to the right at every exponent.
// The start of pass 1 is lowered 100 times; the week then ends with the
// 101st first trial, marked as not started.
TEST(SearchBoxCoxWeek, StartNeverNegativeEndsAfterOneHundredLowerings) {
  std::vector<double> flows(kYears);
  for (int i = 0; i < kYears; ++i) flows[static_cast<std::size_t>(i)] = i == 0 ? 1000.0 : 1.0 + 0.0001 * i;
  const BoxCoxWeekSearch s = search_boxcox_week(week_of(flows), kWeek, kYears);
  ASSERT_EQ(s.approximations.size(), 101u);
  for (const BoxCoxApproximation& a : s.approximations) {
    EXPECT_EQ(a.P, 1);
    ASSERT_EQ(a.trials.size(), 1u);
    EXPECT_GE(a.trials.front().skewness, 0.0);
  }
  EXPECT_FALSE(s.start_found);
  EXPECT_NEAR(s.LAMBDA, -12.0, 1e-9);
  EXPECT_EQ(s.LAMBDA, s.approximations.back().trials.front().LAMBDA);
  EXPECT_EQ(s.skewness, s.approximations.back().trials.front().skewness);
}

TEST(SearchBoxCoxWeek, WeekOfEqualFlowsIsNotSearched) {
  const BoxCoxWeekSearch s = search_boxcox_week(week_of(std::vector<double>(kYears, 321.0)), kWeek, kYears);
  EXPECT_FALSE(s.searched);
  EXPECT_TRUE(s.approximations.empty());
  EXPECT_EQ(s.LAMBDA, 1.0);
  EXPECT_EQ(s.skewness, 0.0);
}

// Flows near e^460: at the exponent -2.0 every power underflows and the
// transformed values are all 0.5, a trial without spread whose skewness is
// 0/0. A NaN is not a non-negative first trial, so pass 1 is not started
// anew; the search goes on through the degenerate trials without an
// exception.
TEST(SearchBoxCoxWeek, TrialsWithoutSpreadAreNaNAndTheSearchGoesOn) {
  const SeriesTable X = week_of(flows_symmetric_under(0.0, 460.0, 0.8, kYears));
  EXPECT_TRUE(std::isnan(boxcox_skewness(X, kWeek, kYears, -2.0)));
  BoxCoxWeekSearch s;
  ASSERT_NO_THROW(s = search_boxcox_week(X, kWeek, kYears));
  ASSERT_TRUE(s.searched);
  EXPECT_TRUE(s.start_found);
  ASSERT_FALSE(s.approximations.empty());
  EXPECT_EQ(s.approximations[0].P, 1);
  EXPECT_TRUE(std::isnan(s.approximations[0].trials[0].skewness));
  EXPECT_GT(s.approximations[0].trials.size(), 1u);
  EXPECT_LE(s.approximations.size(), 11u);
}

}  // namespace
}  // namespace darcalim
