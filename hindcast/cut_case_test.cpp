#include "hindcast/cut_case.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
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

// ------------------------------------------------------------ the case --

void write(const std::filesystem::path& file, const std::string& text) {
  std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
}

std::string joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& l : lines) text += l + "\n";
  return text;
}

// A case folder: three years of 52 weeks, the last observed to week 20, the
// history in a subfolder and a percentile file.
void write_case(const std::filesystem::path& folder) {
  std::filesystem::create_directory(folder / "data");
  auto lines = case_lines();
  lines[2] = "data/H.DAT";
  write(folder / "CASO.DAT", "CASO1.DAT\n");
  write(folder / "CASO1.DAT", joined(lines));
  auto flows = history(3, 52);
  for (std::size_t i = 2 + 12 + 2; i < flows.size(); ++i) {
    for (std::size_t k = (i == 2 + 12 + 2 ? 2 : 0); k < 9; ++k) flows[i].replace(k * 8, 8, kZero);
  }
  write(folder / "data" / "H.DAT", joined(flows));
  write(folder / "PERC1.DAT", "percentiles\r\n");
}

TEST(HindcastCase, ReadsTheSettingsTheFlowsAndWhatWasObserved) {
  ScratchFolder scratch;
  write_case(scratch.path());
  const HindcastCase c = read_hindcast_case(scratch.path());
  EXPECT_EQ(c.station_code, 14);
  EXPECT_EQ(c.station_name, "MAIN AT WUERZBURG");
  EXPECT_EQ(c.first_year, 2001);
  EXPECT_EQ(c.last_year, 2003);
  EXPECT_EQ(c.weeks_per_year, 52);
  EXPECT_EQ(c.confidence_level, 95);
  EXPECT_EQ(c.last_observed_week, 20);
  EXPECT_EQ(c.flow(2002, 7), 207.5);
  EXPECT_TRUE(c.observed(2003, 20));
  EXPECT_FALSE(c.observed(2003, 21));
  EXPECT_FALSE(c.observed(2004, 1));
  EXPECT_FALSE(c.observed(2000, 52));
  EXPECT_EQ(c.flow_before(2002, 1), c.flow(2001, 52));
  EXPECT_FALSE(c.flow_before(2001, 1));
  EXPECT_EQ(c.mean_before(2003, 5), (105.5 + 205.5) / 2);
  EXPECT_FALSE(c.mean_before(2001, 5));

  // The cut folder: every file under its plain name, the case pointing at it.
  ScratchFolder cut;
  write_cut_case(c, {2002, 26}, cut.path());
  EXPECT_EQ(file_text(cut.path() / "CASO.DAT"), "CASO1.DAT\n");
  EXPECT_EQ(file_text(cut.path() / "PERC1.DAT"), "percentiles\r\n");
  const auto cut_case = text_lines(file_text(cut.path() / "CASO1.DAT"));
  EXPECT_EQ(cut_case.at(2), "H.DAT");
  EXPECT_EQ(cut_case.at(15), "PERC1.DAT");
  EXPECT_EQ(file_text(cut.path() / "H.DAT"), cut_history_text(c.history_lines, 52, 2001, {2002, 26}));
}

TEST(HindcastCase, RefusesWhatCannotBeRead) {
  struct Case {
    const char* what;
    std::string file, text, message;
  };
  const Case cases[] = {
      {"no case data file", "CASO.DAT", "NONE.DAT\n", "NONE.DAT"},
      {"a case the program refuses", "CASO1.DAT", joined({"CASO1.REL", "S", "data/H.DAT", "9"}), "CASO1.DAT, line 4"},
      {"no history", "data/H.DAT", "", "H.DAT, line 1: the station code and name is missing"},
      {"years backwards", "data/H.DAT", "       14X\n 2003 2001    604.8\n", "H.DAT, line 2: the years 2003-2001"},
      {"a bad flow", "data/H.DAT", "       14X\n 2001 2003    604.8\n     1O2.\n",
       "H.DAT, line 3 (year 2001, week 1): \"1O2\" is not a number"},
      {"no percentile file", "PERC1.DAT", "", "PERC1.DAT: the percentile file not found"},
  };
  for (const Case& k : cases) {
    ScratchFolder scratch;
    write_case(scratch.path());
    if (k.text.empty()) {
      std::filesystem::remove(scratch.path() / k.file);
      if (k.file == "data/H.DAT") write(scratch.path() / k.file, "");
    } else {
      write(scratch.path() / k.file, k.text);
    }
    try {
      read_hindcast_case(scratch.path());
      ADD_FAILURE() << k.what << ": not refused";
    } catch (const CaseError& error) {
      EXPECT_NE(std::string(error.what()).find(k.message), std::string::npos) << k.what << ": " << error.what();
    }
  }
}

}  // namespace
}  // namespace darcalim::hindcast
