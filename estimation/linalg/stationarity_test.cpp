#include "estimation/linalg/stationarity_test.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <stdexcept>

namespace darcalim {
namespace {

// Relative size below which a pivot of CHOL counts as zero (8-byte constant).
constexpr double kCholTolerance = 0.000243948;

// Position (0-based) of entry (row r, column c), r <= c, of a packed upper
// triangle stored column by column, the same as the lower triangle by rows.
std::size_t packed(int r, int c) { return static_cast<std::size_t>(c * (c - 1) / 2 + r - 1); }

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

CholOutcome CHOL(std::span<const double> a, std::span<double> u, int n) {
  CholOutcome outcome;
  if (n <= 0) return outcome;
  const std::size_t entries = static_cast<std::size_t>(n * (n + 1) / 2);
  if (a.size() < entries || u.size() < entries) {
    throw std::invalid_argument("CHOL: packed storage shorter than n(n + 1)/2");
  }
  outcome.fault = kCholStopped;
  for (int c = 1; c <= n; ++c) {
    for (int r = 1; r <= c; ++r) {
      const double entry = a[packed(r, c)];  // read before u may overwrite it
      double sum = 0.0;
      for (int i = 1; i < r; ++i) sum += u[packed(i, r)] * u[packed(i, c)];
      const double w = entry - sum;
      const double floor = std::fabs(kCholTolerance * entry);
      if (r < c) {
        const double pivot = u[packed(r, r)];
        if (pivot == 0.0) {
          u[packed(r, c)] = 0.0;
          if (std::fabs(w) > floor) return outcome;
        } else {
          u[packed(r, c)] = w / pivot;
        }
      } else if (std::fabs(w) < floor) {
        u[packed(c, c)] = 0.0;
        ++outcome.nullity;
      } else if (w < 0.0) {
        return outcome;
      } else {
        u[packed(c, c)] = std::sqrt(w);
      }
    }
  }
  outcome.fault = kCholDone;
  return outcome;
}

}  // namespace darcalim
