#include "hindcast/cut_case.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/file_text.h"
#include "tests/support/scratch_folder.h"

namespace darcalim::hindcast {
namespace {

// A flow field as a history file may write it: " %7.1f", so that a field
// kept verbatim shows its decimal.
std::string field(int year, int week) {
  char text[16];
  std::snprintf(text, sizeof text, " %7.1f", year % 100 * 100 + week + 0.5);
  return text;
}

constexpr const char* kZero = "      0.";

// History lines: header, then `years` years from 2001 of `nsem` weeks, nine
// fields a line.
std::vector<std::string> history(int years, int nsem) {
  std::vector<std::string> lines{"       14MAIN AT WUERZBURG", " 2001 " + std::to_string(2000 + years) + "    604.8"};
  for (int y = 2001; y < 2001 + years; ++y) {
    std::string line;
    for (int w = 1; w <= nsem; ++w) {
      line += field(y, w);
      if (w % 9 == 0 || w == nsem) {
        lines.push_back(line);
        line.clear();
      }
    }
  }
  return lines;
}

// The lines of the expected cut: every week up to the issue week from
// `weeks_of`, zeros after.
std::string expected_cut(const std::vector<std::string>& header, int issue_year, int issue_week, int nsem) {
  std::string text = header[0] + "\n" + header[1] + "\n";
  for (int y = 2001; y <= issue_year; ++y) {
    for (int w = 1; w <= nsem; ++w) {
      text += y < issue_year || w < issue_week ? field(y, w) : kZero;
      if (w % 9 == 0 || w == nsem) text += "\n";
    }
  }
  return text;
}

TEST(CutHistory, KeepsTheFieldsBeforeTheForecastWeekAndZerosTheRest) {
  struct Case {
    const char* what;
    int years, nsem, issue_year, issue_week;
    const char* line2;
  };
  const Case cases[] = {
      {"week 26 of a middle year", 3, 52, 2002, 26, " 2001 2002    604.8"},
      {"week 1: the issue year all zero", 3, 52, 2002, 1, " 2001 2002    604.8"},
      {"week 10 of the last year", 3, 52, 2003, 10, " 2001 2003    604.8"},
      {"week 53 of a 53-week case", 2, 53, 2002, 53, " 2001 2002    604.8"},
      {"week 46 of a 53-week case (a line of eight)", 2, 53, 2001, 46, " 2001 2001    604.8"},
  };
  for (const Case& c : cases) {
    const auto lines = history(c.years, c.nsem);
    EXPECT_EQ(cut_history_text(lines, c.nsem, 2001, {c.issue_year, c.issue_week}),
              expected_cut({lines[0], c.line2}, c.issue_year, c.issue_week, c.nsem))
        << c.what;
  }
}

TEST(CutHistory, ShortLinesAndAnEarlyEndAreWrittenOutInFull) {
  auto lines = history(2, 52);
  lines[1] = " 2001 2003";         // no factor: its columns stay blank
  lines[2 + 6 + 2].resize(4 * 8);  // 2002, weeks 19..27: only 19..22 written
  lines.resize(2 + 6 + 4);         // the file ends after 2002 week 36, and 2003 is missing
  const std::string cut = cut_history_text(lines, 52, 2001, {2003, 2});
  std::string expected = lines[0] + "\n 2001 2003\n";
  for (int w = 1; w <= 52; ++w) {
    expected += field(2001, w);
    if (w % 9 == 0 || w == 52) expected += "\n";
  }
  for (int w = 1; w <= 52; ++w) {
    expected += (w >= 23 && w <= 27) || w > 36 ? "        " : field(2002, w);
    if (w % 9 == 0 || w == 52) expected += "\n";
  }
  expected += "        " + std::string(kZero) + kZero + kZero + kZero + kZero + kZero + kZero + kZero + "\n";
  for (int l = 0; l < 4; ++l)
    expected += std::string(kZero) + kZero + kZero + kZero + kZero + kZero + kZero + kZero + kZero + "\n";
  expected += std::string(kZero) + kZero + kZero + kZero + kZero + kZero + kZero + "\n";
  EXPECT_EQ(cut, expected);
}

std::vector<std::string> case_lines() {
  return {"CASO1.REL", "S", "HIST1.DAT",    "2",    "11",  "PREVS.DAT", "RANK1.CSV", " 95", "26",
          "2010",      "0", "VAZPASTS.DAT", "2009", " 14", "1",         "PERC1.DAT", "0"};
}

TEST(CutCase, SetsTheWeekYearAndTrendAndKeepsTheRest) {
  std::vector<std::string> expected = case_lines();
  expected[8] = " 3";
  expected[9] = "1987";
  expected[10] = "1";
  expected[11] = "";
  expected[12] = "";
  std::string text;
  for (const auto& l : expected) text += l + "\n";
  EXPECT_EQ(cut_case_text(case_lines(), {1987, 3}, "HIST1.DAT", ""), text);

  expected[2] = "H.DAT";
  expected[15] = "P.DAT";
  text.clear();
  for (const auto& l : expected) text += l + "\n";
  EXPECT_EQ(cut_case_text(case_lines(), {1987, 3}, "H.DAT", "P.DAT"), text);
  EXPECT_EQ(plain_file_name("../data/HIST1.DAT"), "HIST1.DAT");
  EXPECT_EQ(plain_file_name("HIST1.DAT"), "HIST1.DAT");
}

TEST(CutCase, WritesEveryFileUnderItsPlainName) {
  HindcastCase c;
  c.case_file_name = "cases/CASO1.DAT";
  c.case_lines = case_lines();
  c.case_lines[2] = "data/H.DAT";
  c.history_name = "data/H.DAT";
  c.history_lines = history(3, 52);
  c.percentile_name = "PERC1.DAT";
  c.percentile_text = "percentiles\r\n";
  c.first_year = 2001;
  ScratchFolder cut;
  write_cut_case(c, {2002, 26}, cut.path());
  EXPECT_EQ(file_text(cut.path() / "CASO.DAT"), "CASO1.DAT\n");
  EXPECT_EQ(file_text(cut.path() / "PERC1.DAT"), "percentiles\r\n");
  auto expected_case = case_lines();
  expected_case[2] = "H.DAT";
  std::string expected_text = cut_case_text(expected_case, {2002, 26}, "H.DAT", "");
  EXPECT_EQ(file_text(cut.path() / "CASO1.DAT"), expected_text);
  EXPECT_EQ(file_text(cut.path() / "H.DAT"), cut_history_text(c.history_lines, 52, 2001, {2002, 26}));
}

}  // namespace
}  // namespace darcalim::hindcast
