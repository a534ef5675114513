#include "import/import_command.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "common/flow_history.h"
#include "driver/calendar.h"
#include "driver/case_file.h"
#include "driver/history_file.h"
#include "tests/support/file_text.h"
#include "tests/support/scratch_folder.h"

namespace darcalim::import {
namespace {

namespace fs = std::filesystem;

const std::string kData = DARCALIM_IMPORT_TEST_DATA;

struct Outcome {
  int status = 0;
  std::string out, err;
};

Outcome import(const std::vector<std::string>& arguments) {
  std::ostringstream out, err;
  const int status = run_import(arguments, out, err);
  return {status, out.str(), err.str()};
}

// A CSV record in l/s from 1 January 2011, `weeks` whole weeks, each week's
// days at the flow of that week.
std::string weekly_csv(const std::vector<int>& flows) {
  std::string text = "date,discharge_l/s\n";
  for (std::size_t w = 0; w < flows.size(); ++w) {
    for (int d = 0; d < 7; ++d) {
      const int day_of_year = static_cast<int>(w) * 7 + d + 1;
      const int month = day_of_year > 31 ? 2 : 1;
      const int day = month == 2 ? day_of_year - 31 : day_of_year;
      text += "2011-0" + std::to_string(month) + "-" + (day < 10 ? "0" : "") + std::to_string(day) + "," +
              std::to_string(flows[w] * 1000) + "\n";
    }
  }
  return text;
}

TEST(ImportCommand, ANewCaseReadsBackThroughTheProgramsReaders) {
  ScratchFolder scratch;
  const fs::path folder = scratch.path() / "case";
  const Outcome o = import({kData + "/grdc_value.txt", "--new-case", folder.string(), "--level", "90"});
  ASSERT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(o.err,
            "darcalim-import: filled 2011 week 2 (2011-01-08 to 2011-01-14): 2 days with a flow, interpolated 20.000 "
            "m3/s\n");
  EXPECT_NE(file_text(folder / "HIST1.import.txt").find("Weeks filled by interpolation: 1\n  2011 week 2"),
            std::string::npos);

  std::ostringstream console, errors;
  CaseDataFile case_file = open_case_data_file(folder);
  const CaseSettings c = read_case_settings(folder, case_file);
  EXPECT_EQ(trimmed(c.report_name), "CASO1.REL");
  EXPECT_EQ(trimmed(c.history_name), "HIST1.DAT");
  EXPECT_EQ(c.TIPOTRANS, 2);
  EXPECT_EQ(c.start_month, 1);
  EXPECT_EQ(c.confidence_level, 90);
  EXPECT_EQ(c.SEMPREV, 4);  // the week after the last observed one
  EXPECT_EQ(c.ANOPREV, 2011);
  EXPECT_NE(c.trend_source, 0);
  EXPECT_EQ(c.variability_option, 0);
  EXPECT_EQ(c.NSEM, 52);
  const FlowHistory history = read_history(folder, "HIST1.DAT", c.NSEM, console, errors);
  EXPECT_EQ(history.station_code, 6335500);
  EXPECT_EQ(trimmed(history.station_name), "MAIN - WUERZBURG");
  EXPECT_EQ(history.first_year, 2011);
  EXPECT_EQ(history.last_year, 2011);
  const double flows[] = {10, 20, 30, 0};
  for (int w = 1; w <= 4; ++w) EXPECT_EQ(history.HISTORICO(1, w), flows[w - 1]) << "week " << w;
  EXPECT_EQ(errors.str(), "");

  // A folder that holds a case already is left alone.
  const std::string before = file_text(folder / "HIST1.DAT");
  const Outcome again = import({kData + "/usgs.rdb", "--new-case", folder.string()});
  EXPECT_EQ(again.status, 1);
  EXPECT_NE(again.err.find("exists already"), std::string::npos) << again.err;
  EXPECT_EQ(file_text(folder / "HIST1.DAT"), before);
}

TEST(ImportCommand, AnUpdateAddsTheNewWeeksOnlyAndIsSafeToRunTwice) {
  ScratchFolder scratch;
  const std::string history = (scratch.path() / "H.DAT").string();
  ASSERT_EQ(import({kData + "/flows.csv", "--code", "7", "--history", history}).status, 0);
  const std::string first = file_text(history);

  // Five weeks, the first one now at 11.
  const std::string longer = (scratch.path() / "longer.csv").string();
  std::ofstream(longer) << weekly_csv({11, 20, 30, 40, 50});
  Outcome o = import({longer, "--update", history});
  ASSERT_EQ(o.status, 0) << o.err;
  EXPECT_NE(o.out.find("2 weeks written, 0 rewritten"), std::string::npos) << o.out;
  const std::string second = file_text(history);
  const std::size_t week_3 = first.find("     30.");
  EXPECT_EQ(second.substr(0, week_3), first.substr(0, week_3));  // header and weeks 1, 2 as they were
  EXPECT_EQ(second.substr(week_3, 32), "     30.     40.     50.      0.");

  o = import({longer, "--update", history});
  EXPECT_EQ(o.status, 0);
  EXPECT_NE(o.out.find("nothing written"), std::string::npos) << o.out;
  EXPECT_EQ(file_text(history), second);

  // A different station or factor is refused and the file stays as it was.
  EXPECT_EQ(import({longer, "--update", history, "--code", "8"}).err,
            "darcalim-import: " + history + ": its station 7 is not the station 8 of " + longer + "\n");
  EXPECT_EQ(import({longer, "--update", history, "--fac", "1"}).status, 1);
  EXPECT_EQ(file_text(history), second);

  o = import({longer, "--update", history, "--replace"});
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_NE(o.out.find("0 weeks written, 1 rewritten"), std::string::npos) << o.out;
  EXPECT_EQ(file_text(history).substr(second.find('\n', second.find('\n') + 1) + 1, 16), "     11.     20.");
}

// Input that cannot be used is refused with exit status 1 and nothing
// written; a command line that cannot be used with exit status 2.
TEST(ImportCommand, RefusalsWriteNothing) {
  ScratchFolder scratch;
  const std::string out = (scratch.path() / "H.DAT").string();
  const std::string no_unit = (scratch.path() / "no_unit.csv").string();
  std::ofstream(no_unit) << "date,discharge\n2011-01-01,5\n";
  const std::string existing = (scratch.path() / "OLD.DAT").string();
  std::ofstream(existing) << "kept\n";
  struct Case {
    std::vector<std::string> arguments;
    int status;
    std::string message;
  };
  const std::string grdc = kData + "/grdc_value.txt";
  const Case cases[] = {
      {{no_unit, "--code", "1", "--history", out},
       1,
       "the file does not give the unit of its flows (column \"discharge\"); give it with --unit m3/s, cfs or l/s"},
      {{grdc, "--unit", "cfs", "--history", out}, 1, "the file gives its flows in m³/s, not in cfs (--unit)"},
      {{kData + "/flows.csv", "--history", out}, 1, "the file gives no station code; give one with --code N"},
      {{grdc, "--max-gap", "0", "--history", out}, 1, "more than the 0 weeks that are filled (--max-gap)"},
      {{grdc, "--history", existing}, 1, "exists already; add weeks to it with --update, or remove it first"},
      {{grdc, "--update", existing}, 1, "the header (station line and years line) is missing"},
      {{grdc}, 2, "say what to write: --history FILE, --new-case DIR or --update FILE"},
      {{"--history", out}, 2, "no daily file given"},
      {{grdc, "--history", out, "--update", existing}, 2, "go one at a time"},
      {{grdc, "--history", out, "--replace"}, 2, "--replace goes with --update"},
      {{grdc, "--history", out, "--option", "3"}, 2, "--option goes with --new-case"},
      {{grdc, "--history", out, "--weeks", "54"}, 2, "--weeks: '54' is not 52 or 53"},
      {{grdc, "--history", out, "--until", "2011-02-30"}, 2, "--until: '2011-02-30' is not a date YYYY-MM-DD"},
      {{grdc, "--history", out, "--first", "2011", "--last", "2010"}, 2, "--first is after --last"},
      {{grdc, "--history", out, "--colour"}, 2, "unrecognized option '--colour'"},
  };
  for (const Case& c : cases) {
    const Outcome o = import(c.arguments);
    EXPECT_EQ(o.status, c.status) << c.message;
    EXPECT_NE(o.err.find(c.message), std::string::npos) << o.err;
    EXPECT_FALSE(fs::exists(out)) << c.message;
    EXPECT_EQ(file_text(existing), "kept\n");
  }
}

TEST(ImportCommand, FiftyThreeWeeksTakeTheNextWeek1AfterAYearOf52) {
  // 2009 has 52 operating weeks, 2010 has 53; every day of week w of year y
  // flows at y - 2000 + w / 100 m3/s.
  ScratchFolder scratch;
  std::string text = "date,discharge\n";
  for (auto d = std::chrono::sys_days{std::chrono::year{2008} / 12 / 27};
       d <= std::chrono::sys_days{std::chrono::year{2011} / 1 / 14}; d += std::chrono::days{1}) {
    const OperatingWeek w = operating_week_of(std::chrono::year_month_day{d});
    const std::chrono::year_month_day ymd{d};
    char date[16];
    std::snprintf(date, sizeof date, "%04d-%02u-%02u", static_cast<int>(ymd.year()), static_cast<unsigned>(ymd.month()),
                  static_cast<unsigned>(ymd.day()));
    text += std::string(date) + "," + std::to_string(w.year - 2000) + "." + (w.week < 10 ? "0" : "") +
            std::to_string(w.week) + "\n";
  }
  const std::string daily = (scratch.path() / "daily.csv").string();
  std::ofstream(daily) << text;
  for (const int weeks : {52, 53}) {
    SCOPED_TRACE(weeks);
    const std::string name = "H" + std::to_string(weeks) + ".DAT";
    const Outcome o = import({daily, "--unit", "m3/s", "--code", "1", "--decimals", "2", "--weeks",
                              std::to_string(weeks), "--history", (scratch.path() / name).string()});
    ASSERT_EQ(o.status, 0) << o.err;
    std::ostringstream console, errors;
    const FlowHistory history = read_history(scratch.path(), name, weeks, console, errors);
    const auto flow = [&history](int year, int week) { return history.HISTORICO(year - 2008, week); };
    EXPECT_EQ(flow(2009, 52), 9.52);
    EXPECT_EQ(flow(2010, 52), 10.52);
    EXPECT_EQ(flow(2011, 2), 11.02);
    if (weeks == 52) {
      EXPECT_NE(file_text(scratch.path() / "H52.import.txt").find("left out (52 weeks a year): 1\n  2010 week 53"),
                std::string::npos);
    } else {
      EXPECT_EQ(flow(2009, 53), 10.01);  // the next year's week 1
      EXPECT_EQ(flow(2010, 53), 10.53);  // its own 53rd week
      EXPECT_EQ(flow(2011, 53), 0.0);
    }
  }
}

// The program holds 100 years up to the forecast year: a longer record keeps
// its last years by default, and a first year asked for before them is refused.
TEST(ImportCommand, AHistoryKeepsTheYearsUpToTheForecastYearThatTheProgramHolds) {
  ScratchFolder scratch;
  std::string text = "date,discharge\n";
  for (auto d = std::chrono::sys_days{std::chrono::year{1900} / 1 / 1};
       d <= std::chrono::sys_days{std::chrono::year{2010} / 12 / 31}; d += std::chrono::days{1}) {
    const std::chrono::year_month_day ymd{d};
    char line[32];
    std::snprintf(line, sizeof line, "%04d-%02u-%02u,5\n", static_cast<int>(ymd.year()),
                  static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()));
    text += line;
  }
  const std::string daily = (scratch.path() / "daily.csv").string();
  std::ofstream(daily) << text;
  // 2010 ends complete (its 53rd week left out): the forecast is in 2011, so
  // the history begins in 1912.
  const std::string history = (scratch.path() / "H.DAT").string();
  const Outcome o = import({daily, "--unit", "m3/s", "--code", "1", "--history", history});
  ASSERT_EQ(o.status, 0) << o.err;
  EXPECT_NE(o.err.find("the history begins in 1912"), std::string::npos) << o.err;
  EXPECT_EQ(file_text(history).substr(file_text(history).find('\n') + 1, 20), " 1912 2010    604.8\n");
  const Outcome refused = import({daily, "--unit", "m3/s", "--code", "1", "--first", "1911", "--history",
                                  (scratch.path() / "OTHER.DAT").string()});
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.err,
            "darcalim-import: from 1911 to the forecast year 2011 are more than the 100 years a history holds; the "
            "first year can be 1912 at the earliest (--first)\n");
}

}  // namespace
}  // namespace darcalim::import
