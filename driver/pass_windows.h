// The three windows of a pass: for each, the statistics and the estimation
// of every model on the window, the simulation of those models over its
// evaluation window (the second half for window 1, the first half for window
// 2, the whole history for window 3) through its record file, and the error
// analysis of those records. The simulation over the whole history keeps
// its walk's state at `checkpoint` (its year set by the caller) for the
// final forecast.
//
// With one thread the windows go one after the other. With more, windows 1
// and 2 (which share PREVP.DAT, and whose half-window mean RQMMED needs both)
// go on the calling thread while window 3 (PREVT.DAT) goes on a second; what
// they share is kept apart (see WindowSplitTables) and joins the run in the
// order of a single thread: the run report and the console get window 3's
// text after window 2's, and the run keeps window 3's noise variances,
// percentile table and variability state. Window 3 runs again after window
// 2, in that order, when it stopped on its thread (so that its stop comes
// where a single thread meets it) or when the first variability limits it
// drew were those an earlier window had left; when window 1 or 2 stops, the
// run stops there and window 3 leaves nothing behind (no record, no text).
// Windows go side by side only while PREVT.DAT holds no record of the run
// (the first pass), since leaving nothing behind forgets its records.
//
// Failure: a stop of a phase (RunStop) ends the pass, as it ends the run.
#pragma once

#include "driver/run.h"
#include "evaluation/error_analysis.h"
#include "forecast/model_step.h"

namespace darcalim {

void run_windows(Run& run, WalkCheckpoint& checkpoint);

// What the evaluation of the pass reads: its models, groupings, history and NSEM.
EvaluationInputs evaluation_inputs(const Run& run);

// Offset of the pass's models in the joined list of a combined run.
int joined_offset(const Run& run);

}  // namespace darcalim
