#include "estimation/linalg/packed_cholesky.h"

#include <cmath>
#include <stdexcept>

namespace darcalim {

namespace {

// Relative size below which a pivot counts as zero (8-byte constant).
constexpr double kCholTolerance = 0.000243948;

std::size_t packed(int r, int c) { return packed_index(r, c); }

}  // namespace

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
