// Least-squares regression without intercept, through Gauss-Jordan elimination.
//
// GAUSSJ(a, n, b) solves a x = b for n <= 5 unknowns in place by Gauss-Jordan
// elimination with full pivoting: b becomes x and a its inverse. Before each
// pivot search the entries of magnitude at most 1e-9 (the 4-byte real nearest
// 1e-9) in the rows not yet used as pivot rows are set to zero; the pivot row
// is divided by the pivot. Returns 0, or 10 when the system is singular (a
// zero pivot, or no pivot at all); a and b are then left part-way.
//
// REGRES(N, Y, X, W, K, NG) fits Y(1..N) on the K regressors X(j, 1..N)
// (observation r of regressor j at X(j, r)) and the extra regressor W(1..N):
// it forms the K + 1 normal equations, solves the first NG of them (NG = K
// leaves W out, NG = K + 1 takes it in) and returns B(1..K) and, at K + 1,
// minus the coefficient of W (the theta of a moving-average term); with
// NG = K that entry is minus the sum of Y W. The code is that of GAUSSJ.
#pragma once

#include "common/fixed_array.h"
#include "common/table_sizes.h"

namespace darcalim {

inline constexpr int kMaxUnknowns = kMaxArOrder + 1;  // regressors and one residual term

using GaussMatrix = Array<double, kMaxUnknowns, kMaxUnknowns>;
using GaussVector = Array<double, kMaxUnknowns>;

int GAUSSJ(GaussMatrix& a, int n, GaussVector& b);

using Observations = Array<double, kMaxYears>;
using Regressors = Array<double, kMaxArOrder, kMaxYears>;

struct RegressionResult {
  int code = 0;
  GaussVector B;
};

RegressionResult REGRES(int N, const Observations& Y, const Regressors& X, const Observations& W, int K,
                        int NG);

}  // namespace darcalim
