#include "limits/variability_check.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "common/model_catalogue.h"
#include "tests/support/ratio_fixtures.h"
#include "tests/support/run_in_folder.h"

namespace darcalim {
namespace {

constexpr int kNsem = 52;
constexpr int kWeek = 10;    // target week of lead 1
constexpr int kYears = 20;   // complete years 1981..2000; row 21 is the forecast year 2001
constexpr int kModels = 47;  // option 0
constexpr double kTolerance = 1e-9;
const char* const kReportName = "RANKING.CSV";

// 1 + 7y mod n runs once over 1..n as y runs over n consecutive years (n = 19, 20).
int shuffled(int y, int n) { return 1 + (7 * y) % n; }

// Position r of every week's ranking holds model 48 - r: CONSTANTE first,
// then SAZONAL, PARMA(3;1)-RO, PARMA(2;1)-RO, ...
int model_at(int position) { return kModels + 1 - position; }

std::string name20(const std::string& name) { return name + std::string(20 - name.size(), ' '); }

// Forecasts of the positions first..last of a week's ranking.
struct Block {
  int first;
  int last;
  double forecast;
};

// Option 0, twenty complete years, FAC 604.8 (display flows equal the
// stored ones) and QPASS(1) = 32. Every flow is 32, except week 10 of year
// y, 16 + k(y) with k(y) = 1 + 7y mod 20, and week 11, twice week 10. So
// the ratios of week 10 are 17/32, 18/32, ..., 36/32, one per year and
// exact in 4 bytes, and every ratio of week 11 is 2. Row 21, the forecast
// year, has a week-10 ratio of 0.1, which must stay out of the sample.
// With PERCINF 10, PERCSUP 90 and the percentile codes 0, only the week's
// own ratios give the limits: the first positions strictly above 10 % and
// 90 % of 20 ratios are 3 and 19, so lead 1 accepts forecasts from 19 to 35.
//
// Every model's lower and upper limits are its forecast - 24 and + 24;
// model m has the weekly error m / 100.
class VariabilityCheck : public ::testing::Test {
 protected:
  VariabilityCheck() {
    darcalim::Run& r = run();
    r.models = build_model_list(0, kYears);
    r.CASO.TIPOTRANS = 0;
    r.CASO.NSEM = kNsem;
    r.CASO.ANOPREV = 2001;
    r.CASO.ZCONF = 1.96;
    r.history.first_year = 1981;
    r.history.NANOS = kYears;
    r.history.FAC = 604.8;
    r.GRUPO = testing_support::groupings52();
    r.QPASS(1) = 32.0;
    r.percentiles.CODPER = 0;
    r.percentiles.CODCLA = 0;
    r.percentiles.PERCINF.fill(10.0);
    r.percentiles.PERCSUP.fill(90.0);
    SeriesTable& H = r.history.HISTORICO;
    for (int y = 1; y <= kYears; ++y) {
      for (int w = 1; w <= kNsem; ++w) H(y, w) = 32.0;
      H(y, kWeek) = 16.0 + shuffled(y, 20);
      H(y, kWeek + 1) = 2.0 * H(y, kWeek);
    }
    for (int w = 1; w < kWeek; ++w) H(kYears + 1, w) = 32.0;
    H(kYears + 1, kWeek) = 3.2;
    for (int w = 1; w <= kNsem; ++w) {
      for (int p = 1; p <= kModels; ++p) r.choice.RANKMOD(p, w) = model_at(p);
      r.choice.NOMEBRUTO(w) = "CONSTANTE     ";
      r.choice.NOMEESCOLHIDO(w) = "SAZONAL       ";
      for (int m = 1; m <= kModels; ++m) {
        set_forecast(w, m, 25.0);
        r.errors.ERRSEM(m, kNsem + w, kCombinedSlot) = m / 100.0;
      }
    }
    r.CASO.ranking_report_name = kReportName;
    r.ranking_report.open(r.file(kReportName), OutputFile::Mode::kRewrite);
  }

  darcalim::Run& run() { return folder_.run(); }
  LeadResults& lead() { return run().final_forecast.lead; }
  // The history of the checks, built at the first check as the driver builds
  // it before its series of checks.
  const SeriesTable& history() {
    if (!history_) history_ = check_history(run().history, run().CASO.ANOPREV, run().CASO.NSEM);
    return *history_;
  }

  void set_forecast(int w, int m, double F) {
    PassForecast& f = run().final_forecast;
    f.P(w, m) = F;
    f.FC(w, m) = F;
    f.LOWT(w, m) = F - 24.0;
    f.UPPT(w, m) = F + 24.0;
  }
  void set_forecasts(int w, const std::vector<Block>& blocks) {
    for (const Block& b : blocks) {
      for (int p = b.first; p <= b.last; ++p) set_forecast(w, model_at(p), b.forecast);
    }
  }

