#include "limits/ratio_samples.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "tests/support/ratio_fixtures.h"

namespace darcalim {
namespace {

using testing_support::distinct_flows;
using testing_support::groupings52;
using testing_support::kNSEM;

std::unique_ptr<RatioSamples> samples_of(const SeriesTable& V, int FIRST, int LAST) {
  auto out = std::make_unique<RatioSamples>();
  int once = 0;
  VAZSEMPER(V, FIRST, LAST, groupings52(), kNSEM, *out, once);
  EXPECT_EQ(once, 1);
  return out;
}

struct ThresholdCase {
  int CODPER;
  int period;
  int first_week;  // the weeks of the period
  int last_week;
  int FIRST;
  int LAST;
  std::array<int, kThresholds> ranks;  // ascending positions of the 25..75 % thresholds
};

class Thresholds : public ::testing::TestWithParam<ThresholdCase> {};

// Each threshold is the pooled flow of the stated rank times 1.00001, both
// rounded to 4 bytes; ranks below 1 are raised to 1.
TEST_P(Thresholds, TakeThePooledFlowOfTheirRank) {
  const ThresholdCase c = GetParam();
  const SeriesTable V = distinct_flows(5);
  std::vector<float> pooled;
  for (int y = c.FIRST; y <= c.LAST; ++y) {
    for (int w = c.first_week; w <= c.last_week; ++w) pooled.push_back(static_cast<float>(V(y, w)));
  }
  std::sort(pooled.begin(), pooled.end());
  const auto s = samples_of(V, c.FIRST, c.LAST);
  for (int q = 1; q <= kThresholds; ++q) {
    const int rank = c.ranks[static_cast<std::size_t>(q - 1)];
    const float expected = pooled[static_cast<std::size_t>(rank - 1)] * 1.00001f;
    EXPECT_EQ(s->LIMCLASSE(c.CODPER, c.period, q), static_cast<double>(expected)) << "q " << q;
  }
}

INSTANTIATE_TEST_SUITE_P(PooledSizes, Thresholds,
                         ::testing::Values(
                             // 40 flows: 10, 13 (13.2), 20, 26 (26.4), 30.
                             ThresholdCase{2, 4, 14, 17, 11, 20, {10, 13, 20, 26, 30}},
                             // 3 flows: 0.75 and 0.99 truncate to 0 and take the smallest.
                             ThresholdCase{1, 30, 30, 30, 5, 7, {1, 1, 1, 1, 2}},
                             ThresholdCase{3, 2, 14, 26, 1, 1, {3, 4, 6, 8, 9}},
                             ThresholdCase{4, 2, 27, 52, 1, 4, {26, 34, 52, 68, 78}}));

// Week 2 starts from week 1, whose four flows 10, 20, 30, 40 give the
// thresholds 10, 10, 20, 20, 30 (times 1.00001): a starting flow equal to a
// threshold's sorted value lands in the class below it.
TEST(VAZSEMPER, FlowEqualToAThresholdValueIsInTheLowerClass) {
  SeriesTable V = distinct_flows(1);
  for (int y = 1; y <= 4; ++y) {
    V(y, 1) = 10.0 * y;
    V(y, 2) = (y + 1) * V(y, 1);  // ratios 2, 3, 4, 5 from the starts 10, 20, 30, 40
  }
  const auto s = samples_of(V, 1, 4);
  const std::array<double, kThresholds> thresholds = {10, 10, 20, 20, 30};
  for (int q = 1; q <= kThresholds; ++q) {
    EXPECT_EQ(
        s->LIMCLASSE(1, 1, q),
        static_cast<double>(static_cast<float>(thresholds[static_cast<std::size_t>(q - 1)]) * 1.00001f));
  }
  const std::vector<std::pair<RatioClass, std::vector<double>>> expected = {
      {kTotal, {2, 3, 4, 5}}, {kMedianLower, {2, 3}}, {kMedianUpper, {4, 5}}, {kTercile1, {2}},
      {kTercile2, {3}},       {kTercile3, {4, 5}},    {kQuartile1, {2}},      {kQuartile2, {3}},
      {kQuartile3, {4}},      {kQuartile4, {5}},
  };
  for (const auto& [cls, ratios] : expected) EXPECT_EQ(s->RAZOES(1, 2, cls), ratios) << "class " << cls;
}

struct FirstWeekCase {
  int FIRST;
  std::vector<double> total;
  std::vector<double> lower;
  std::vector<double> upper;
};

class FirstWeekOfTheYear : public ::testing::TestWithParam<FirstWeekCase> {};

// Week 1 starts from week 52 of the year before and is classed by week 52's
// thresholds (its flows 100..500 put the median threshold at 200), not by
// week 1's own (1100..1500), under which every start would be lower. Without
// a year before, year 1 starts from its own week 1: ratio 1, and the start
// 1100 is upper.
TEST_P(FirstWeekOfTheYear, StartsFromTheLastWeekOfTheYearBefore) {
  const FirstWeekCase c = GetParam();
  SeriesTable V = distinct_flows(2);
  V(1, kNSEM) = 50.0;
  for (int i = 1; i <= 5; ++i) {
    V(c.FIRST + i - 1, kNSEM) = 100.0 * i;
    V(c.FIRST + i - 1, 1) = 1000.0 + 100.0 * i;
  }
  const auto s = samples_of(V, c.FIRST, c.FIRST + 4);
  EXPECT_EQ(s->RAZOES(1, 1, kTotal), c.total);
  EXPECT_EQ(s->RAZOES(1, 1, kMedianLower), c.lower);
  EXPECT_EQ(s->RAZOES(1, 1, kMedianUpper), c.upper);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, FirstWeekOfTheYear,
    ::testing::Values(
        FirstWeekCase{1, {1.0, 12.0, 6.5, 1400.0 / 300.0, 3.75}, {12.0, 6.5}, {1.0, 1400.0 / 300.0, 3.75}},
        FirstWeekCase{
            2, {22.0, 12.0, 6.5, 1400.0 / 300.0, 3.75}, {22.0, 12.0, 6.5}, {1400.0 / 300.0, 3.75}}));

TEST(VAZSEMPER, FirstPeriodOfYearOneStartsWithRatioOne) {
  const auto s = samples_of(distinct_flows(4), 1, 10);
  for (int code = 1; code <= kPeriodCodes; ++code) {
    ASSERT_FALSE(s->RAZOES(code, 1, kTotal).empty());
    EXPECT_EQ(s->RAZOES(code, 1, kTotal).front(), 1.0) << "code " << code;
  }
}

std::vector<double> sorted(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v;
}

// Every ratio of every week enters the total once and one class of each
// classification once, and a second run over the same flows rebuilds the
// same tables rather than adding to them.
TEST(VAZSEMPER, EveryClassificationSplitsTheTotal) {
  const SeriesTable V = distinct_flows(6);
  const WeekGroupings GRUPO = groupings52();
  const int FIRST = 3;
  const int LAST = 42;
  auto s = samples_of(V, FIRST, LAST);
  const std::vector<std::vector<RatioClass>> classifications = {
      {kMedianLower, kMedianUpper},
      {kTercile1, kTercile2, kTercile3},
      {kQuartile1, kQuartile2, kQuartile3, kQuartile4}};
  for (int code = 1; code <= kPeriodCodes; ++code) {
    const WeekGrouping& g = GRUPO(grouping_of_period_code(code));
    for (int k = 1; k <= g.NPER; ++k) {
      const std::vector<double>& total = s->RAZOES(code, k, kTotal);
      ASSERT_EQ(total.size(), static_cast<std::size_t>((LAST - FIRST + 1) * g.weeks_in_period(k)));
      for (const auto& classes : classifications) {
        std::vector<double> joined;
        for (RatioClass c : classes)
          joined.insert(joined.end(), s->RAZOES(code, k, c).begin(), s->RAZOES(code, k, c).end());
        EXPECT_EQ(sorted(joined), sorted(total))
            << "code " << code << " period " << k << " class " << classes.front();
      }
    }
  }
  auto again = std::make_unique<RatioSamples>(*s);
  int once = 0;
  VAZSEMPER(V, FIRST, LAST, GRUPO, kNSEM, *again, once);
  EXPECT_TRUE(again->LIMCLASSE == s->LIMCLASSE);
  EXPECT_TRUE(again->RAZOES == s->RAZOES);
}

// The sorted keys of a sample are its ratios as ascending 4-byte keys; a
// rebuild of the samples drops them, so a lookup after it sorts the new ratios.
TEST(VAZSEMPER, SortedKeysFollowTheSamplesTheyWereMadeFrom) {
  auto keys_of = [](const std::vector<double>& ratios) {
    std::vector<float> keys;
    for (const double r : ratios) keys.push_back(static_cast<float>(r));
    std::sort(keys.begin(), keys.end());
    return keys;
  };
  auto s = samples_of(distinct_flows(3), 1, 8);
  EXPECT_EQ(sorted_ratio_keys(*s, 2, 3, kTotal), keys_of(s->RAZOES(2, 3, kTotal)));
  int once = 0;
  VAZSEMPER(distinct_flows(5), 1, 6, testing_support::groupings52(), kNSEM, *s, once);
  EXPECT_EQ(sorted_ratio_keys(*s, 2, 3, kTotal), keys_of(s->RAZOES(2, 3, kTotal)));
  EXPECT_EQ(s->RAZOES(2, 3, kTotal).size(), 6u * 5u);
}

// A zero flow in week 10 of year 3: the ratio into it is 0 and kept, the
// ratio out of it has no value and is left out of every sample.
TEST(VAZSEMPER, RatioFromAZeroFlowIsLeftOut) {
  SeriesTable V = distinct_flows(3);
  V(3, 10) = 0.0;
  const auto s = samples_of(V, 1, 8);
  std::vector<double> into;
  std::vector<double> out_of;
  for (int y = 1; y <= 8; ++y) {
    into.push_back(V(y, 10) / V(y, 9));
    if (y != 3) out_of.push_back(V(y, 11) / V(y, 10));
  }
  EXPECT_EQ(into[2], 0.0);
  EXPECT_EQ(s->RAZOES(1, 10, kTotal), into);
  EXPECT_EQ(s->RAZOES(1, 11, kTotal), out_of);
  EXPECT_EQ(s->RAZOES(2, 3, kTotal).size(), 8u * 5u - 1u);  // month 3 = weeks 9..13
  std::size_t classed = 0;
  for (RatioClass c : {kQuartile1, kQuartile2, kQuartile3, kQuartile4}) classed += s->RAZOES(1, 11, c).size();
  EXPECT_EQ(classed, 7u);
}

TEST(VAZSEMPER, NoYearsGiveZeroThresholdsAndEmptySamples) {
  const auto s = samples_of(distinct_flows(7), 5, 4);
  EXPECT_TRUE(s->LIMCLASSE == RatioSamples{}.LIMCLASSE);
  for (int code = 1; code <= kPeriodCodes; ++code) EXPECT_TRUE(s->RAZOES(code, 1, kTotal).empty());
}

TEST(GroupingOfPeriodCode, MapsTheCodesToTheGroupings) {
  EXPECT_EQ(grouping_of_period_code(1), kWeeksGrouping);
  EXPECT_EQ(grouping_of_period_code(2), kMonthsGrouping);
  EXPECT_EQ(grouping_of_period_code(3), kQuarters);
  EXPECT_EQ(grouping_of_period_code(4), kHalfYears);
  EXPECT_THROW(grouping_of_period_code(0), std::invalid_argument);
  EXPECT_THROW(grouping_of_period_code(5), std::invalid_argument);
}

}  // namespace
}  // namespace darcalim
