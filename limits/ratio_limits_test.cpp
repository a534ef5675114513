#include "limits/ratio_limits.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <stdexcept>
#include <vector>

#include "tests/support/ratio_fixtures.h"

namespace darcalim {
namespace {

using testing_support::groupings52;
using testing_support::kNSEM;

double as_key(double r) { return static_cast<double>(static_cast<float>(r)); }

void set_thresholds(RatioSamples& s, int CODPER, int P, std::array<double, kThresholds> L) {
  for (int q = 1; q <= kThresholds; ++q) s.LIMCLASSE(CODPER, P, q) = L[static_cast<std::size_t>(q - 1)];
}

RatioLimits limits_for(const RatioSamples& s, double PA, double PB, int WEEK, int CODPER, int CODCLA,
                       double QANT) {
  RatioLimits limits;
  DETLIMITE(s, groupings52(), PA, PB, WEEK, CODPER, CODCLA, QANT, kNSEM, limits);
  return limits;
}

struct PercentileCase {
  double PA;
  double PB;
  int rank_inf;  // ascending ranks of the ratios taken
  int rank_sup;
};

class PercentilesOfTwentyRatios : public ::testing::TestWithParam<PercentileCase> {};

// Twenty ratios 0.55, 0.60, ..., 1.50 in shuffled order: position i has
// i * 5 %, and the first position at or above the percentile is taken.
TEST_P(PercentilesOfTwentyRatios, TakeTheFirstPositionReachingThePercentile) {
  const PercentileCase c = GetParam();
  auto ratio = [](int rank) { return 0.5 + 0.05 * rank; };
  std::vector<double> sample;
  for (int rank = 1; rank <= 20; ++rank) sample.push_back(ratio(rank));
  std::shuffle(sample.begin(), sample.end(), std::mt19937(9));
  auto s = std::make_unique<RatioSamples>();
  s->RAZOES(3, 2, kTotal) = sample;  // week 20 lies in quarter 2
  const RatioLimits limits = limits_for(*s, c.PA, c.PB, 20, 3, 1, 123.0);
  EXPECT_EQ(limits.RAZINF, as_key(ratio(c.rank_inf)));
  EXPECT_EQ(limits.RAZSUP, as_key(ratio(c.rank_sup)));
  EXPECT_EQ(limits.CLASSLIM[0], 0.0);
  EXPECT_EQ(limits.CLASSLIM[1], 0.0);
}

INSTANTIATE_TEST_SUITE_P(Pairs, PercentilesOfTwentyRatios,
                         ::testing::Values(PercentileCase{10.0, 90.0, 2, 18},  // exactly 10 % and 90 %
                                           PercentileCase{10.0001, 89.9999, 3, 18},
                                           PercentileCase{0.0, 100.0, 1, 20},
                                           PercentileCase{-5.0, 100.0, 1, 20}, PercentileCase{4.9, 5.1, 1, 2},
                                           PercentileCase{50.0, 50.0, 10, 10}));

struct SingleRatioCase {
  int CODPER;
  int WEEK;
  int period;  // the period of the grouping that holds WEEK
  bool doubled;
};

class SingleRatio : public ::testing::TestWithParam<SingleRatioCase> {};

// One ratio r in the target week's period: weeks and months make it the keys
// r, 1.01 r; quarters and half-years take r for both limits.
TEST_P(SingleRatio, IsDoubledForWeeksAndMonthsOnly) {
  const SingleRatioCase c = GetParam();
  auto s = std::make_unique<RatioSamples>();
  s->RAZOES(c.CODPER, c.period, kTotal) = {1.3};
  const RatioLimits limits = limits_for(*s, 10.0, 90.0, c.WEEK, c.CODPER, 1, 50.0);
  EXPECT_EQ(limits.RAZINF, as_key(1.3));
  EXPECT_EQ(limits.RAZSUP, c.doubled ? static_cast<double>(1.3f * 1.01f) : as_key(1.3));
}

INSTANTIATE_TEST_SUITE_P(Codes, SingleRatio,
                         ::testing::Values(SingleRatioCase{1, 20, 20, true}, SingleRatioCase{2, 20, 5, true},
                                           SingleRatioCase{2, 17, 4, true}, SingleRatioCase{2, 18, 5, true},
                                           SingleRatioCase{3, 20, 2, false}, SingleRatioCase{3, 52, 4, false},
                                           SingleRatioCase{4, 26, 1, false},
                                           SingleRatioCase{4, 27, 2, false}));

struct ClassCase {
  int CODCLA;
  double QANT;
  RatioClass expected;
  double lower;
  double upper;
};

class ClassOfQant : public ::testing::TestWithParam<ClassCase> {};

// Thresholds 10, 20, 30, 40, 50 (25..75 %); every class sample holds one
// ratio equal to its class number, so RAZINF names the sample used.
TEST_P(ClassOfQant, PicksTheSampleAndBoundsOfItsClass) {
  const ClassCase c = GetParam();
  auto s = std::make_unique<RatioSamples>();
  set_thresholds(*s, 3, 2, {10, 20, 30, 40, 50});
  for (int cls = kTotal; cls <= kQuartile4; ++cls)
    s->RAZOES(3, 2, static_cast<RatioClass>(cls)) = {static_cast<double>(cls)};
  const RatioLimits limits = limits_for(*s, 50.0, 50.0, 20, 3, c.CODCLA, c.QANT);
  EXPECT_EQ(limits.RAZINF, static_cast<double>(c.expected));
  EXPECT_EQ(limits.RAZSUP, static_cast<double>(c.expected));
  EXPECT_EQ(limits.CLASSLIM[0], c.lower);
  EXPECT_EQ(limits.CLASSLIM[1], c.upper);
}

INSTANTIATE_TEST_SUITE_P(
    Classifications, ClassOfQant,
    ::testing::Values(ClassCase{1, 999.0, kTotal, 0, 0}, ClassCase{2, 30.0, kMedianLower, 0, 30},
                      ClassCase{2, 30.001, kMedianUpper, 30, 1e5}, ClassCase{3, 20.0, kTercile1, 0, 20},
                      ClassCase{3, 20.5, kTercile2, 20, 40}, ClassCase{3, 40.0, kTercile2, 20, 40},
                      ClassCase{3, 40.5, kTercile3, 40, 1e5}, ClassCase{4, 0.0, kQuartile1, 0, 10},
                      ClassCase{4, 10.0, kQuartile1, 0, 10}, ClassCase{4, 10.5, kQuartile2, 10, 30},
                      ClassCase{4, 30.0, kQuartile2, 10, 30}, ClassCase{4, 31.0, kQuartile3, 30, 50},
                      ClassCase{4, 50.0, kQuartile3, 30, 50}, ClassCase{4, 51.0, kQuartile4, 50, 1e5}));

class WeeklyThresholds : public ::testing::TestWithParam<std::pair<int, int>> {};

// A weekly target is classed by the thresholds of the week before it (week
// NSEM for week 1): QANT 35 is above that week's median 30, but below the
// median 3000 of the target week itself.
TEST_P(WeeklyThresholds, AreThoseOfTheWeekBefore) {
  const auto [WEEK, P] = GetParam();
  auto s = std::make_unique<RatioSamples>();
  set_thresholds(*s, 1, P, {10, 20, 30, 40, 50});
  set_thresholds(*s, 1, WEEK, {1000, 2000, 3000, 4000, 5000});
  s->RAZOES(1, WEEK, kMedianLower) = {0.8, 0.9};
  s->RAZOES(1, WEEK, kMedianUpper) = {1.1, 1.2};
  const RatioLimits limits = limits_for(*s, 0.0, 100.0, WEEK, 1, 2, 35.0);
  EXPECT_EQ(limits.RAZINF, as_key(1.1));
  EXPECT_EQ(limits.RAZSUP, as_key(1.2));
  EXPECT_EQ(limits.CLASSLIM[0], 30.0);
  EXPECT_EQ(limits.CLASSLIM[1], kTopClassBound);
}

INSTANTIATE_TEST_SUITE_P(Weeks, WeeklyThresholds, ::testing::Values(std::pair{1, kNSEM}, std::pair{5, 4}));

struct UntouchedCase {
  const char* what;
  int CODPER;
  int CODCLA;
  int WEEK;
  double PA;
  double PB;
};

class Untouched : public ::testing::TestWithParam<UntouchedCase> {};

// Quarter 2 holds ratios in its total and median-lower samples only.
TEST_P(Untouched, LimitsKeepTheirValues) {
  const UntouchedCase c = GetParam();
  auto s = std::make_unique<RatioSamples>();
  set_thresholds(*s, 3, 2, {10, 20, 30, 40, 50});
  s->RAZOES(3, 2, kTotal) = {0.9, 1.0, 1.1};
  s->RAZOES(3, 2, kMedianLower) = {0.9, 1.0};
  RatioLimits limits{-1.0, -2.0, {-3.0, -4.0}};
  DETLIMITE(*s, groupings52(), c.PA, c.PB, c.WEEK, c.CODPER, c.CODCLA, 45.0, kNSEM, limits);
  EXPECT_EQ(limits.RAZINF, -1.0) << c.what;
  EXPECT_EQ(limits.RAZSUP, -2.0) << c.what;
  EXPECT_EQ(limits.CLASSLIM[0], -3.0) << c.what;
  EXPECT_EQ(limits.CLASSLIM[1], -4.0) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Cases, Untouched,
                         ::testing::Values(UntouchedCase{"period code 0", 0, 1, 20, 10, 90},
                                           UntouchedCase{"period code 5", 5, 1, 20, 10, 90},
                                           UntouchedCase{"class code 0", 3, 0, 20, 10, 90},
                                           UntouchedCase{"class code 5", 3, 5, 20, 10, 90},
                                           UntouchedCase{"empty upper-median sample", 3, 2, 20, 10, 90},
                                           UntouchedCase{"lower percentile above 100", 3, 1, 20, 100.5, 100},
                                           UntouchedCase{"upper percentile above 100", 3, 1, 20, 10, 101},
                                           UntouchedCase{"week 0", 3, 1, 0, 10, 90},
                                           UntouchedCase{"week after NSEM", 3, 1, kNSEM + 1, 10, 90}));

// The same call with a usable sample does fill the limits.
TEST(DETLIMITE, FillsTheLimitsFromAUsableSample) {
  auto s = std::make_unique<RatioSamples>();
  set_thresholds(*s, 3, 2, {10, 20, 30, 40, 50});
  s->RAZOES(3, 2, kMedianLower) = {1.0, 0.9};
  RatioLimits limits{-1.0, -2.0, {-3.0, -4.0}};
  DETLIMITE(*s, groupings52(), 10, 90, 20, 3, 2, 25.0, kNSEM, limits);
  EXPECT_EQ(limits.RAZINF, as_key(0.9));
  EXPECT_EQ(limits.RAZSUP, 1.0);
  EXPECT_EQ(limits.CLASSLIM[0], 0.0);
  EXPECT_EQ(limits.CLASSLIM[1], 30.0);
}

// The keys are sorted at a sample's first lookup and kept with it: a sample
// changed by hand afterwards is refused rather than read with stale keys, and
// one too long for the sort is refused outright.
TEST(DETLIMITE, RefusesSamplesChangedAfterTheirKeysWereSorted) {
  auto s = std::make_unique<RatioSamples>();
  s->RAZOES(3, 2, kTotal) = {1.0, 0.9};
  RatioLimits limits;
  DETLIMITE(*s, groupings52(), 10, 90, 20, 3, 1, 25.0, kNSEM, limits);
  EXPECT_EQ(limits.RAZSUP, 1.0);
  s->RAZOES(3, 2, kTotal).push_back(1.1);
  EXPECT_THROW(DETLIMITE(*s, groupings52(), 10, 90, 20, 3, 1, 25.0, kNSEM, limits), std::logic_error);
  s->RAZOES(3, 2, kTotal).assign(kMaxRatioKeys + 1, 1.0);
  EXPECT_THROW(DETLIMITE(*s, groupings52(), 10, 90, 20, 3, 1, 25.0, kNSEM, limits), std::length_error);
}

}  // namespace
}  // namespace darcalim
