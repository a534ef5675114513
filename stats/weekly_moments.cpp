#include "stats/weekly_moments.h"

namespace darcalim {

int MOMENT(const SeriesTable& X, int NSEM, Window window, SeriesStatistics& stats) {
  const int NY = window.years();
  double total = 0.0;
  for (int t = 1; t <= NSEM; ++t) {
    double S = 0.0;
    for (int y = window.first; y <= window.last; ++y) S += X(y, t);
    stats.MEDSEM(t) = S / NY;
    total += S;
    double squares = 0.0;
    for (int y = window.first; y <= window.last; ++y) {
      const double d = X(y, t) - stats.MEDSEM(t);
      squares += d * d;
    }
    stats.VARSEM(t) = squares / NY;
    if (stats.VARSEM(t) == 0.0) return t;
  }
  const int count = NSEM * NY;
  stats.MEDGER = total / count;
  double squares = 0.0;
  for (int y = window.first; y <= window.last; ++y) {
    for (int t = 1; t <= NSEM; ++t) {
      const double d = X(y, t) - stats.MEDGER;
      squares += d * d;
    }
  }
  stats.VARGER = squares / count;
  return 0;
}

}  // namespace darcalim
