#include "driver/history_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "common/run_stop.h"
#include "tests/support/scratch_folder.h"

namespace darcalim {
namespace {

// A history of `years` rows from 1911, every flow of year y and week w
// written as y * 100 + w, nine to a line.
std::string history_text(int years, int weeks, const std::string& line_end = "\n") {
  std::ostringstream text;
  text << "       14TEST STATION" << line_end << " 1911" << (1910 + years < 10000 ? " " : "") << 1910 + years
       << "    604.8" << line_end;
  for (int y = 1; y <= years; ++y) {
    for (int w = 1; w <= weeks; ++w) {
      std::string field = std::to_string(y * 100 + w) + ".";
      text << std::string(8 - field.size(), ' ') << field;
      if (w % 9 == 0 || w == weeks) text << line_end;
    }
  }
  return text.str();
}

// The file HIST1.DAT of a scratch folder, read as a history of `weeks` weeks a year.
struct HistoryRead {
  ScratchFolder folder;
  std::ostringstream console;
  std::ostringstream errors;
  FlowHistory history;
  explicit HistoryRead(const std::string& text, int weeks = 52) {
    std::ofstream(folder.path() / "HIST1.DAT", std::ios::binary) << text;
    history = read_history(folder.path(), "HIST1.DAT   ", weeks, console, errors);
  }
  double flow(int row, int week) const { return history.HISTORICO(row, week); }
};

TEST(HistoryFile, HundredYearsOf53WeeksWithCrLfAndAByteOrderMark) {
  HistoryRead h("\xEF\xBB\xBF" + history_text(100, 53, "\r\n"), 53);
  EXPECT_EQ(h.history.NANOSARQ, 100);
  EXPECT_EQ(h.history.station_code, 14);
  EXPECT_EQ(h.flow(1, 1), 101.0);
  EXPECT_EQ(h.flow(100, 53), 10053.0);
  EXPECT_EQ(h.errors.str(), "");
}

TEST(HistoryFile, EndingMidLineReadsZerosAndWarns) {
  std::string text = history_text(10, 52);
  text.resize(text.find("  305.") + 3);  // year 3 ends in the middle of week 5
  HistoryRead h(text);
  EXPECT_EQ(h.flow(3, 4), 304.0);
  EXPECT_EQ(h.flow(3, 5), 3.0);  // "305." cut to "3"
  EXPECT_EQ(h.flow(3, 6), 0.0);
  EXPECT_EQ(h.flow(4, 1), 0.0);
  EXPECT_EQ(h.errors.str(),
            "darcalim: HIST1.DAT: the file ends at line 15 (year 1913, week 9); years 1914-1920 declared on line 2 "
            "have no flows and are read as zero\n");
}

}  // namespace
}  // namespace darcalim
