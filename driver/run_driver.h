// The run driver: the passes and phases of a run, in their fixed order.
//
// run_darcalim runs the program on the case of `folder`, writing console
// output to `console` and diagnostics to `errors` (after a stop, one line
// "darcalim: " and what stopped the run, naming the file and line at fault),
// and returns the exit status: 0 after a normal end, non-zero after a stop
// (whose messages and trace codes have been written).
//
// A run holds an exclusive lock on its folder from its start to its end
// (common/file_access.h): a run started in a folder where another is under
// way, in this process or another, stops at once with a message naming the
// folder, before it writes anything (its trace and state files included).
// Before the first write it also checks that nothing but a regular file has
// the name of a file every run writes (PREVISAO.DAT, PREVP.DAT, PREVT.DAT,
// RUNTRACE.DAT, RUNSTATE.DAT: driver/run_files.h). The forecast record and
// the model-file line are written last, after every other output is
// complete and closed: a run that stops leaves none.
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

// The lead results that the forecast record carries: those of the combined
// step in a combined run, otherwise those of the pass.
const LeadResults& final_leads(const Run& run);

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