  // What the final forecast does before the check: the lead takes the
  // forecast and limits of the week's first-ranked model.
  void prepare(int LEAD, int w) {
    const PassForecast& f = run().final_forecast;
    const int m = run().choice.RANKMOD(1, w);
    lead().PREV(LEAD) = f.FC(w, m);
    lead().LINF(LEAD) = f.LOWT(w, m);
    lead().LSUP(LEAD) = f.UPPT(w, m);
    lead().LINF0(LEAD) = f.LOWT(w, m) < 0.0 ? 0.0 : f.LOWT(w, m);
  }
  // VARIAPREV over the pass's models, as the driver calls it in a pass.
  void check_pass_lead(int LEAD, int w) {
    darcalim::Run& r = run();
    const std::filesystem::path report_path = r.file(r.CASO.ranking_report_name);
    const VariabilityCheckInputs in{false,     r.final_forecast, r.joined_forecast, r.errors,      r.joined_errors,
                                    r.models,  r.choice,         r.GRUPO,           r.percentiles, r.CASO,
                                    r.history, r.QPASS(1),       report_path};
    VariabilityState& v = r.variability;
    VARIAPREV(in, LEAD, w, history(), once_flag_,
              {lead(), v.samples, v.limits, v.TARGET, v.reordered, r.ranking_report});
  }
  void check(int LEAD, int w) {
    prepare(LEAD, w);
    check_pass_lead(LEAD, w);
  }
  // Leads 1..6 on weeks 10..15, as the final forecast runs them.
  void check_six_leads() {
    for (int LEAD = 1; LEAD <= kLeads; ++LEAD) check(LEAD, kWeek + LEAD - 1);
  }

  std::vector<std::string> report_lines() {
    std::istringstream in(folder_.file_text(kReportName));
    std::vector<std::string> lines;
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    return lines;
  }
  // The lines of a week's section, from its heading to the line before the
  // next empty line.
  std::vector<std::string> week_section(int w) {
    const std::vector<std::string> lines = report_lines();
    const std::string number = std::to_string(w);
    const std::string heading = "  SEMANA " + std::string(2 - number.size(), ' ') + number;
    std::vector<std::string> section;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (lines[i] != heading) continue;
      for (std::size_t j = i; j < lines.size() && !lines[j].empty(); ++j) section.push_back(lines[j]);
      break;
    }
    return section;
  }

  int once_flag_ = 0;
  std::unique_ptr<SeriesTable> history_;

