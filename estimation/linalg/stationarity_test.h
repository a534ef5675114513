// Stationarity test of a set of autoregressive coefficients.
//
// SCHUR(phi, p) decides whether phi(1..p), 1 <= p <= 4, describes a stationary
// autoregression: flag 0 when stationary, 1 when not. |phi(p)| >= 1 fails at
// once; orders 1 to 3 use closed-form conditions (all strict); order 4 builds
// the Schur-Cohn matrix M and accepts it only when CHOL factorises it with no
// fault and no zero pivot.
//
// CHOL(a, u, n) factorises the packed symmetric matrix a (lower triangle row
// by row, n(n + 1)/2 entries) as U'U with U upper-triangular, stored packed
// the same way (column c of U holds rows 1..c). a and u may be one storage.
// Pivots below the relative tolerance count as zero: they add to the nullity.
// Fault codes: 0 done; 1 n <= 0; 2 stopped on a negative pivot or on a zero
// pivot that the rest of its row contradicts.
#pragma once

#include <span>

#include "common/fixed_array.h"
#include "common/limits.h"

namespace darcalim {

inline constexpr int kStationary = 0;
inline constexpr int kNotStationary = 1;

using ArCoefficients = Array<double, kMaxArOrder>;

int SCHUR(const ArCoefficients& phi, int p);

inline constexpr int kCholDone = 0;
inline constexpr int kCholBadOrder = 1;
inline constexpr int kCholStopped = 2;

struct CholOutcome {
  int nullity = 0;
  int fault = kCholBadOrder;
};

CholOutcome CHOL(std::span<const double> a, std::span<double> u, int n);

}  // namespace darcalim
