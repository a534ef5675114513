// z(y, t): a value of a series standardised by the moments of its own week.
//
// z(y, t) = (X(y, t) - MEDSEM(t)) / sqrt(VARSEM(t)), always with the mean and
// variance of the week t the value belongs to, whatever the lag it is paired
// at. Both autocorrelation functions build their products from it.
#pragma once

#include <cmath>

#include "common/series_statistics.h"
#include "common/series_table.h"

namespace darcalim {

inline double standardized_value(const SeriesTable& X, const SeriesStatistics& stats, int y, int t) {
  return (X(y, t) - stats.MEDSEM(t)) / std::sqrt(stats.VARSEM(t));
}

}  // namespace darcalim
