// FACOA: the autocorrelation function of the standardised series taken as
// one long sequence of weeks.
//
// For each lag k = 1..NLAG, S = sum over the years y of the window (outer)
// and the weeks t = 1..NSEM (inner) of z(y, t) times the lagged value:
//   - 0 when y is year 1 of the history and t <= k;
//   - z(y, t - k) when t > k;
//   - otherwise z(y - 1, NSEM - (k - t)), from the year before, which for a
//     window after the first year may lie outside the window.
// FACANU(k) = S / (NSEM x NY).
//
// Needs MEDSEM and VARSEM of the window (MOMENT) and NLAG < NSEM
// (std::invalid_argument otherwise).
#pragma once

#include "common/series_statistics.h"
#include "common/series_table.h"
#include "stats/standardized_value.h"

namespace darcalim {

// Fills FACANU(1..NLAG) of `stats`.
void FACOA(const SeriesTable& X, int NSEM, Window window, int NLAG, SeriesStatistics& stats);

// The same from the standardised series of the window, z, made once for
// several of these functions.
void FACOA(const StandardisedSeries& z, int NLAG, SeriesStatistics& stats);

}  // namespace darcalim
