#include "stats/inverse_transformation.h"

#include <cmath>
#include <limits>

namespace darcalim {

namespace {

// Moves a value beyond the bound of a Box-Cox exponent onto it.
double onto_bound(double value, double LAMBDA, double bound) {
  if (LAMBDA > 0.0 && value < bound) return bound;
  if (LAMBDA < 0.0 && value > bound) return bound;
  return value;
}

void limit_to_band(ModelValues& A, ModelValues& B, int i, int K0, double D) {
  if (i == 1) return;
  const double M = i > K0 ? A(K0) : A(1);
  if (B(i) > M + D) {
    B(i) = M + D;
    A(i) = B(i);
  } else if (B(i) < M - D) {
    B(i) = M - D;
    A(i) = B(i);
  }
}

}  // namespace

void ATRANS(ModelValues& A, ModelValues& B, double LAMBDA, const NoiseVariances& VARR, int N, int w, double bound,
            int K0, double V) {
  const double D = 1.96 * std::sqrt(V);
  const double root = 1.0 / LAMBDA;
  const double slope_power = (1.0 - 2.0 * LAMBDA) / LAMBDA;
  const double half_slope = 0.5 * (1.0 - LAMBDA);
  // Models whose forecasts are equal (a negative forecast replaced by its
  // reference's, values on a band edge) follow one another: the powers of
  // the previous value serve again.
  double u_before = std::numeric_limits<double>::quiet_NaN();
  double u_root = 0.0;
  double u_slope = 0.0;
  for (int i = 1; i <= N; ++i) {
    limit_to_band(A, B, i, K0, D);
    if (LAMBDA == 0.0) {
      B(i) = std::exp(B(i) + 0.5 * VARR(w, i));
    } else if (LAMBDA != 1.0) {
      B(i) = onto_bound(B(i), LAMBDA, bound);
      const double u = 1.0 + LAMBDA * B(i);
      if (!(u == u_before)) {
        u_root = std::pow(u, root);
        u_slope = std::pow(u, slope_power);
        u_before = u;
      }
      B(i) = u_root + half_slope * u_slope * VARR(w, i);
    }
  }
}

void ATRANS2(ModelValues& B, double LAMBDA, int N, double bound) {
  for (int i = 1; i <= N; ++i) {
    if (LAMBDA == 0.0) {
      B(i) = std::exp(B(i));
    } else if (LAMBDA != 1.0) {
      B(i) = std::pow(1.0 + LAMBDA * onto_bound(B(i), LAMBDA, bound), 1.0 / LAMBDA);
    }
  }
}

}  // namespace darcalim
