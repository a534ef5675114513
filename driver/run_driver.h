// The run driver: the passes and phases of a run, in their fixed order.
//
// run_darcalim runs the program on the case of `folder`, writing console
// output to `console` and diagnostics to `errors` (after a stop, one line
// "darcalim: " and what stopped the run, naming the file and line at fault),
// and returns the exit status: 0 after a normal end, non-zero after a stop
// (whose messages and trace codes have been written).
#pragma once

#include <filesystem>
#include <iostream>
#include <ostream>

#include "common/run.h"

namespace darcalim {

int run_darcalim(const std::filesystem::path& folder, std::ostream& console, std::ostream& errors = std::cerr);

// Driver steps, exposed for tests.

// INIPER and ORDSEM of the four groupings from NSEMMES, NSEM and the month
// of start of the hydrological year.
void build_week_groupings(Run& run);

// The three windows JANELA from NANOS, ANOFEST and the first year.
void build_windows(Run& run);

}  // namespace darcalim
