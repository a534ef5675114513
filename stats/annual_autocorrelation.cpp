#include "stats/annual_autocorrelation.h"

#include "stats/standardized_value.h"

namespace darcalim {

void FACOA(const SeriesTable& X, int NSEM, Window window, int NLAG, SeriesStatistics& stats) {
  const int N = NSEM * window.years();
  for (int k = 1; k <= NLAG; ++k) {
    double S = 0.0;
    for (int y = window.first; y <= window.last; ++y) {
      for (int t = 1; t <= NSEM; ++t) {
        double lagged = 0.0;
        if (t > k) {
          lagged = standardized_value(X, stats, y, t - k);
        } else if (y != 1) {
          lagged = standardized_value(X, stats, y - 1, NSEM - (k - t));
        }
        S += standardized_value(X, stats, y, t) * lagged;
      }
    }
    stats.FACANU(k) = S / N;
  }
}

}  // namespace darcalim