 private:
  testing::RunInFolder folder_;
};

struct LeadCase {
  std::string name;
  std::vector<Block> forecasts;  // over the default 25 at every position
  int CODESC;
  double PREV;
  double LINF;
  double LSUP;
  double LINF0;
  std::string ESCOLHA;
};

void PrintTo(const LeadCase& c, std::ostream* os) { *os << c.name; }

class VariabilityCheckOfLeadOne : public VariabilityCheck, public ::testing::WithParamInterface<LeadCase> {};

TEST_P(VariabilityCheckOfLeadOne, KeepsTheFirstRankedModelInsideOrTheNearest) {
  const LeadCase& c = GetParam();
  set_forecasts(kWeek, c.forecasts);
  check(1, kWeek);
  EXPECT_EQ(lead().CODESC(1), c.CODESC);
  EXPECT_EQ(lead().ESCOLHA(1), name20(c.ESCOLHA));
  EXPECT_NEAR(lead().PREV(1), c.PREV, kTolerance);
  EXPECT_NEAR(lead().LINF(1), c.LINF, kTolerance);
  EXPECT_NEAR(lead().LSUP(1), c.LSUP, kTolerance);
  EXPECT_NEAR(lead().LINF0(1), c.LINF0, kTolerance);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VariabilityCheckOfLeadOne,
    ::testing::Values(
        LeadCase{"FirstRankedInside", {{1, 1, 20.0}}, 1, 20.0, -4.0, 44.0, 0.0, "CONSTANTE"},
        // 40 is above, 10 below, 20 inside: position 3 is kept; its lower
        // limit stays negative, LINF0 is 0.
        LeadCase{"RejectedModelsGiveWayToTheFirstInside",
                 {{1, 1, 40.0}, {2, 2, 10.0}, {3, 3, 20.0}, {4, 47, 30.0}}, 3, 20.0, -4.0, 44.0, 0.0,
                 "PARMA(3;1)-RO"},
        // 18/32, the second smallest ratio, lies exactly at 10 %: below the band.
        LeadCase{"RatioAtExactlyThePercentileIsOutside", {{1, 1, 18.0}, {2, 2, 30.0}}, 2, 30.0, 6.0, 54.0, 6.0,
                 "SAZONAL"},
        LeadCase{"LargestRatioIsAboveTheBand", {{1, 1, 36.0}, {2, 2, 30.0}}, 2, 30.0, 6.0, 54.0, 6.0, "SAZONAL"},
        LeadCase{"RatioEqualToTheLowerLimitIsInside", {{1, 1, 19.0}}, 1, 19.0, -5.0, 43.0, 0.0, "CONSTANTE"},
        LeadCase{"RatioEqualToTheUpperLimitIsInside", {{1, 1, 35.0}}, 1, 35.0, 11.0, 59.0, 11.0, "CONSTANTE"},
        // 35.000001 / 32 and 18.9999995 / 32 round to 35/32 and 19/32 in 4 bytes.
        LeadCase{"RatioRoundedTo4BytesOnTheUpperLimitIsInside", {{1, 1, 35.000001}}, 1, 35.000001, 11.000001,
                 59.000001, 11.000001, "CONSTANTE"},
        LeadCase{"RatioRoundedTo4BytesOnTheLowerLimitIsInside", {{1, 1, 18.9999995}}, 1, 18.9999995, -5.0000005,
                 42.9999995, 0.0, "CONSTANTE"},
        // No model inside.
        LeadCase{"EveryModelBelowKeepsTheLargest", {{1, 47, 10.0}, {7, 7, 12.0}}, 200, 12.0, -12.0, 36.0, 0.0,
                 "PARMA(2;1)-RR"},
        LeadCase{"EveryModelAboveKeepsTheSmallest", {{1, 47, 50.0}, {9, 9, 40.0}}, 0, 40.0, 16.0, 64.0, 16.0,
                 "PARMA(3;1)-G4"},
        // 17 below, 30 above: the smallest forecast that reaches the band.
        LeadCase{"MostModelsAboveKeepsTheSmallestAboveTheBand",
                 {{1, 17, 10.0}, {18, 47, 50.0}, {5, 5, 12.0}, {30, 30, 45.0}}, 0, 45.0, 21.0, 69.0, 21.0,
                 "PAR(3)-G3"},
        // 30 below, 17 above: the largest forecast that does not pass it.
        LeadCase{"MostModelsBelowKeepsTheLargestBelowTheBand",
                 {{1, 30, 10.0}, {31, 47, 50.0}, {12, 12, 12.0}, {40, 40, 45.0}}, 200, 12.0, -12.0, 36.0, 0.0,
                 "PARMA(3;1)-G3"}),
    [](const ::testing::TestParamInfo<LeadCase>& p) { return p.param.name; });

// The fallback limits are the third and the nineteenth of the twenty ratios.
TEST_F(VariabilityCheck, FallbackLimitsTakeTheFirstPositionsStrictlyAboveThePercentiles) {
  check(1, kWeek);
  EXPECT_EQ(run().variability.limits.RAZINF, 19.0 / 32.0);
  EXPECT_EQ(run().variability.limits.RAZSUP, 35.0 / 32.0);
}

// An accepted first-ranked forecast keeps whatever the caller set.
TEST_F(VariabilityCheck, AcceptedFirstModelLeavesTheLeadUntouched) {
  set_forecasts(kWeek, {{1, 1, 20.0}});
  lead().PREV(1) = 20.0;
  lead().LINF(1) = 1.5;
  lead().LSUP(1) = 2.5;
  lead().LINF0(1) = 3.5;
  check_pass_lead(1, kWeek);
  EXPECT_EQ(lead().PREV(1), 20.0);
  EXPECT_EQ(lead().LINF(1), 1.5);
  EXPECT_EQ(lead().LSUP(1), 2.5);
  EXPECT_EQ(lead().LINF0(1), 3.5);
  EXPECT_EQ(lead().CODESC(1), 1);
  EXPECT_EQ(lead().ESCOLHA(1), name20("CONSTANTE"));
}

// Lead 1 keeps 20; every ratio of week 11 is 2, so lead 2 accepts 40 at
// position 2, not 80 (which the first-ranked forecast of lead 1, 40, would
// have accepted).
TEST_F(VariabilityCheck, NextLeadIsCheckedAgainstTheForecastKept) {
  set_forecasts(kWeek, {{1, 1, 40.0}, {2, 2, 10.0}, {3, 3, 20.0}});
  set_forecasts(kWeek + 1, {{1, 1, 80.0}, {2, 2, 40.0}});
  check(1, kWeek);
  check(2, kWeek + 1);
  EXPECT_EQ(lead().CODESC(1), 3);
  EXPECT_EQ(lead().CODESC(2), 2);
  EXPECT_NEAR(lead().PREV(2), 40.0, kTolerance);
  EXPECT_EQ(lead().ESCOLHA(2), name20("SAZONAL"));
}

// Week 1 of year y is divided by week 52 of year y - 1, and year 1 gives no
// ratio. Every week of year y holds 32 y, except week 1 of the years 2..20,
// (16 + k(y)) (y - 1) with k(y) = 1 + 7y mod 19: the 19 ratios are 17/32 ..
// 35/32. The first positions strictly above 10 % and 90 % of 19 are 2 and
// 18. Row 21 (a ratio of 10) stays out.
TEST_F(VariabilityCheck, WeekOneDividesByTheLastWeekOfTheYearBefore) {
  SeriesTable& H = run().history.HISTORICO;
  for (int y = 1; y <= kYears; ++y) {
    for (int w = 1; w <= kNsem; ++w) H(y, w) = 32.0 * y;
    if (y >= 2) H(y, 1) = (16.0 + shuffled(y, 19)) * (y - 1);
  }
  H(kYears + 1, 1) = 320.0 * kYears;
  check(1, 1);
  EXPECT_EQ(run().variability.limits.RAZINF, 18.0 / 32.0);
  EXPECT_EQ(run().variability.limits.RAZSUP, 34.0 / 32.0);
}

std::vector<int> models_of(const std::vector<OrderedModel>& list) {
  std::vector<int> out;
  for (const OrderedModel& o : list) out.push_back(o.model);
  return out;
}

// Positions 1..4 forecast 40 (above), 19 (on the lower limit), 10 (below)
// and 35 (on the upper limit), the others 50: models 46 and 44 lie inside
// and come first, then the others in ranking order.
TEST_F(VariabilityCheck, ModelsInsideTheLimitsComeFirstInTheReport) {
  set_forecasts(kWeek, {{1, 1, 40.0}, {2, 2, 19.0}, {3, 3, 10.0}, {4, 4, 35.0}, {5, 47, 50.0}});
  check_six_leads();
  std::vector<int> expected = {46, 44, 47, 45};
  for (int m = 43; m >= 1; --m) expected.push_back(m);
  const std::vector<OrderedModel>& list = run().variability.reordered(1);
  EXPECT_EQ(models_of(list), expected);
  EXPECT_EQ(list.front().error, 0.46);

  const std::vector<std::string> section = week_section(kWeek);
  ASSERT_EQ(section.size(), 6u);
  EXPECT_EQ(section[1].substr(0, 40), "REMQ      0.460,  0.440,  0.470,  0.450,");
  EXPECT_EQ(section[2].substr(0, 60), "SAZONAL       ,PARMA(2;1)-RO ,CONSTANTE     ,PARMA(3;1)-RO ,");
  EXPECT_EQ(section[3], " MELHOR MODELO, CONSTANTE     ");
  EXPECT_EQ(section[4], " MELHOR MODELO APOS ANALISE, SAZONAL       ");
  EXPECT_EQ(section[5], " MELHOR MODELO APOS LIMITES, SAZONAL       ");
}

TEST_F(VariabilityCheck, NoModelInsideLeavesTheRanking) {
  set_forecasts(kWeek, {{1, 47, 50.0}});
  check_six_leads();
  std::vector<int> ranking;
  for (int p = 1; p <= kModels; ++p) ranking.push_back(model_at(p));
  EXPECT_EQ(models_of(run().variability.reordered(1)), ranking);
  const std::vector<std::string> section = week_section(kWeek);
  ASSERT_EQ(section.size(), 6u);
  EXPECT_EQ(section[5], " MELHOR MODELO APOS LIMITES, CONSTANTE     ");
}

// Every lead's target week (10..15) has its section with the line of the
// limits; the other weeks have none.
TEST_F(VariabilityCheck, ReportHasALimitsLineForEachTargetWeek) {
  check_six_leads();
  for (int w = 1; w <= kNsem; ++w) {
    const std::vector<std::string> section = week_section(w);
    const bool target = w >= kWeek && w < kWeek + kLeads;
    ASSERT_EQ(section.size(), target ? 6u : 5u) << "week " << w;
    EXPECT_EQ(section.back().rfind(" MELHOR MODELO APOS LIMITES, ", 0) == 0, target) << "week " << w;
  }
}

}  // namespace
}  // namespace darcalim
