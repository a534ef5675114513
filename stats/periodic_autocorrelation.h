// FACORR2: the periodic autocorrelation function of the standardised series
// under one week grouping.
//
// For each period p of the grouping and each lag k = 1..NLAG, the products
// z(y, t) * z(y - a, lagged week) are summed over the weeks t of the period
// (in ORDSEM order) and over the years y of the window, from the last year
// down. The lagged week is t - k of the same year (a = 0) when t - k >= 1;
// otherwise it lies a = |t - k| div NSEM + 1 years back, week t - k + a*NSEM.
// Years whose lagged value falls before the window are left out of the sum,
// but the divisor still counts every year: FACPER(k, t, g) = S(k) / (NY x
// NW(p)) for every week t of the period, NW(p) being its number of weeks.
//
// Needs MEDSEM and VARSEM of the window (MOMENT) and NLAG <= 15, fewer than
// NSEM (std::invalid_argument otherwise).
#pragma once

#include "common/series_statistics.h"
#include "common/series_table.h"
#include "common/week_groupings.h"
#include "stats/standardized_value.h"

namespace darcalim {

// Fills FACPER(1..NLAG, t, g) of `stats` for every week t of the year.
void FACORR2(const SeriesTable& X, int NSEM, Window window, int NLAG, const WeekGrouping& grouping, int g,
             SeriesStatistics& stats);

// The same from the standardised series of the window, z, made once for
// several groupings.
void FACORR2(const StandardisedSeries& z, int NLAG, const WeekGrouping& grouping, int g, SeriesStatistics& stats);

}  // namespace darcalim
