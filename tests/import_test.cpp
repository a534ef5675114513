// darcalim-import as a command on real daily records (tests/daily), its
// histories read back by the program's own reader and checked against what
// is known of each record; the Wuerzburg case it makes is run by the program
// and forecasts what the shipped case forecasts.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "common/flow_history.h"
#include "driver/history_file.h"
#include "tests/support/child_process.h"
#include "tests/support/file_text.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/shell_command.h"

namespace darcalim {
namespace {

namespace fs = std::filesystem;

const std::string kImport = DARCALIM_IMPORT_EXE;
const std::string kDaily = DARCALIM_DAILY_DIR;
const fs::path kWuerzburgCase = fs::path(DARCALIM_CASES_DIR) / "s01_wuerzburg_o2";

CommandOutcome import(const std::string& arguments, const fs::path& scratch) {
  return run_shell_command("'" + kImport + "' " + arguments, scratch);
}

// A history file read by the program, as for a forecast in `forecast_year`.
struct ProgramHistory {
  std::ostringstream console, errors;
  FlowHistory history;
  explicit ProgramHistory(const fs::path& path)
      : history(read_history(path.parent_path(), path.filename().string(), 52, console, errors)) {}
  const FlowHistory& h() const { return history; }
  double flow(int year, int week) const { return history.HISTORICO(history.row_of(year), week); }
};

// The numbers of a line after its first `skip` words.
std::vector<double> numbers(const std::string& line, std::size_t skip) {
  std::istringstream in(line);
  std::vector<double> out;
  std::string word;
  for (std::size_t i = 0; in >> word; ++i) {
    if (i >= skip) out.push_back(std::stod(word));
  }
  return out;
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Wuerzburg 1951-2010 up to week 25 of 2010, as the shipped case's history
// was made: the weekly means agree with it within its rounding to whole m3/s.
TEST(ImportEndToEnd, WuerzburgAgreesWithTheShippedHistoryAndForecastsAsTheShippedCase) {
  ScratchFolder scratch;
  const std::string record = kDaily + "/wuerzburg/Discharge_wuerzburg.csv";
  const std::string common = "'" + record + "' --unit m3/s --code 14 --first 1951 --last 2010 --until 2010-06-18 ";
  const CommandOutcome precise =
      import(common + "--decimals 3 --history '" + (scratch.path() / "PRECISE.DAT").string() + "'", scratch.path());
  ASSERT_EQ(precise.status, 0) << precise.err;
  const CommandOutcome whole = import(common +
                                          "--name 'MAIN AT WUERZBURG (DE) - DAILY MEANS M3/S' --start-month 11 "
                                          "--new-case '" +
                                          (scratch.path() / "case").string() + "'",
                                      scratch.path());
  ASSERT_EQ(whole.status, 0) << whole.err;
  EXPECT_EQ(whole.err, "");  // no week filled

  const ProgramHistory shipped(kWuerzburgCase / "input" / "HIST1.DAT");
  const ProgramHistory means(scratch.path() / "PRECISE.DAT");
  const ProgramHistory imported(scratch.path() / "case" / "HIST1.DAT");
  ASSERT_EQ(means.h().first_year, 1951);
  ASSERT_EQ(means.h().last_year, 2010);
  int ties = 0;
  for (int year = 1951; year <= 2010; ++year) {
    for (int week = 1; week <= 52; ++week) {
      const double mean = means.flow(year, week);
      const double reference = shipped.flow(year, week);
      ASSERT_LE(std::abs(mean - reference), 0.5005) << year << " week " << week;
      // Whole m3/s as the shipped file, but for a mean halfway between two
      // (rounded to the even one here).
      if (std::abs(std::abs(mean - reference) - 0.5) < 1e-9) {
        ++ties;
        ASSERT_LE(std::abs(imported.flow(year, week) - reference), 1.0);
      } else {
        ASSERT_EQ(imported.flow(year, week), reference) << year << " week " << week;
      }
    }
  }
  EXPECT_LT(ties, 20);
  EXPECT_EQ(file_text(scratch.path() / "case" / "CASO1.DAT"), file_text(kWuerzburgCase / "input" / "CASO1.DAT"));
  EXPECT_EQ(file_text(scratch.path() / "case" / "CASO.DAT"), file_text(kWuerzburgCase / "input" / "CASO.DAT"));

  // The program runs the imported case to a normal end, with the forecast of
  // the shipped case within what the rounded weeks move it.
  ASSERT_EQ(run_process(DARCALIM_EXE, {}, scratch.path() / "case"), 0);
  EXPECT_EQ(file_text(scratch.path() / "case" / "RUNSTATE.DAT"),
            file_text(kWuerzburgCase / "expected" / "RUNSTATE.DAT"));
  const auto forecast = lines_of(file_text(scratch.path() / "case" / "PREVS.DAT"));
  const auto expected = lines_of(file_text(kWuerzburgCase / "expected" / "PREVS.DAT"));
  ASSERT_EQ(forecast.size(), 4u);
  ASSERT_EQ(expected.size(), 4u);
  EXPECT_EQ(forecast[1].substr(0, 24), expected[1].substr(0, 24));  // station, year, month, week
  for (std::size_t line = 1; line < 4; ++line) {
    const auto got = numbers(forecast[line], line == 1 ? 4 : 2);
    const auto want = numbers(expected[line], line == 1 ? 4 : 2);
    ASSERT_EQ(got.size(), 6u);
    for (std::size_t lead = 0; lead < 6; ++lead) EXPECT_NEAR(got[lead], want[lead], 1.0) << forecast[line];
  }
}

// Larned in ft3/s (the column and its unit found from the header): the
// intermittent river of its source, 772 of the 988 weekly means of 2000-2018
// rounding to 0 m3/s, which the import says.
TEST(ImportEndToEnd, LarnedInCubicFeetRoundsToZeroAsItsSourceSays) {
  ScratchFolder scratch;
  const fs::path history = scratch.path() / "LARNED.DAT";
  const CommandOutcome o = import("'" + kDaily +
                                      "/larned/Historical_Larned_ArkFlow.CSV' --code 7141220 --first 2000 "
                                      "--last 2018 --history '" +
                                      history.string() + "'",
                                  scratch.path());
  ASSERT_EQ(o.status, 0) << o.err;
  EXPECT_NE(o.err.find("weeks with a flow are written as 0 by the rounding to 0 decimals (--decimals keeps them)"),
            std::string::npos);
  const ProgramHistory read(history);
  int zeros = 0;
  for (int year = 2000; year <= 2018; ++year) {
    for (int week = 1; week <= 52; ++week) zeros += read.flow(year, week) == 0.0 ? 1 : 0;
  }
  EXPECT_EQ(zeros, 772);
}

// Knik 1960-1987, every day observed: mean weekly flow about 196 m3/s, up to
// 3381. From 1988 on the record has years without data: refused, naming the
// gap, and nothing written.
TEST(ImportEndToEnd, KnikAgreesWithItsSourceAndItsLongGapIsRefused) {
  ScratchFolder scratch;
  const std::string record = "'" + kDaily + "/knik/knik-river.csv' --unit cfs --code 15281000 ";
  const fs::path history = scratch.path() / "KNIK.DAT";
  const CommandOutcome o =
      import(record + "--first 1960 --last 1987 --history '" + history.string() + "'", scratch.path());
  ASSERT_EQ(o.status, 0) << o.err;
  const ProgramHistory read(history);
  double sum = 0.0;
  double largest = 0.0;
  for (int year = 1960; year <= 1987; ++year) {
    for (int week = 1; week <= 52; ++week) {
      sum += read.flow(year, week);
      largest = std::max(largest, read.flow(year, week));
    }
  }
  EXPECT_NEAR(sum / (28 * 52), 196.0, 0.5);
  EXPECT_EQ(largest, 3381.0);

  const fs::path longer = scratch.path() / "LONGER.DAT";
  const CommandOutcome refused = import(record + "--first 1960 --history '" + longer.string() + "'", scratch.path());
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("191 weeks in a row are not observed (fewer than 4 days with a flow): 1988 week 6 "
                             "(1988-01-30 to 1988-02-05) to 1991 week 39"),
            std::string::npos)
      << refused.err;
  EXPECT_FALSE(fs::exists(longer));
}

}  // namespace
}  // namespace darcalim
