#include "stats/periodic_autocorrelation.h"

#include <cstdlib>

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
  for (int p = 1; p <= grouping.NPER; ++p) {
    Array<double, kMaxLags> S;
    for (int k = 1; k <= NLAG; ++k) S(k) = 0.0;
    for (int j = grouping.INIPER(p); j < grouping.INIPER(p + 1); ++j) {
      const int t = grouping.ORDSEM(j);
      for (int k = 1; k <= NLAG; ++k) {
        const int a = t - k >= 1 ? 0 : std::abs(t - k) / NSEM + 1;
        const int lagged_week = t - k + a * NSEM;
        double sum = S(k);  // in a register: the same additions in the same order
        for (int y = window.last; y >= window.first + a; --y) {
          sum += z.z(y, t) * z.z(y - a, lagged_week);
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
