// Periodic AR(p) models: every week t has its own phi(1..p, t) on the
// standardised values of the p weeks before it.
//
// ESTPAR(NSEM, p, g, ...) solves, week by week, the periodic Yule-Walker
// equations of grouping g (p = 1..4) by square-root factorisation into
// FIPAR(1..p, t, p, g). One code per week: 0 solved; 8 noise ratio negative;
// 9 negative value under a square root and 10 zero pivot (the week's
// coefficients then keep what they held before the call); 11 |phi(p, t)| >= 1
// (written all the same). No stationarity test.
//
// VARBP fills the VARRES column of PAR(p)-Gg from FIPAR as it stands.
//
// ESTPRL fits PAR(1..4)-RO by least squares: week 1 on the last p weeks of the
// year before; every later week t on the p weeks before the first week of its
// month (grouping G3), the values known when the month starts. It writes
// FIPARRO(1..p, t, p) and VARRES(t, first_model + p - 1), p = 1..4 (the
// model numbers of the four orders follow one another), and repairs a
// failed regression itself: order 1 takes the PAR(1)-G4 coefficient of the
// week (read from FIPAR, so ESTPAR must have run), a higher order those of
// the order below with 0 as its last coefficient. The noise variance of a
// week uses its own previous weeks as lags.
#pragma once

#include "common/fixed_array.h"
#include "common/table_sizes.h"
#include "common/parameter_store.h"
#include "common/series_statistics.h"
#include "common/series_table.h"
#include "common/week_groupings.h"

namespace darcalim {

using WeekCodes = Array<int, kMaxWeeks>;

WeekCodes ESTPAR(int NSEM, int p, int g, const SeriesStatistics& stats, SeriesParameters& params);

void VARBP(int NSEM, int p, int g, const SeriesStatistics& stats, const SeriesParameters& params,
           NoiseVariances& VARRES, int model);

void ESTPRL(int NSEM, const Window& window, const SeriesTable& series, const SeriesStatistics& stats,
            const WeekGroupings& groupings, SeriesParameters& params, NoiseVariances& VARRES, int first_model);

}  // namespace darcalim
