#include "stats/annual_autocorrelation.h"

#include <stdexcept>

namespace darcalim {

void FACOA(const SeriesTable& X, int NSEM, Window window, int NLAG, SeriesStatistics& stats) {
  FACOA(StandardisedSeries(NSEM, window, X, stats), NLAG, stats);
}

void FACOA(const StandardisedSeries& z, int NLAG, SeriesStatistics& stats) {
  const int NSEM = z.NSEM();
  const Window window = z.window();
  const int N = NSEM * window.years();
  if (NLAG < 0 || NLAG >= NSEM) throw std::invalid_argument("FACOA: as many lags as weeks in the year");
  for (int k = 1; k <= NLAG; ++k) {
    double S = 0.0;
    for (int y = window.first; y <= window.last; ++y) {
      const StandardisedSeries::WindowYear values = z.window_year(y);
      for (int t = 1; t <= NSEM; ++t) {
        double lagged = 0.0;
        if (t > k) {
          lagged = values.z(t - k);
        } else if (y != 1) {
          lagged = values.before_z(NSEM - (k - t));
        }
        S += values.z(t) * lagged;
      }
    }
    stats.FACANU(k) = S / N;
  }
}

}  // namespace darcalim
