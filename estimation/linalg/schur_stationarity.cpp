#include "estimation/linalg/schur_stationarity.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <stdexcept>

namespace darcalim {
namespace {

std::size_t packed(int r, int c) { return packed_index(r, c); }

bool order_two_stationary(const ArCoefficients& phi) {
  return phi(1) + phi(2) < 1.0 && phi(2) - phi(1) < 1.0;
}

bool order_three_stationary(const ArCoefficients& phi) {
  return phi(1) + phi(2) + phi(3) < 1.0 && phi(2) - phi(1) - phi(3) < 1.0 &&
         (phi(3) - phi(1)) * phi(3) - phi(2) < 1.0;
}

// Schur-Cohn test: with c0 = -1 and ci = phi(i), the packed p x p matrix
// M(i, j) = sum over k = 1..j of (c(i-k) c(j-k) - c(p-i+k) c(p-j+k)), j <= i,
// is positive definite exactly when the autoregression is stationary.
bool schur_cohn_stationary(const ArCoefficients& phi, int p) {
  std::array<double, kMaxArOrder + 1> c{};
  c[0] = -1.0;
  for (int i = 1; i <= p; ++i) c[static_cast<std::size_t>(i)] = phi(i);
  auto at = [&c](int i) { return c[static_cast<std::size_t>(i)]; };

  std::array<double, kMaxArOrder * (kMaxArOrder + 1) / 2> m{};
  for (int i = 1; i <= p; ++i) {
    for (int j = 1; j <= i; ++j) {
      double sum = 0.0;
      for (int k = 1; k <= j; ++k) {
        sum += at(i - k) * at(j - k) - at(p - i + k) * at(p - j + k);
      }
      m[packed(j, i)] = sum;
    }
  }
  const CholOutcome outcome = CHOL(m, m, p);
  return outcome.fault == kCholDone && outcome.nullity == 0;
}

}  // namespace

int SCHUR(const ArCoefficients& phi, int p) {
  if (p < 1 || p > kMaxArOrder) throw std::invalid_argument("SCHUR: order outside 1..4");
  if (std::fabs(phi(p)) >= 1.0) return kNotStationary;
  bool stationary = true;
  if (p == 2) stationary = order_two_stationary(phi);
  if (p == 3) stationary = order_three_stationary(phi);
  if (p >= 4) stationary = schur_cohn_stationary(phi, p);
  return stationary ? kStationary : kNotStationary;
}

}  // namespace darcalim
