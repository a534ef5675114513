#include "stats/periodic_autocorrelation.h"

#include <stdexcept>

#include "common/table_sizes.h"

namespace darcalim {

void FACORR2(const SeriesTable& X, int NSEM, Window window, int NLAG, const WeekGrouping& grouping, int g,
             SeriesStatistics& stats) {
  FACORR2(StandardisedSeries(NSEM, window, X, stats), NLAG, grouping, g, stats);
}

void FACORR2(const StandardisedSeries& z, int NLAG, const WeekGrouping& grouping, int g, SeriesStatistics& stats) {
  const int NSEM = z.NSEM();
  const Window window = z.window();
  const int NY = window.years();
  if (NLAG < 0 || NLAG >= NSEM) throw std::invalid_argument("FACORR2: as many lags as weeks in the year");
  for (int p = 1; p <= grouping.NPER; ++p) {
    Array<double, kMaxLags> S;
    for (int k = 1; k <= NLAG; ++k) S(k) = 0.0;
    for (int j = grouping.INIPER(p); j < grouping.INIPER(p + 1); ++j) {
      const int t = grouping.ORDSEM(j);
      if (t < 1 || t > NSEM) throw std::out_of_range("FACORR2: a week of the grouping outside the year");
      for (int k = 1; k <= NLAG; ++k) {
        // With fewer lags than weeks, a lagged week before week 1 lies in
        // the year just before.
        const bool year_before = t - k < 1;
        const int lagged_week = year_before ? t - k + NSEM : t - k;
        const int first_year = year_before ? window.first + 1 : window.first;
        double sum = S(k);  // in a register: the same additions in the same order
        for (int y = window.last; y >= first_year; --y) {
          const StandardisedSeries::WindowYear values = z.window_year(y);
          sum += values.z(t) * (year_before ? values.before_z(lagged_week) : values.z(lagged_week));
        }
        S(k) = sum;
      }
    }
    const int divisor = NY * grouping.weeks_in_period(p);
    for (int j = grouping.INIPER(p); j < grouping.INIPER(p + 1); ++j) {
      const int t = grouping.ORDSEM(j);
      for (int k = 1; k <= NLAG; ++k) stats.FACPER(k, t, g) = S(k) / divisor;
    }
  }
}

}  // namespace darcalim
