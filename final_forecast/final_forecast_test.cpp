// The target weeks of the six leads, and the model numbering that the final
// forecast reads: which numbers each series holds and where its references
// lie.
#include "final_forecast/final_forecast.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "common/model_catalogue.h"

namespace darcalim {
namespace {

struct LeadWeeks {
  int SEMPREV;
  int NSEM;
  std::vector<int> weeks;
};

TEST(LeadWeek, CountsOnFromWeekOneAfterTheLastWeekOfTheYear) {
  const LeadWeeks cases[] = {
      {1, 52, {1, 2, 3, 4, 5, 6}},
      {47, 52, {47, 48, 49, 50, 51, 52}},
      {50, 52, {50, 51, 52, 1, 2, 3}},
      {50, 53, {50, 51, 52, 53, 1, 2}},
      {52, 52, {52, 1, 2, 3, 4, 5}},
  };
  for (const LeadWeeks& c : cases) {
    std::vector<int> weeks;
    for (int k = 1; k <= kLeads; ++k) weeks.push_back(lead_week(c.SEMPREV, k, c.NSEM));
    EXPECT_EQ(weeks, c.weeks) << "SEMPREV " << c.SEMPREV << ", NSEM " << c.NSEM;
  }
}

constexpr int kLongHistory = 20;   // the fewest complete years of a long history
constexpr int kShortHistory = 19;

// Base positions of the nine models of a series with a short history.
constexpr int kShortPositions[] = {1, 2, 3, 4, 5, 6, 7, 46, 47};

struct SeriesNumbers {
  int first;
  int last;
  int F2;
};

struct PassNumbering {
  int option;
  int years;
  int NMOD;
  std::vector<SeriesNumbers> series;  // F1 is always the series' first model
};

void PrintTo(const PassNumbering& p, std::ostream* os) { *os << "option " << p.option << ", " << p.years << " years"; }

// PAR(1)-G4 is base position 20 of a series: 4 AR, 3 ARMA and 12 PAR models
// of G1..G3 stand before it. Its number is taken for F2 even when a short
// history does not hold it.
const PassNumbering kPasses[] = {
    {0, kLongHistory, 47, {{1, 47, 20}}},
    {1, kLongHistory, 94, {{1, 47, 20}, {48, 94, 67}}},
    {2, kLongHistory, 93, {{1, 46, 20}, {47, 93, 66}}},
    {3, kLongHistory, 47, {{1, 47, 20}}},
    {4, kLongHistory, 46, {{1, 46, 20}}},
    {0, kShortHistory, 9, {{1, 9, 20}}},
    {1, kShortHistory, 18, {{1, 9, 20}, {10, 18, 29}}},
    {2, kShortHistory, 17, {{1, 8, 20}, {9, 17, 28}}},
    {3, kShortHistory, 9, {{1, 9, 20}}},
    {4, kShortHistory, 8, {{1, 8, 20}}},
};

class ModelNumbering : public ::testing::TestWithParam<PassNumbering> {};

TEST_P(ModelNumbering, SeriesFollowOneAnotherInBaseOrder) {
  const PassNumbering& p = GetParam();
  const ModelList list = build_model_list(p.option, p.years);
  const bool long_history = p.years >= kLongHistory;
  ASSERT_EQ(list.NMOD, p.NMOD);
  ASSERT_EQ(list.series_count, static_cast<int>(p.series.size()));
  for (int s = 1; s <= list.series_count; ++s) {
    const SeriesNumbers& expected = p.series[static_cast<std::size_t>(s - 1)];
    const SeriesModels& series = list.series(s);
    EXPECT_EQ(series.first, expected.first) << "series " << s;
    EXPECT_EQ(series.last, expected.last) << "series " << s;
    EXPECT_EQ(series.F1, expected.first) << "series " << s;
    EXPECT_EQ(series.F2, expected.F2) << "series " << s;
    const bool transformed = s == 1 && p.option != 0;
    EXPECT_EQ(series.transformed, transformed) << "series " << s;
    // Only the Box-Cox series (options 2 and 4) has no CONSTANTE: it ends with SAZONAL.
    const bool constante = !(s == 1 && (p.option == 2 || p.option == 4));
    EXPECT_EQ(series.has_constante, constante) << "series " << s;
    EXPECT_EQ(list.model(series.last).family, constante ? ModelFamily::kConstante : ModelFamily::kSazonal)
        << "series " << s;
    for (int m = series.first; m <= series.last; ++m) {
      const int k = m - series.first + 1;
      const int position = long_history ? k : kShortPositions[k - 1];
      const ModelInfo& model = list.model(m);
      EXPECT_EQ(model.series, s) << "model " << m;
      EXPECT_EQ(model.base_position, position) << "model " << m;
      EXPECT_EQ(model.transformed, transformed) << "model " << m;
      EXPECT_EQ(model.abbreviated, NOMEABR(position, transformed)) << "model " << m;
    }
    if (long_history) {
      const ModelInfo& reference = list.model(series.F2);
      EXPECT_EQ(reference.family, ModelFamily::kPar) << "series " << s;
      EXPECT_EQ(reference.order, 1) << "series " << s;
      EXPECT_EQ(reference.grouping, 4) << "series " << s;
    } else {
      EXPECT_GT(series.F2, list.NMOD) << "series " << s;
    }
  }
}

std::string pass_name(const ::testing::TestParamInfo<PassNumbering>& param) {
  return "Option" + std::to_string(param.param.option) + (param.param.years >= kLongHistory ? "Long" : "Short");
}

INSTANTIATE_TEST_SUITE_P(EveryOption, ModelNumbering, ::testing::ValuesIn(kPasses), pass_name);

std::string pad(const std::string& name, std::size_t width) { return name + std::string(width - name.size(), ' '); }

struct NamedModel {
  int option;
  int years;
  int m;
  const char* long_name;    // from the pass's own 20-character list
  const char* abbreviated;  // the 14-character heads of the reports
};

TEST(ModelNames, OfSomeNumbers) {
  const NamedModel cases[] = {
      {2, kLongHistory, 1, "TAR(1)", "TAR(1)"},
      {2, kLongHistory, 20, "TPAR(1)-G4", "TPAR(1)-G4"},
      {2, kLongHistory, 46, "TSAZONAL", "TSAZONAL"},
      {2, kLongHistory, 47, "AR(1)", "AR(1)"},
      {2, kLongHistory, 66, "PAR(1)-G4", "PAR(1)-G4"},
      {2, kLongHistory, 86, "PARMA(1;1)-RR", "PARMA(1;1)-R"},
      {2, kLongHistory, 93, "CONSTANTE", "CONSTANTE"},
      {1, kLongHistory, 47, "LCONSTANTE", "TCONSTANTE"},
      {1, kLongHistory, 48, "AR(1)", "AR(1)"},
      {3, kLongHistory, 45, "LPARMA(3;1)-RO", "TPARMA(3;1)-RO"},
      {0, kLongHistory, 47, "CONSTANTE", "CONSTANTE"},
      {1, kShortHistory, 8, "LSAZONAL", "TSAZONAL"},
      {1, kShortHistory, 9, "LCONSTANTE", "TCONSTANTE"},
      {1, kShortHistory, 10, "AR(1)", "AR(1)"},
      {1, kShortHistory, 18, "CONSTANTE", "CONSTANTE"},
      {2, kShortHistory, 8, "TSAZONAL", "TSAZONAL"},
      {2, kShortHistory, 9, "AR(1)", "AR(1)"},
      {4, kShortHistory, 8, "TSAZONAL", "TSAZONAL"},
  };
  for (const NamedModel& c : cases) {
    const ModelList list = build_model_list(c.option, c.years);
    EXPECT_EQ(list.model(c.m).long_name, pad(c.long_name, 20))
        << "option " << c.option << ", " << c.years << " years, model " << c.m;
    EXPECT_EQ(list.model(c.m).abbreviated, pad(c.abbreviated, 14))
        << "option " << c.option << ", " << c.years << " years, model " << c.m;
  }
}

}  // namespace
}  // namespace darcalim
