#include "stats/annual_autocorrelation.h"

namespace darcalim {

void FACOA(const SeriesTable& X, int NSEM, Window window, int NLAG, SeriesStatistics& stats) {
  FACOA(StandardisedSeries(NSEM, window, X, stats), NLAG, stats);
}

void FACOA(const StandardisedSeries& z, int NLAG, SeriesStatistics& stats) {
  const int NSEM = z.NSEM();
  const Window window = z.window();
  const int N = NSEM * window.years();
  for (int k = 1; k <= NLAG; ++k) {
    double S = 0.0;
    for (int y = window.first; y <= window.last; ++y) {
      for (int t = 1; t <= NSEM; ++t) {
        double lagged = 0.0;
        if (t > k) {
          lagged = z.z(y, t - k);
        } else if (y != 1) {
          lagged = z.z(y - 1, NSEM - (k - t));
        }
        S += z.z(y, t) * lagged;
      }
    }
    stats.FACANU(k) = S / N;
  }
}

}  // namespace darcalim
