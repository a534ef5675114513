// Periodic autocorrelations of one week grouping, as the moment estimators
// read them.
//
// rho(u, l) = FACPER(l, u, g), the correlation between week u and the week l
// before it; a week u below 1 is week NSEM + u of the year before.
// between(u, v) is the correlation of weeks u and v: 1 when u = v, otherwise
// rho of the later of the two at their distance.
#pragma once

#include <cstdlib>

#include "common/series_statistics.h"

namespace darcalim {

class PeriodicCorrelations {
 public:
  PeriodicCorrelations(const SeriesStatistics& stats, int NSEM, int g) : stats_(stats), nsem_(NSEM), g_(g) {}

  double rho(int u, int l) const { return stats_.FACPER(l, u < 1 ? nsem_ + u : u, g_); }

  double between(int u, int v) const {
    if (u == v) return 1.0;
    return u > v ? rho(u, u - v) : rho(v, v - u);
  }

 private:
  const SeriesStatistics& stats_;
  int nsem_;
  int g_;
};

}  // namespace darcalim
