#include "import/history_table.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "common/flow_history.h"
#include "driver/history_file.h"
#include "driver/history_file.h"
#include "import/import_error.h"
#include "tests/support/file_text.h"
#include "tests/support/scratch_folder.h"

namespace darcalim::import {
namespace {

// The history file `name` of `folder` read by the program's own reader.
struct ProgramReading {
  std::ostringstream console, errors;
  FlowHistory history;
  ProgramReading(const std::filesystem::path& folder, const std::string& name, int weeks)
      : history(read_history(folder, name, weeks, console, errors)) {}
  double flow(int row, int week) const { return history.HISTORICO(row, week); }
};

TEST(HistoryTable, WhatItWritesTheProgramReadsBack) {
  for (const int weeks : {52, 53}) {
    SCOPED_TRACE(weeks);
    HistoryTable table(12345678, "RIVER AT A STATION WITH A NAME LONGER THAN SIXTY CHARACTERS, CUT", 1.5, weeks);
    table.set({2009, 1}, 12.4, 0);
    table.set({2010, weeks}, 999999.4, 0);  // the largest whole flow of seven columns
    table.set({2011, 2}, 0.125, 3);
    ScratchFolder folder;
    std::ofstream(folder.path() / "H.DAT", std::ios::binary) << table.text();
    const ProgramReading read(folder.path(), "H.DAT", weeks);
    EXPECT_EQ(read.errors.str(), "");
    EXPECT_EQ(read.history.station_code, 12345678);
    EXPECT_EQ(read.history.station_name, "RIVER AT A STATION WITH A NAME LONGER THAN SIXTY CHARACTERS,");
    EXPECT_EQ(read.history.FAC, 1.5);
    EXPECT_EQ(read.history.first_year, 2009);
    EXPECT_EQ(read.history.last_year, 2011);
    EXPECT_EQ(read.flow(1, 1), 12.0);
    EXPECT_EQ(read.flow(1, 2), 0.0);
    EXPECT_EQ(read.flow(2, weeks), 999999.0);
    EXPECT_EQ(read.flow(3, 2), 0.125);
    EXPECT_EQ(table.flow({2011, 2}), 0.125);
  }
}

TEST(HistoryTable, RefusesWhatTheLayoutCannotHold) {
  HistoryTable table(14, "X", 604.8, 52);
  EXPECT_THROW(table.set({2010, 1}, 1000000.0, 0), ImportError);  // eight digits
  EXPECT_THROW(table.set({2010, 1}, 10000.0, 3), ImportError);    // 10000.000 in seven columns
  EXPECT_THROW(HistoryTable(123456789, "X", 604.8, 52), ImportError);
  EXPECT_THROW(HistoryTable(14, "X", 1.0e-10, 52), ImportError);  // FAC in nine columns
  EXPECT_EQ(factor_text(604.8), "604.8");
  EXPECT_EQ(factor_text(1.0), "1.");
}

// A shipped history read and written again is the same file, byte for byte.
TEST(HistoryTable, AHistoryReadIsWrittenAgainAsItWas) {
  const std::string path = std::string(DARCALIM_CASES_DIR) + "/s01_wuerzburg_o2/input/HIST1.DAT";
  const HistoryTable table = HistoryTable::read(path, 52);
  EXPECT_EQ(table.text(), file_text(path));
  EXPECT_EQ(table.station_code(), 14);
  EXPECT_EQ(table.first_year(), 1951);
  EXPECT_EQ(table.last_year(), 2010);
  EXPECT_EQ(table.last_observed(), (HistoryCell{2010, 25}));
}

TEST(HistoryTable, ReadingRefusesAFileThatIsNotOfItsWeeks) {
  HistoryTable of_53(14, "X", 604.8, 53);
  of_53.set({2001, 53}, 5.0, 0);
  of_53.set({2002, 1}, 5.0, 0);
  HistoryTable of_52(14, "X", 604.8, 52);
  of_52.set({2001, 52}, 5.0, 0);
  of_52.set({2002, 1}, 5.0, 0);
  struct Case {
    std::string text;
    int weeks;
    std::string message;  // after the file name
  };
  const Case cases[] = {
      {of_53.text(), 52, ", line 8: more than 7 flows for 2001; is it a history of 53 weeks a year? (--weeks)"},
      {of_52.text(), 53, ", line 8: no flow for week 53 of 2001; is it a history of 52 weeks a year? (--weeks)"},
      {of_52.text().substr(0, of_52.text().size() - 60), 52,
       ": the file ends at line 13, before the flows of 2002 that line 2 declares"},
      {"       14X\n 2001 2001    604.8\n     1.x\n", 52,
       ", line 3, column 2 (year 2001, week 1): \"1.x\" is not a number"},
      {"       14X\n 20O1 2001    604.8\n", 52, ", line 2: the years and factor cannot be read (\" 20O1\")"},
  };
  ScratchFolder folder;
  for (const Case& c : cases) {
    const std::string path = (folder.path() / "H.DAT").string();
    std::ofstream(path, std::ios::binary) << c.text;
    try {
      HistoryTable::read(path, c.weeks);
      ADD_FAILURE() << "no refusal of\n" << c.text;
    } catch (const ImportError& e) {
      EXPECT_EQ(std::string(e.what()), path + c.message);
    }
  }
}

}  // namespace
}  // namespace darcalim::import
