#include "stats/boxcox.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/layout.h"
#include "common/run_stop.h"
#include "stats/boxcox_search.h"
#include "tests/support/flow_fixtures.h"

namespace darcalim {
namespace {

using testing::flows_symmetric_under;
using testing::lines_of;
using testing::RunInFolder;
using testing::set_week;

constexpr int kYears = 30;

const std::string kTitle =
    "\f\nDeterminacao da constante lambda que torna a assimetria aproximadamente nula para cada semana\n";
const std::string kSummaryHeader =
    "\f     VALORES DE LAMBDA QUE TORNAM A ASSIMETRIA\n"
    "            APROXIMADAMENTE IGUAL A ZERO\n"
    "\n"
    "             SEM    LAMBDA    ASSIMETRIA\n"
    "\n"
    "\n";
const std::string kUnsuitable =
    "\n\n*** A TRANSFORMACAO BOX-COX NAO E APROPRIADA PARA ESTE CASO. USE OUTRA TRANSFORMACAO ***\n";

std::string week_header(const char* week) { return std::string("\n          SEMANA ") + week + "\n\n"; }

std::string trial_line(const BoxCoxTrial& t) {
  return std::string(20, ' ') + "LAMBDA = " + format_real(t.LAMBDA, 10, 7) + std::string(27, ' ') +
         "ASSIMETRIA = " + format_real(t.skewness, 9, 5) + "\n\n";
}

struct Report {
  std::string boxcox;
  std::string run;
};

// Runs BOXCOX on a run in a scratch folder; `stopped` tells whether the run
// was stopped.
Report run_boxcox(RunInFolder& folder, const SeriesTable& X, int NSEM, bool& stopped) {
  darcalim::Run& run = folder.run();
  run.boxcox_report.open(run.file("CASO1.BCX"), OutputFile::Mode::kRewrite);
  stopped = false;
  try {
    BOXCOX(X, NSEM, kYears, run.LAMBDA, run.LIMBC, run.boxcox_report, run.run_report);
  } catch (const RunStop&) {
    stopped = true;
  }
  return Report{folder.file_text("CASO1.BCX"), folder.file_text("CASO1.REL")};
}

// Weeks of equal flows: no pass, exponent 1, skewness 0.
TEST(BOXCOX, ReportOfWeeksWithoutSearchByteForByte) {
  RunInFolder folder;
  SeriesTable X;
  set_week(X, 1, std::vector<double>(kYears, 12.5));
  set_week(X, 2, std::vector<double>(kYears, 7.0));
  bool stopped = false;
  const Report r = run_boxcox(folder, X, 2, stopped);
  EXPECT_FALSE(stopped);
  const std::string row_tail = std::string(2, ' ') + " 1.0000000" + std::string(3, ' ') + " 0.0000\n";
  EXPECT_EQ(r.boxcox, kTitle + week_header("  1") + week_header("  2") + kSummaryHeader + std::string(13, ' ') +
                          " 1" + row_tail + std::string(13, ' ') + " 2" + row_tail);
  EXPECT_EQ(r.run, "");
  EXPECT_EQ(folder.run().LAMBDA(1), 1.0);
  EXPECT_EQ(folder.run().LIMBC(2), -1.0 + static_cast<double>(0.000001f));
}

// A searched week is written as its passes: the header of every pass, one
// line per trial and an empty line after it; the summary row gives the
// exponent and skewness chosen, and LIMBC is set from the exponent.
TEST(BOXCOX, WritesEveryPassAndTrialOfASearchedWeek) {
  RunInFolder folder;
  SeriesTable X;
  set_week(X, 1, flows_symmetric_under(-2.25, 0.2, 0.1, kYears));  // pass 1 starts three times
  set_week(X, 2, flows_symmetric_under(0.0, 4.0, 0.8, kYears));    // a lognormal week
  bool stopped = false;
  const Report r = run_boxcox(folder, X, 2, stopped);
  EXPECT_FALSE(stopped);

  std::string expected = kTitle;
  std::string summary = kSummaryHeader;
  for (int w = 1; w <= 2; ++w) {
    const BoxCoxWeekSearch s = search_boxcox_week(X, w, kYears);
    expected += week_header(w == 1 ? "  1" : "  2");
    for (const BoxCoxApproximation& a : s.approximations) {
      expected += "\n               APROXIMACAO " + format_integer(a.P, 2) + "\n\n";
      for (const BoxCoxTrial& t : a.trials) expected += trial_line(t);
    }
    summary += std::string(13, ' ') + format_integer(w, 2) + "  " + format_real(s.LAMBDA, 10, 7) + "   " +
               format_real(s.skewness, 7, 4) + "\n";
    EXPECT_EQ(folder.run().LAMBDA(w), s.LAMBDA);
    EXPECT_EQ(folder.run().LIMBC(w), s.LAMBDA == 0.0 ? 0.0 : boxcox_bound(s.LAMBDA)) << "none for the logarithm";
  }
  EXPECT_EQ(r.boxcox, expected + summary);

  const std::vector<std::string> lines = lines_of(r.boxcox);
  ASSERT_GT(lines.size(), 21u);
  for (std::size_t i : {6u, 11u, 16u, 21u}) EXPECT_EQ(lines[i], "               APROXIMACAO  1") << "line " << i + 1;
  EXPECT_EQ(lines[8], "                    LAMBDA = -2.0000000                           ASSIMETRIA = " +
                          format_real(search_boxcox_week(X, 1, kYears).approximations[0].trials[0].skewness, 9, 5));
  EXPECT_EQ(r.run, "");
}

struct StopCase {
  const char* name;
  std::vector<double> flows;  // week 2; weeks 1 and 3 are lognormal
};

void PrintTo(const StopCase& c, std::ostream* os) { *os << c.name; }

class UnsuitableExponent : public ::testing::TestWithParam<StopCase> {};

// Week 2 cannot be transformed to symmetry: its summary row is written,
// then the message to the run report and the stop; week 3 gets no row, and
// no LIMBC, though its search is in the report.
TEST_P(UnsuitableExponent, StopsAfterTheWeeksSummaryRow) {
  RunInFolder folder;
  SeriesTable X;
  set_week(X, 1, flows_symmetric_under(0.0, 4.0, 0.8, kYears));
  set_week(X, 2, GetParam().flows);
  set_week(X, 3, flows_symmetric_under(0.5, 12.0, 4.0, kYears));
  bool stopped = false;
  const Report r = run_boxcox(folder, X, 3, stopped);
  EXPECT_TRUE(stopped);
  EXPECT_EQ(r.run, kUnsuitable);

  const BoxCoxWeekSearch week2 = search_boxcox_week(X, 2, kYears);
  const std::vector<std::string> lines = lines_of(r.boxcox);
  EXPECT_EQ(lines.back(), std::string(13, ' ') + " 2  " + format_real(week2.LAMBDA, 10, 7) + "   " +
                              format_real(week2.skewness, 7, 4));
  EXPECT_NE(r.boxcox.find("SEMANA   3"), std::string::npos);
  EXPECT_EQ(folder.run().LIMBC(2), boxcox_bound(week2.LAMBDA));
  EXPECT_EQ(folder.run().LIMBC(3), 0.0);
}

std::vector<double> one_low_flow() {
  std::vector<double> flows(kYears);
  for (int i = 0; i < kYears; ++i) flows[static_cast<std::size_t>(i)] = i == 0 ? 1.0 : 100.0 + 0.05 * i;
  return flows;
}

std::vector<double> one_high_flow() {
  std::vector<double> flows(kYears);
  for (int i = 0; i < kYears; ++i) flows[static_cast<std::size_t>(i)] = i == 0 ? 1000.0 : 1.0 + 0.0001 * i;
  return flows;
}

INSTANTIATE_TEST_SUITE_P(Weeks, UnsuitableExponent,
                         ::testing::Values(StopCase{"ExponentAboveFour", one_low_flow()},
                                           StopCase{"StartNeverNegative", one_high_flow()}));

}  // namespace
}  // namespace darcalim
