#include "evaluation/percentile_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <ostream>
#include <string>
#include <vector>

#include "common/run_stop.h"
#include "tests/support/scratch_folder.h"

namespace darcalim {
namespace {

constexpr int kNsem = 52;
const char* const kFileName = "PERCENT.DAT";
const char* const kRefusal = " ERRO NA LEITURA DO ARQUIVO DE PERCENTIS ";

// Months of 5, 4, 4, 5, ... weeks (INIPER 1, 6, 10, 14, 19, 23, 27, 32, 36,
// 40, 45, 49, 53), half-years of 26 weeks (INIPER 1, 27, 53), quarters of 13
// and every week its own period.
WeekGroupings groupings() {
  WeekGroupings GRUPO;
  auto set = [&](int index, const std::vector<int>& starts) {
    WeekGrouping& g = GRUPO(index);
    g.NPER = static_cast<int>(starts.size()) - 1;
    for (int k = 1; k <= g.NPER + 1; ++k) g.INIPER(k) = starts[static_cast<std::size_t>(k - 1)];
    for (int w = 1; w <= kNsem; ++w) g.ORDSEM(w) = w;
  };
  set(kHalfYears, {1, 27, 53});
  set(kQuarters, {1, 14, 27, 40, 53});
  set(kMonthsGrouping, {1, 6, 10, 14, 19, 23, 27, 32, 36, 40, 45, 49, 53});
  std::vector<int> weeks;
  for (int w = 1; w <= kNsem + 1; ++w) weeks.push_back(w);
  set(kWeeksGrouping, weeks);
  return GRUPO;
}

// A period line: I2, tab, F4.1, tab, F4.1.
std::string period_line(int period, double lower, double upper) {
  char line[32];
  std::snprintf(line, sizeof line, "%2d\t%4.1f\t%4.1f", period, lower, upper);
  return line;
}

class PercentileFile : public ::testing::Test {
 protected:
  void write(const std::vector<std::string>& lines) const {
    std::ofstream out(folder_.path() / kFileName, std::ios::binary | std::ios::trunc);
    for (const std::string& l : lines) out << l << "\n";
  }
  void read() { read_percentile_file(folder_.path() / kFileName, groupings(), kNsem, console_, table_); }

  // The read stops the run after naming the file on the console.
  void expect_refused() {
    EXPECT_THROW(read(), RunStop);
    const std::string text = console_.str();
    const auto message = text.find(kRefusal);
    ASSERT_NE(message, std::string::npos) << text;
    EXPECT_NE(text.find(kFileName, message), std::string::npos) << text;
  }

