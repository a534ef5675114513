// Periodic ARMA(p,1) models, p = 1..3: every week t has its own
// phi(1..p, t) and theta(t),
//   z(y, t) = sum phi(j, t) z(lag j) + a(y, t) - theta(t) a(lag 1),
// stored with phi at positions 1..p and theta at p + 1.
//
// ESTMAP(NSEM, p, g, ...) estimates PARMA(p,1)-Gg by periodic moments into
// FIPARMA(., t, p, g) and fills the VARRES column `model` with q(t) VARSEM(t),
// q(t) being the week's noise ratio. It reads PARMA(p - 1,1) of the same
// grouping and PAR(1) of the grouping (FIPAR), which must be estimated
// before. One code per week, that of SOLVLU: 0, or 10 when the week's
// autoregressive system is singular, in which case the week starts from
// PARMA(p - 1,1) with phi(p) = 0 (from PAR(1) at p = 1). The sweeps over
// the weeks (at least 2, at most 1000) lower a week whose noise ratio comes
// out negative or whose |theta| reaches 1 to PARMA(p - 1,1), then
// PARMA(p - 2,1) ..., down to PAR(1) with theta = 0.
//
// ESTMAPR estimates PARMA(1..3,1)-RR by three passes of one-step regressions
// on the previous weeks and the previous week's residual, into FIPARMAR, and
// fills VARRES(., first_model + p - 1), the model numbers of the three orders
// following one another. ESTMAPRL estimates PARMA(1..3,1)-RO likewise
// with the regressors of a week frozen at the start of its month (grouping
// G3), the residuals being those of the -RR coefficients (so ESTMAPR must run
// first), into FIPARMARO and VARRES(., first_model + p - 1). Both start the residuals
// from PAR(1)-G4 and repair a failed regression themselves: order 1 takes
// PAR(1)-G4 with theta = 0, a higher order the values of the order below with
// 0 as its last autoregressive coefficient.
#pragma once

#include "common/parameter_store.h"
#include "common/series_statistics.h"
#include "common/series_table.h"
#include "common/week_groupings.h"
#include "estimation/periodic_ar.h"

namespace darcalim {

inline constexpr int kMaxMovingAverageArOrder = kMaxArOrder - 1;

WeekCodes ESTMAP(int NSEM, int p, int g, const SeriesStatistics& stats, SeriesParameters& params,
                 NoiseVariances& VARRES, int model);

void ESTMAPR(int NSEM, const Window& window, const SeriesTable& series, const SeriesStatistics& stats,
             SeriesParameters& params, NoiseVariances& VARRES, int first_model);

void ESTMAPRL(int NSEM, const Window& window, const SeriesTable& series, const SeriesStatistics& stats,
              const WeekGroupings& groupings, SeriesParameters& params, NoiseVariances& VARRES, int first_model);

}  // namespace darcalim
