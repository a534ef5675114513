#include "stats/series_statistics_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/run_stop.h"
#include "tests/support/flow_fixtures.h"

namespace darcalim {
namespace {

using testing::lines_of;
using testing::RunInFolder;

constexpr int kNSEM = 52;

// Groupings of a year of 52 weeks in calendar order: halves of 26 weeks,
// quarters of 13, months of 5, 4, 4 weeks, single weeks.
void set_groupings(Run& run) {
  const std::vector<std::vector<int>> lengths = {
      {26, 26}, {13, 13, 13, 13}, {5, 4, 4, 5, 4, 4, 5, 4, 4, 5, 4, 4}, std::vector<int>(kNSEM, 1)};
  for (int g = 1; g <= kGroupings; ++g) {
    WeekGrouping& grouping = run.GRUPO(g);
    const std::vector<int>& period_lengths = lengths[static_cast<std::size_t>(g - 1)];
    grouping.NPER = static_cast<int>(period_lengths.size());
    grouping.INIPER(1) = 1;
    for (int p = 1; p <= grouping.NPER; ++p) grouping.INIPER(p + 1) = grouping.INIPER(p) + period_lengths[static_cast<std::size_t>(p - 1)];
    for (int t = 1; t <= kNSEM; ++t) grouping.ORDSEM(t) = t;
  }
}

// Flows 100 + t + (-1)^y over years 1..6: week t has mean 100 + t and
// standard deviation 1; a lag within the year correlates at 1, one reaching
// into the year before at -5/6 under the grouping by weeks.
void prepare(Run& run) {
  run.CASO.NSEM = kNSEM;
  run.JANELA(1) = Window{1, 6};
  set_groupings(run);
  for (int y = 1; y <= 6; ++y) {
    for (int t = 1; t <= kNSEM; ++t) run.history.HISTORICO(y, t) = 100.0 + t + (y % 2 == 0 ? 1.0 : -1.0);
  }
}

// ESTAT on the history over window 1, into the statistics of the series.
void estat(Run& run, int series_index, const std::string& title) {
  ESTAT({run.history.HISTORICO, run.JANELA(1), run.GRUPO, run.CASO.NSEM}, title, run.stats(series_index, 1),
        run.run_report);
}

std::string lag_captions(const std::string& lead) {
  std::string line = lead;
  for (int k = 1; k <= 10; ++k) line += std::string("  \xE7(") + (k < 10 ? " " : "") + std::to_string(k) + ")";
  return line;
}

std::string repeat(const std::string& field, int times) {
  std::string s;
  for (int i = 0; i < times; ++i) s += field;
  return s;
}

TEST(ESTAT, WritesTheSectionAsLaidOut) {
  RunInFolder folder;
  darcalim::Run& run = folder.run();
  prepare(run);
  estat(run, 2, "SERIE SEM TRANSFORMACAO");
  const std::vector<std::string> lines = lines_of(folder.file_text("CASO1.REL"));

  const std::vector<std::string> head = {
      "",
      "  SERIE SEM TRANSFORMACAO",
      "",
      "  --> ESTATISTICAS ANUAIS",
      "",
      "     MEDIA D.PADRAO                         FUNCAO DE AUTO-CORRELACAO",
      lag_captions("        \xE6       \xE5   "),
      "",
      // mean 126.5, deviation sqrt(225.25 + 1), lag k (6 (52 - k) - 5 k) / 312
      "     126.5    15.0     0.96   0.93   0.89   0.86   0.82   0.79   0.75   0.72   0.68   0.65",
      "",
      "  --> ESTATISTICAS SEMANAIS",
      "",
      " SEM  MEDIA D.PADRAO              FUNCAO DE AUTO-CORRELACAO  (PERIODICIDADE: 52)",
      lag_captions("         \xE6       \xE5   "),
      "",
      "   1  101.0     1.0  " + repeat("  -0.83", 10),
  };
  ASSERT_GE(lines.size(), head.size());
  for (std::size_t i = 0; i < head.size(); ++i) EXPECT_EQ(lines[i], head[i]) << "line " << i + 1;
  EXPECT_EQ(lines[head.size() + 3], "   5  105.0     1.0  " + repeat("   1.00", 4) + repeat("  -0.83", 6));
  EXPECT_EQ(lines[head.size() + 50], "  52  152.0     1.0  " + repeat("   1.00", 10));

  // Then half-years, quarters and months, each a header and 52 rows.
  std::size_t at = head.size() + 51;
  for (const char* periods : {" 2", " 4", "12"}) {
    ASSERT_GE(lines.size(), at + 3 + kNSEM);
    EXPECT_EQ(lines[at], "");
    EXPECT_EQ(lines[at + 1], std::string(34, ' ') + "FUNCAO DE AUTO-CORRELACAO  (PERIODICIDADE: " + periods + ")");
    EXPECT_EQ(lines[at + 2], "");
    EXPECT_EQ(lines[at + 3].substr(0, 21), "   1" + std::string(17, ' '));
    at += 3 + kNSEM;
  }
  EXPECT_EQ(lines.size(), at);
  // First half-year, lag 1: 25 weeks pair within the year, week 1 with the
  // year before: (25 x 6 - 5) / (6 x 26) = 0.9295.
  EXPECT_EQ(lines[head.size() + 54].substr(21, 7), "   0.93");

  const SeriesStatistics& s = run.stats(2, 1);
  EXPECT_EQ(s.MEDSEM(1), 101.0);
  EXPECT_EQ(s.VARSEM(52), 1.0);
  EXPECT_EQ(s.MEDGER, 126.5);
  EXPECT_DOUBLE_EQ(s.FACPER(1, 1, kWeeksGrouping), -5.0 / 6.0);
  EXPECT_DOUBLE_EQ(s.FACANU(1), 301.0 / 312.0);
}

TEST(ESTAT, LeavesOutGroupingsSwitchedOff) {
  RunInFolder folder;
  darcalim::Run& run = folder.run();
  prepare(run);
  run.GRUPO(kQuarters).enabled = false;
  run.stats(1, 1).FACPER(1, 1, kQuarters) = 9.0;
  estat(run, 1, "SERIE COM TRANSFORMACAO");
  const std::string text = folder.file_text("CASO1.REL");
  EXPECT_NE(text.find("(PERIODICIDADE:  2)"), std::string::npos);
  EXPECT_EQ(text.find("(PERIODICIDADE:  4)"), std::string::npos);
  EXPECT_NE(text.find("(PERIODICIDADE: 12)"), std::string::npos);
  EXPECT_EQ(run.stats(1, 1).FACPER(1, 1, kQuarters), 9.0);
}

// A week with one flow over the window: its message alone, then the stop.
TEST(ESTAT, StopsOnAWeekOfZeroVarianceWithItsMessage) {
  RunInFolder folder;
  darcalim::Run& run = folder.run();
  prepare(run);
  for (int y = 1; y <= 6; ++y) run.history.HISTORICO(y, 7) = 250.0;
  EXPECT_THROW(estat(run, 1, "SERIE SEM TRANSFORMACAO"), RunStop);
  EXPECT_EQ(folder.file_text("CASO1.REL"), "***** ENCONTRADO VARIANCIA NULA PARA A SEMANA   7 *****\n\n");
  EXPECT_EQ(folder.console(), "");
  EXPECT_EQ(run.stats(1, 1).MEDSEM(6), 106.0);
}

}  // namespace
}  // namespace darcalim
