#include "hindcast/scores.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <tuple>

namespace darcalim::hindcast {
namespace {

using Key = std::tuple<std::string, std::string, int>;  // metric, reference, lead (0: all)

std::map<Key, ScoreRow> by_key(const std::vector<ScoreRow>& rows) {
  std::map<Key, ScoreRow> out;
  for (const ScoreRow& r : rows) {
    EXPECT_TRUE(out.emplace(Key{r.metric, r.reference, r.lead}, r).second) << r.metric << " " << r.lead;
  }
  return out;
}

Pair pair(int lead, double f, double o, double lower, double upper) {
  Pair p;
  p.lead = lead;
  p.value = f;
  p.observed = o;
  p.lower = lower;
  p.upper = upper;
  return p;
}

TEST(Scores, EveryMetricReferenceAndGroupOnceInOrder) {
  const auto rows = score_pairs({pair(1, 1.0, 2.0, 0.0, 3.0)}, 95);
  const std::vector<std::pair<std::string, std::string>> expected{
      {"ME", "none"},    {"PBIAS", "none"},     {"MAE", "none"},       {"RMSE", "none"},
      {"NSE", "none"},   {"KGEprime", "none"},  {"r", "none"},         {"beta", "none"},
      {"gamma", "none"}, {"SS", "persistence"}, {"SS", "climatology"}, {"coverage", "none"},
      {"below", "none"}, {"above", "none"},     {"width", "none"},     {"interval_score", "none"}};
  ASSERT_EQ(rows.size(), expected.size() * 7);
  for (std::size_t m = 0; m < expected.size(); ++m) {
    for (std::size_t g = 0; g < 7; ++g) {
      const ScoreRow& r = rows[m * 7 + g];
      EXPECT_EQ(r.metric, expected[m].first);
      EXPECT_EQ(r.reference, expected[m].second);
      EXPECT_EQ(r.lead, g == 6 ? 0 : static_cast<int>(g) + 1);
    }
  }
}

TEST(Scores, PerfectForecastScoresOneAndIntervalScoreIsTheMeanWidth) {
  std::vector<Pair> pairs;
  const double flows[] = {10.0, 20.0, 15.0, 40.0};
  const double widths[] = {4.0, 6.0, 2.0, 8.0};  // mean 5
  for (int i = 0; i < 4; ++i) {
    Pair p = pair(2, flows[i], flows[i], flows[i] - widths[i] / 2, flows[i] + widths[i] / 2);
    p.persistence = flows[i] + 1.0;
    p.climatology = 20.0;
    pairs.push_back(p);
  }
  const auto rows = by_key(score_pairs(pairs, 90));
  for (const int lead : {2, 0}) {
    EXPECT_EQ(*rows.at({"NSE", "none", lead}).value, 1.0);
    EXPECT_DOUBLE_EQ(*rows.at({"KGEprime", "none", lead}).value, 1.0);
    EXPECT_DOUBLE_EQ(*rows.at({"r", "none", lead}).value, 1.0);
    EXPECT_EQ(*rows.at({"ME", "none", lead}).value, 0.0);
    EXPECT_EQ(*rows.at({"RMSE", "none", lead}).value, 0.0);
    EXPECT_EQ(*rows.at({"SS", "persistence", lead}).value, 1.0);
    EXPECT_EQ(*rows.at({"coverage", "none", lead}).value, 1.0);
    EXPECT_EQ(*rows.at({"below", "none", lead}).value, 0.0);
    EXPECT_DOUBLE_EQ(*rows.at({"interval_score", "none", lead}).value, 5.0);
    EXPECT_DOUBLE_EQ(*rows.at({"width", "none", lead}).value, 5.0);
    EXPECT_EQ(rows.at({"NSE", "none", lead}).n, 4u);
  }
  EXPECT_EQ(rows.at({"NSE", "none", 1}).n, 0u);
  EXPECT_FALSE(rows.at({"NSE", "none", 1}).value);
}

TEST(Scores, ForecastEqualToPersistenceHasNoSkillAgainstIt) {
  std::vector<Pair> pairs;
  const double observed[] = {5.0, 9.0, 7.0};
  const double before[] = {6.0, 4.0, 8.0};
  for (int i = 0; i < 3; ++i) {
    Pair p = pair(1, before[i], observed[i], 0.0, 20.0);
    p.persistence = before[i];
    pairs.push_back(p);
  }
  const auto rows = by_key(score_pairs(pairs, 95));
  EXPECT_EQ(*rows.at({"SS", "persistence", 1}).value, 0.0);
  EXPECT_EQ(rows.at({"SS", "climatology", 1}).n, 0u);  // no climatology given
  EXPECT_FALSE(rows.at({"SS", "climatology", 1}).value);
}

// f = 12, 8, 30 against o = 10, 10, 20 at a level of 80 %.
TEST(Scores, HandComputedValuesWithMissesOnBothSides) {
  const std::vector<Pair> pairs{pair(3, 12.0, 10.0, 9.0, 15.0),    // inside, width 6
                                pair(3, 8.0, 10.0, 6.0, 9.0),      // above by 1, width 3
                                pair(3, 30.0, 20.0, 22.0, 40.0)};  // below by 2, width 18
  const auto rows = by_key(score_pairs(pairs, 80));
  // errors 2, -2, 10
  EXPECT_DOUBLE_EQ(*rows.at({"ME", "none", 3}).value, 10.0 / 3.0);
  EXPECT_DOUBLE_EQ(*rows.at({"PBIAS", "none", 3}).value, 100.0 * 10.0 / 40.0);
  EXPECT_DOUBLE_EQ(*rows.at({"MAE", "none", 3}).value, 14.0 / 3.0);
  EXPECT_DOUBLE_EQ(*rows.at({"RMSE", "none", 3}).value, std::sqrt(108.0 / 3.0));
  // o mean 40/3: sum (o - mean)^2 = 2 (10/3)^2 + (20/3)^2 = 600/9
  EXPECT_DOUBLE_EQ(*rows.at({"NSE", "none", 3}).value, 1.0 - 108.0 / (600.0 / 9.0));
  EXPECT_DOUBLE_EQ(*rows.at({"beta", "none", 3}).value, (50.0 / 3.0) / (40.0 / 3.0));
  EXPECT_DOUBLE_EQ(*rows.at({"coverage", "none", 3}).value, 1.0 / 3.0);
  EXPECT_DOUBLE_EQ(*rows.at({"below", "none", 3}).value, 1.0 / 3.0);
  EXPECT_DOUBLE_EQ(*rows.at({"above", "none", 3}).value, 1.0 / 3.0);
  EXPECT_DOUBLE_EQ(*rows.at({"width", "none", 3}).value, 9.0);
  // alpha 0.2: (6 + 3 + 2/0.2 * 1 + 18 + 2/0.2 * 2) / 3 = 57 / 3
  EXPECT_DOUBLE_EQ(*rows.at({"interval_score", "none", 3}).value, 19.0);
  EXPECT_EQ(*rows.at({"interval_score", "none", 0}).value, *rows.at({"interval_score", "none", 3}).value);
}

TEST(Scores, KlingGuptaFromItsParts) {
  // f = 2o + 1 over o = 1, 2, 3: r 1, beta 5/2, gamma (sd 2 sd_o / 5) / (sd_o / 2) = 4/5
  const std::vector<Pair> pairs{pair(1, 3.0, 1.0, 0, 9), pair(1, 5.0, 2.0, 0, 9), pair(1, 7.0, 3.0, 0, 9)};
  const auto rows = by_key(score_pairs(pairs, 95));
  EXPECT_DOUBLE_EQ(*rows.at({"r", "none", 1}).value, 1.0);
  EXPECT_DOUBLE_EQ(*rows.at({"beta", "none", 1}).value, 2.5);
  EXPECT_DOUBLE_EQ(*rows.at({"gamma", "none", 1}).value, 0.8);
  EXPECT_DOUBLE_EQ(*rows.at({"KGEprime", "none", 1}).value, 1.0 - std::sqrt(1.5 * 1.5 + 0.2 * 0.2));
}

TEST(Scores, UndefinedValuesAreEmpty) {
  Pair asterisks = pair(1, 0.0, 5.0, 1.0, 9.0);
  asterisks.value.reset();
  Pair no_upper = pair(2, 6.0, 0.0, 1.0, 9.0);
  no_upper.upper.reset();
  no_upper.persistence = 6.0;  // equal to the forecast: no skill
  const auto rows = by_key(score_pairs({asterisks, no_upper, pair(2, 4.0, 0.0, 1.0, 9.0)}, 95));
  // Lead 1: its only pair has no value, so nothing is scored.
  for (const char* metric : {"ME", "RMSE", "NSE", "KGEprime", "coverage", "width", "interval_score"}) {
    EXPECT_EQ(rows.at({metric, "none", 1}).n, 0u) << metric;
    EXPECT_FALSE(rows.at({metric, "none", 1}).value) << metric;
  }
  // Lead 2: observed flows all 0 and equal: no PBIAS, NSE, r, beta, gamma.
  EXPECT_EQ(rows.at({"ME", "none", 2}).n, 2u);
  EXPECT_DOUBLE_EQ(*rows.at({"ME", "none", 2}).value, 5.0);
  for (const char* metric : {"PBIAS", "NSE", "r", "beta", "gamma", "KGEprime"}) {
    EXPECT_FALSE(rows.at({metric, "none", 2}).value) << metric;
  }
  EXPECT_EQ(rows.at({"coverage", "none", 2}).n, 1u);  // the pair without an upper limit left out
  EXPECT_EQ(*rows.at({"below", "none", 2}).value, 1.0);
  EXPECT_EQ(rows.at({"SS", "persistence", 2}).n, 1u);
  EXPECT_EQ(*rows.at({"SS", "persistence", 2}).value, 0.0);
  // A level of 100 leaves no room for misses: no interval score.
  EXPECT_FALSE(by_key(score_pairs({pair(1, 1.0, 1.0, 0.0, 2.0)}, 100)).at({"interval_score", "none", 1}).value);
}

}  // namespace
}  // namespace darcalim::hindcast
