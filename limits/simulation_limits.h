// VARIHIDRO: the variability limits of the simulation over the history
// (variability option 1).
//
// Every simulated week's display forecasts are held within the band of the
// week-to-week ratios that the history shows outside the simulated window:
// the ratios of week t over the sample years (years 1..YI - 1 when the window
// does not start the history; otherwise YF + 1..2 YF for a half window and
// the window itself for the whole history) give RAZINF and RAZSUP at the
// week's percentiles, which DETLIMITE may then replace from the ratio samples
// of those years (built at the window's first week). A forecast whose 4-byte
// ratio to the observed flow of the week before, Qp, lies above RAZSUP
// becomes RAZSUP * Qp, one below RAZINF becomes RAZINF * Qp. A zero Qp
// adjusts nothing; an empty sample keeps the limits drawn before.
#pragma once

#include "common/evaluation_tables.h"
#include "common/parameter_store.h"
#include "common/series_table.h"
#include "common/variability_tables.h"
#include "common/week_groupings.h"

namespace darcalim {

// What the limits of the simulation read: the display flows of the history
// (display_flows), the window of the whole history, the week groupings, the
// percentiles of the percentile file, the weeks a year and the pass's model
// count.
struct SimulationLimitInputs {
  const SeriesTable& O;
  const Window& whole;
  const WeekGroupings& groupings;
  const PercentileTable& percentiles;
  int NSEM;
  int NMOD;
};

// The band of week t at the week's percentiles of the ratios of week t over
// week t - 1 in the sample years: the same for every simulated year of a
// window, so drawn at the week's first simulated year and kept for the rest
// of the window.
struct WeekBand {
  bool drawn = false;  // drawn for the window
  bool found = false;  // the ratios give one (otherwise the limits stay as they are)
  double RAZINF = 0.0;
  double RAZSUP = 0.0;
};
struct WeekBands {
  Array<WeekBand, kMaxWeeks> band;
};

// What they write: the ratio samples of the window's sample years, with
// samples_built, and the week bands of those years (both cleared by the
// caller at the start of each window), and the limits last drawn.
struct SimulationLimitOutputs {
  RatioSamples& samples;
  int& samples_built;
  WeekBands& week_bands;
  RatioLimits& limits;
};

// Adjusts D(1..NMOD), the display forecasts of week t of year Y in the
// simulation over `eval`.
void VARIHIDRO(const SimulationLimitInputs& in, const Window& eval, int Y, int t, ModelValues& D,
               const SimulationLimitOutputs& out);

// O: the display flows of every row and week of the history (stored units),
// display_value(stored, FAC).
void display_flows(const SeriesTable& history, double FAC, SeriesTable& O);

}  // namespace darcalim
