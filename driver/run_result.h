// A run as a library call: the program on one case folder, with its result in
// memory.
//
// run_case runs the case of `folder` exactly as the program does (the same
// files in the folder, the console output to `console`) and returns how it
// ended and what it forecast. It touches nothing outside the folder and the
// stream, so several runs may go on side by side in one process.
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "driver/run.h"
#include "driver/run_driver.h"

namespace darcalim {

// One lead of the forecast as the appended forecast record carries it: the
// value and limits are the numbers written there (F9.1), as text and as
// numbers; a number too large for its field is written as asterisks and has
// no value here.
struct LeadForecast {
  int lead = 0;         // 1..6
  int target_week = 0;  // operating week of the lead
  std::string value_text;
  std::string lower_text;  // the lower limit floored at 0
  std::string upper_text;
  std::optional<double> value;
  std::optional<double> lower;
  std::optional<double> upper;
  std::string model;  // name of the model whose forecast was kept, without trailing blanks
};

struct RunResult {
  enum class State { kNormalEnd, kStopped };

  State state = State::kStopped;
  int exit_status = 1;  // the program's exit status
  std::string message;  // after a stop: why, in one line, without surrounding blanks

  // Known once the case and the history have been read (0 and empty before).
  int station_code = 0;
  std::string station_name;  // without surrounding blanks
  int year = 0;              // year, month and week of the first forecast week
  int month = 0;             // (month: 0 when the run stopped)
  int week = 0;
  double FAC = 0.0;
  int confidence_level = 0;  // per cent

  std::vector<LeadForecast> leads;  // the six leads after a normal end, none after a stop

  bool normal_end() const { return state == State::kNormalEnd; }
};

// Whether a run leaves its files (reports, forecast table, records, appended
// files, trace and state) or writes none, for a caller that needs only the
// result (the hindcast, in a folder of its own holding only the case).
enum class RunFiles { kWritten, kNone };

// Runs the case of `folder` on `threads` threads (one by default, as the
// companion tools run their many runs side by side); the one-line
// diagnostic of a stop goes to `errors`. The result is the same whether the
// run writes its files or not.
RunResult run_case(const std::filesystem::path& folder, std::ostream& console, std::ostream& errors, int threads = 1,
                   RunFiles files = RunFiles::kWritten);

// The result of a finished run: its end and what its tables hold.
RunResult run_result(const Run& run, const RunEnd& end);

}  // namespace darcalim
