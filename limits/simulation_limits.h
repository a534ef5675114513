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

#include "common/run.h"

namespace darcalim {

// Adjusts D(1..NMOD), the display forecasts of week t of year Y in the
// simulation over `eval`; O holds the display flows of the history
// (display_flows) and samples_built is cleared by the caller at the start of
// each window.
void VARIHIDRO(Run& run, const SeriesTable& O, const Window& eval, int Y, int t, ModelValues& D, int& samples_built);

// O: the display flows of every row and week of the history.
void display_flows(const Run& run, SeriesTable& O);

}  // namespace darcalim
