// PARAM: everything a run reads from outside.
//
// Reads CASO.DAT, the case data file, the recent flows and the history;
// writes the recent flows into the history, drops an incomplete last year
// from the complete years, checks zero and negative flows, scales every flow
// by 604.8 / FAC, runs the transformation step and opens the output files.
// Writes the console banner and option summary (first pass only) and the
// run report's banner. Called once per pass, after the history has been
// cleared. Refused input and the stops of the history checks end the run
// with a RunStop.
//
// read_case_input reads the same files of a folder the same way, up to the
// recent flows written into the history, for the tools that look at a case:
// it opens and writes no file; the console messages of the readers go to
// `console`, the warnings to `diagnostics`.
#pragma once

#include <filesystem>
#include <ostream>

#include "common/case_settings.h"
#include "common/flow_history.h"
#include "driver/recent_flows.h"
#include "driver/run.h"

namespace darcalim {

void PARAM(Run& run);

// The case of a folder as a run reads it: the settings as read (option 5 for
// a combined run), the history as read with the recent flows written into
// it, and the recent flows (flows in the units of the history file).
struct CaseInput {
  CaseSettings settings;
  FlowHistory history;
  RecentFlows recent;
};

CaseInput read_case_input(const std::filesystem::path& folder, std::ostream& console, std::ostream& diagnostics);

// The checks that relate the case to the history read after it: a forecast
// year outside the table and a last estimation year that leaves fewer than 2
// years of history are refused, naming the line of the case data file where
// they were read; a last estimation year after the last year of the history
// writes the warning to `console` and becomes that year.
void reconcile_case_with_history(CaseSettings& c, const FlowHistory& history, const std::string& history_name,
                                 std::ostream& console);

}  // namespace darcalim
