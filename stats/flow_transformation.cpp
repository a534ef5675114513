#include "stats/flow_transformation.h"

#include <cmath>

namespace darcalim {

void TRANS(const SeriesTable& X, int NSEM, int NANOSARQ, int NSEMULT, const Array<double, kMaxWeeks>& LAMBDA,
           SeriesTable& Y) {
  for (int y = 1; y <= NANOSARQ; ++y) {
    const int weeks = y == NANOSARQ ? NSEMULT : NSEM;
    for (int t = 1; t <= weeks; ++t) {
      const double lambda = LAMBDA(t);
      if (lambda == 0.0) {
        Y(y, t) = std::log(X(y, t));
      } else if (lambda == 1.0) {
        Y(y, t) = X(y, t);
      } else {
        Y(y, t) = (std::pow(X(y, t), lambda) - 1.0) / lambda;
      }
    }
  }
}

}  // namespace darcalim
