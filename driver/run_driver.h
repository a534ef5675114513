// The run driver: the passes and phases of a run, in their fixed order.
//
// run_darcalim runs the program on the case of `folder`, writing console
// output to `console` and diagnostics to `errors` (after a stop, one line
// "darcalim: " and what stopped the run, naming the file and line at fault),
// and returns the exit status: 0 after a normal end, non-zero after a stop
// (whose messages and trace codes have been written).
//
// Before the first write a run checks that nothing but a regular file has
// the name of a file every run writes (PREVISAO.DAT, PREVP.DAT, PREVT.DAT,
// RUNTRACE.DAT, RUNSTATE.DAT: driver/run_files.h).
#pragma once

#include <filesystem>
#include <iostream>
#include <ostream>
#include <string>

#include "driver/run.h"
#include "forecast/model_step.h"

namespace darcalim {

int run_darcalim(const std::filesystem::path& folder, std::ostream& console, std::ostream& errors = std::cerr);

// The same on a run made by the caller, with its working folder and console;
// every table of the run stays in `run` afterwards, for the tests that look
// into a whole run.
int run_darcalim(Run& run);

// How a run ended: its exit status (0 normal end, 1 stop, 2 fault of the
// program) and, after a stop, the stop's reason in one line.
struct RunEnd {
  int status = 0;
  std::string reason;
};

// run_darcalim(Run&) telling also why a run stopped.
RunEnd run_to_end(Run& run);

// Driver steps, exposed for tests.

// INIPER and ORDSEM of the four groupings from NSEMMES, NSEM and the month
// of start of the hydrological year.
void build_week_groupings(Run& run);

// The three windows JANELA from NANOS, ANOFEST and the first year.
void build_windows(Run& run);

// What the walk step reads with the parameters of window c: the pass's
// models, series 1 (run.transformed) and 2 (the history) with their window-c
// statistics and parameters, the transformation's exponents and bounds.
PassWalkData pass_walk_data(const Run& run, int c);

}  // namespace darcalim
