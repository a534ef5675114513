// SIMPREV: every model of the pass forecasts an evaluation window of the
// history, month by month, one to five weeks ahead.
//
// The models estimated on window c walk over the evaluation window `eval`
// (the second half for c = 1, the first half for c = 2, the whole history for
// c = 3) from a zero state, with the forecast equations of the walk step. Each
// week's forecasts, in the stored units of the history (a transformed
// series' already returned to flows), go to record (Y - YI) * NSEM + t of
// `records`; the squared errors of the display forecasts give RQMSEM(c, t, m),
// and after window 2 their half-window mean RQMMED at the models' joined
// positions. With variability option 1 or 2 `read_percentiles` (the reading of
// the percentile file) is called at the window's first week, after its step;
// with option 1 `clamp` adjusts every week's display forecasts before they are
// scored and recorded.
//
// Given a checkpoint, the walk's state at the end of its year is kept there,
// holding each series that the clamp has not by then moved a forecast of
// that the walk carries on (a forecast of an untransformed series, which is
// its lag; a transformed series returns its forecasts to flows anew every
// week).
#pragma once

#include <functional>

#include "common/evaluation_tables.h"
#include "common/parameter_store.h"
#include "common/record_file.h"
#include "common/series_table.h"
#include "common/week_groupings.h"
#include "forecast/model_step.h"

namespace darcalim {

// Adjusts the display forecasts D(1..NMOD) of week t of year Y in window c.
using SimulationClamp = std::function<void(int c, int Y, int t, ModelValues& D)>;

// What the simulation of a window reads: the walk data with window c's
// parameters, the history (stored units), the week groupings, the factor
// FAC, the variability option and the offset of the pass's models in the
// joined list (JoinedList::offset).
struct SimulationInputs {
  const PassWalkData& walk;
  const SeriesTable& history;
  const WeekGroupings& groupings;
  double FAC;
  int variability_option;
  int joined_offset;
};

// What it writes: the noise variances that the walk step sets (SAZONAL,
// CONSTANTE), the error tables of the simulation, the window's records and,
// when asked, the checkpoint of the walk.
struct SimulationOutputs {
  NoiseVariances& VARRES;
  SimulationErrors& errors;
  RecordFile& records;
  WalkCheckpoint* checkpoint = nullptr;
};

void SIMPREV(const SimulationInputs& in, int c, const Window& eval, const SimulationOutputs& out,
             const std::function<void()>& read_percentiles, const SimulationClamp& clamp);

}  // namespace darcalim
