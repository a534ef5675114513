// The command line of darcalim-import.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "import/daily_record.h"
#include "import/flow_units.h"

namespace darcalim::import {

struct Options {
  bool help = false;
  bool version = false;
  std::string daily_file;
  DailyFormat format = DailyFormat::kAuto;
  ColumnChoice column;
  std::optional<FlowUnit> unit;
  std::optional<int> first_year;
  std::optional<int> last_year;
  std::optional<std::chrono::sys_days> until;
  int weeks_per_year = 52;
  int min_days = 4;
  int max_gap = 8;
  std::optional<long long> code;
  std::optional<std::string> name;
  std::optional<double> fac;
  int decimals = 0;
  std::string history;   // --history FILE (with --new-case: its name in the folder)
  std::string new_case;  // --new-case DIR
  std::string update;    // --update FILE
  bool replace = false;
  int option = 2;
  int level = 95;
  int start_month = 1;
};

struct ParsedOptions {
  Options options;
  std::string error;
  bool ok() const { return error.empty(); }
};

// Refused: an unknown option, a missing or invalid value, no daily file or
// a second one, none or more than one of --history, --new-case and --update
// (--history may name the history file of --new-case, a plain file name
// there), --first after --last, and the options of one way used with
// another (--replace without --update, --option, --level or --start-month
// without --new-case).
ParsedOptions parse_options(const std::vector<std::string>& arguments);

std::string usage_text();
std::string help_text();
std::string version_text();

}  // namespace darcalim::import
