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
#pragma once

#include "common/run.h"

namespace darcalim {

void PARAM(Run& run);

}  // namespace darcalim