  ScratchFolder folder_;
  std::ostringstream console_;
  PercentileTable table_;
};

TEST_F(PercentileFile, MissingFileIsRefused) { expect_refused(); }

TEST_F(PercentileFile, EmptyFileIsRefused) {
  write({});
  expect_refused();
}

TEST_F(PercentileFile, FileWithoutItsClassCodeIsRefused) {
  write({"2"});
  expect_refused();
}

struct ShortFile {
  std::string name;
  int CODPER;
  int lines;  // period lines present, one fewer than the code needs
};

void PrintTo(const ShortFile& c, std::ostream* os) { *os << c.name; }

class PercentileFileTooShort : public PercentileFile, public ::testing::WithParamInterface<ShortFile> {};

TEST_P(PercentileFileTooShort, IsRefused) {
  const ShortFile c = GetParam();
  std::vector<std::string> lines = {std::to_string(c.CODPER), "1"};
  for (int k = 1; k <= c.lines; ++k) lines.push_back(period_line(k, 10.0, 90.0));
  write(lines);
  expect_refused();
}

INSTANTIATE_TEST_SUITE_P(Codes, PercentileFileTooShort,
                         ::testing::Values(ShortFile{"Weeks", 1, kNsem - 1}, ShortFile{"Months", 2, 11},
                                           ShortFile{"Quarters", 3, 3}, ShortFile{"HalfYears", 4, 1}),
                         [](const ::testing::TestParamInfo<ShortFile>& p) { return p.param.name; });

struct BadPeriod {
  std::string name;
  int CODPER;
  int periods;
  int bad;  // the period number written on the last line
};

void PrintTo(const BadPeriod& c, std::ostream* os) { *os << c.name; }

class PercentileFileBadPeriod : public PercentileFile, public ::testing::WithParamInterface<BadPeriod> {};

TEST_P(PercentileFileBadPeriod, IsRefused) {
  const BadPeriod c = GetParam();
  std::vector<std::string> lines = {std::to_string(c.CODPER), "1"};
  for (int k = 1; k < c.periods; ++k) lines.push_back(period_line(k, 10.0, 90.0));
  lines.push_back(period_line(c.bad, 10.0, 90.0));
  write(lines);
  expect_refused();
}

INSTANTIATE_TEST_SUITE_P(Codes, PercentileFileBadPeriod,
                         ::testing::Values(BadPeriod{"MonthThirteen", 2, 12, 13}, BadPeriod{"MonthZero", 2, 12, 0},
                                           BadPeriod{"QuarterFive", 3, 4, 5}, BadPeriod{"HalfYearThree", 4, 2, 3},
                                           BadPeriod{"Week53Of52", 1, kNsem, 53}),
                         [](const ::testing::TestParamInfo<BadPeriod>& p) { return p.param.name; });

// A code outside 1..4 reads the two codes and nothing after them: the
// garbage that follows is not read and the week table keeps what it held.
TEST_F(PercentileFile, CodeOutsideOneToFourReadsNoPeriodLine) {
  for (const int CODPER : {0, 5, 9}) {
    write({std::to_string(CODPER), "3", "not a period line"});
    table_.PERCINF.fill(7.0);
    table_.PERCSUP.fill(93.0);
    ASSERT_NO_THROW(read()) << CODPER;
    EXPECT_EQ(table_.CODPER, CODPER);
    EXPECT_EQ(table_.CODCLA, 3);
    for (int t = 1; t <= kNsem; ++t) {
      EXPECT_EQ(table_.PERCINF(t), 7.0) << CODPER << " week " << t;
      EXPECT_EQ(table_.PERCSUP(t), 93.0) << CODPER << " week " << t;
    }
  }
  EXPECT_EQ(console_.str(), "");
}

struct Span {
  int first_week;
  int last_week;
  double lower;
  double upper;
};

// Month i has the pair (i + 0.5, 80 + i); the lines come in reverse order,
// so each line's own number places it.
TEST_F(PercentileFile, MonthlyFileGivesEveryWeekOfEachMonthItsPair) {
  std::vector<std::string> lines = {"2", "4"};
  for (int i = 12; i >= 1; --i) lines.push_back(period_line(i, i + 0.5, 80.0 + i));
  write(lines);
  read();
  EXPECT_EQ(table_.CODPER, 2);
  EXPECT_EQ(table_.CODCLA, 4);
  const std::vector<Span> months = {{1, 5, 1.5, 81.0},    {6, 9, 2.5, 82.0},    {10, 13, 3.5, 83.0},
                                    {14, 18, 4.5, 84.0},  {19, 22, 5.5, 85.0},  {23, 26, 6.5, 86.0},
                                    {27, 31, 7.5, 87.0},  {32, 35, 8.5, 88.0},  {36, 39, 9.5, 89.0},
                                    {40, 44, 10.5, 90.0}, {45, 48, 11.5, 91.0}, {49, 52, 12.5, 92.0}};
  for (const Span& s : months) {
    for (int t = s.first_week; t <= s.last_week; ++t) {
      EXPECT_DOUBLE_EQ(table_.PERCINF(t), s.lower) << "week " << t;
      EXPECT_DOUBLE_EQ(table_.PERCSUP(t), s.upper) << "week " << t;
    }
  }
  EXPECT_EQ(console_.str(), "");
}

TEST_F(PercentileFile, HalfYearFileGivesEachHalfItsPair) {
  write({"4", "2", period_line(2, 2.5, 97.5), period_line(1, 5.0, 95.0)});
  read();
  for (int t = 1; t <= 26; ++t) {
    EXPECT_DOUBLE_EQ(table_.PERCINF(t), 5.0) << "week " << t;
    EXPECT_DOUBLE_EQ(table_.PERCSUP(t), 95.0) << "week " << t;
  }
  for (int t = 27; t <= kNsem; ++t) {
    EXPECT_DOUBLE_EQ(table_.PERCINF(t), 2.5) << "week " << t;
    EXPECT_DOUBLE_EQ(table_.PERCSUP(t), 97.5) << "week " << t;
  }
}

}  // namespace
}  // namespace darcalim
