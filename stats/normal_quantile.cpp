#include "stats/normal_quantile.h"

#include <cmath>

namespace darcalim {

namespace {

// Sentinels of a probability outside [0, 1] and of its ends, held as the
// 4-byte reals nearest 0.99999E+38 and -0.999999E+38.
constexpr double kHuge = static_cast<double>(0.99999E+38f);
constexpr double kMinusHuge = static_cast<double>(-0.999999E+38f);

}  // namespace

NormalQuantile NDTRI(double P) {
  NormalQuantile r;
  r.X = kHuge;
  r.D = kHuge;
  if (P < 0.0 || P > 1.0) {
    r.IER = -1;
    return r;
  }
  if (P == 0.0) {
    r.X = kMinusHuge;
    r.D = 0.0;
    return r;
  }
  if (P == 1.0) {
    r.D = 0.0;
    return r;
  }
  const double Q = P > 0.5 ? 1.0 - P : P;
  const double T2 = std::log(1.0 / (Q * Q));
  const double T = std::sqrt(T2);
  r.X = T - (2.515517 + 0.802853 * T + 0.010328 * T2) /
                (1.0 + 1.432788 * T + 0.189269 * T2 + 0.001308 * T * T2);
  if (P <= 0.5) r.X = -r.X;
  r.D = 0.3989423 * std::exp(-r.X * r.X / 2.0);
  return r;
}

}  // namespace darcalim
