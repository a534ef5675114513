// Stationarity test of a set of autoregressive coefficients.
//
// SCHUR(phi, p) decides whether phi(1..p), 1 <= p <= 4, describes a stationary
// autoregression: flag 0 when stationary, 1 when not. |phi(p)| >= 1 fails at
// once; orders 1 to 3 use closed-form conditions (all strict); order 4 builds
// the Schur-Cohn matrix M and accepts it only when CHOL factorises it with no
// fault and no zero pivot.
#pragma once

#include "common/fixed_array.h"
#include "common/table_sizes.h"
#include "estimation/linalg/packed_cholesky.h"

namespace darcalim {

inline constexpr int kStationary = 0;
inline constexpr int kNotStationary = 1;

using ArCoefficients = Array<double, kMaxArOrder>;

int SCHUR(const ArCoefficients& phi, int p);

}  // namespace darcalim
