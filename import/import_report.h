// The report of an import (NAME.import.txt beside the history): where the
// flows came from, the history made, and every week that was filled, left
// out or not yet observed.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "import/daily_record.h"
#include "import/flow_units.h"
#include "import/history_table.h"
#include "import/weekly_series.h"

namespace darcalim::import {

struct ImportFacts {
  const DailyRecord* record = nullptr;
  FlowUnit unit = FlowUnit::kCubicMetres;
  std::string history_name;
  bool update = false;
  long long station_code = 0;
  std::string station_name;
  std::string factor;  // FAC as written
  int weeks_per_year = 52;
  int decimals = 0;
  int min_days = 4;
  int max_gap = 8;
  int first_year = 0;
  int last_year = 0;
  std::optional<HistoryCell> last_observed;  // as the program will find it
  int added = 0;                             // weeks written into cells that had no flow
  int kept = 0;                              // weeks already in the history, left as they were
  int replaced = 0;                          // weeks already there, rewritten (--replace)
  int rounded_to_zero = 0;                   // weeks with a flow above 0 written as 0
  std::vector<WeekFlow> filled;              // interpolated weeks
  std::vector<WeekFlow> left_out;            // 53rd operating weeks, with 52 weeks a year
  std::vector<WeekFlow> not_observed;        // after the last observed week
  std::vector<WeekFlow> carried;             // week 1 also written as week 53 of the year before
};

std::string import_report_text(const ImportFacts& facts);

// "1962 week 7 (1962-02-10 to 1962-02-16): 2 days with a flow, interpolated 12.3 m3/s".
std::string filled_week_text(const WeekFlow& week);

}  // namespace darcalim::import
