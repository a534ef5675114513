#include "hindcast/hindcast_case.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/scratch_folder.h"

namespace darcalim::hindcast {
namespace {

constexpr const char* kZero = "      0.";

void write(const std::filesystem::path& file, const std::string& text) {
  std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
}

std::string joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& l : lines) text += l + "\n";
  return text;
}

// Week w of year y flows y % 100 * 100 + w + 0.5, written " %7.1f".
std::vector<std::string> history_lines() {
  std::vector<std::string> lines{"       14MAIN AT WUERZBURG", " 2001 2003    604.8"};
  for (int y = 2001; y <= 2003; ++y) {
    std::string line;
    for (int w = 1; w <= 52; ++w) {
      char field[16];
      std::snprintf(field, sizeof field, " %7.1f", y % 100 * 100 + w + 0.5);
      line += field;
      if (w % 9 == 0 || w == 52) {
        lines.push_back(line);
        line.clear();
      }
    }
  }
  return lines;
}

std::vector<std::string> case_lines() {
  return {"CASO1.REL", "S", "data/H.DAT",   "2",    "11",  "PREVS.DAT", "RANK1.CSV", " 95", "26",
          "2010",      "0", "VAZPASTS.DAT", "2009", " 14", "1",         "PERC1.DAT", "0"};
}

// A case folder: three years of 52 weeks, the last observed to week 20, the
// history in a subfolder and a percentile file.
void write_case(const std::filesystem::path& folder) {
  std::filesystem::create_directory(folder / "data");
  write(folder / "CASO.DAT", "CASO1.DAT\n");
  write(folder / "CASO1.DAT", joined(case_lines()));
  auto flows = history_lines();
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
  EXPECT_EQ(c.case_lines, case_lines());
  ASSERT_EQ(c.history_lines.size(), 2u + 3 * 6);
  EXPECT_EQ(c.history_lines[0], "       14MAIN AT WUERZBURG");
  EXPECT_EQ(c.percentile_text, "percentiles\r\n");
}

TEST(HindcastCase, TextLinesTakeLfAndCrLf) {
  EXPECT_EQ(text_lines("a\r\nb\n\nc"), (std::vector<std::string>{"a", "b", "", "c"}));
  EXPECT_TRUE(text_lines("").empty());
}

TEST(HindcastCase, RefusesWhatCannotBeRead) {
  struct Case {
    const char* what;
    std::string file, text, message;
  };
  const Case cases[] = {
      {"no case data file", "CASO.DAT", "NONE.DAT\n", "NONE.DAT"},
      {"a case the program refuses", "CASO1.DAT", joined({"CASO1.REL", "S", "data/H.DAT", "9"}), "CASO1.DAT, line 4"},
      {"no history", "data/H.DAT", "", "H.DAT, line 1 (station code and name): the file ends before this line"},
      {"years backwards", "data/H.DAT", "       14X\n 2003 2001    604.8\n", "H.DAT, line 2 (first and last year and factor): the last year 2001 is before the first year 2003"},
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
