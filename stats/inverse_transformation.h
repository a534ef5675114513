// ATRANS and ATRANS2: values of the transformed scale brought back to flows.
//
// Both work on the values of N models (N <= 94), indexed 1..N, for one week
// whose exponent is LAMBDA and whose bound is `bound` (LIMBC of the week).
// For an exponent other than 0 and 1 a value beyond the bound has no inverse
// and is first moved onto it: for LAMBDA > 0 a value below the bound, for
// LAMBDA < 0 a value above it. A NaN is never moved. Nothing is reported.
//
// ATRANS(A, B, LAMBDA, VARR, N, w, bound, K0, V), for i = 1..N in order:
//  1. Band: with D = 1.96 sqrt(V) and the centre M = A(K0) for i > K0, A(1)
//     for 1 < i <= K0 (model 1 is never limited; K0 >= 1), a B(i) above
//     M + D becomes M + D, one below M - D becomes M - D, in B and in A
//     alike. A value exactly on an edge is not moved. A(K0) is read after
//     the earlier models have been limited.
//  2. Return with the bias correction of the variance VARR(w, i):
//       LAMBDA = 0: B(i) = exp(B(i) + 0.5 VARR(w, i))
//       LAMBDA = 1: B(i) unchanged
//       otherwise, u = 1 + LAMBDA B(i):
//         B(i) = u^(1/LAMBDA) + 0.5 (1 - LAMBDA) u^((1 - 2 LAMBDA)/LAMBDA) VARR(w, i)
//
// ATRANS2(B, LAMBDA, N, bound): the plain inverse, no band and no correction:
//   exp(B(i)) for LAMBDA = 0, B(i) for LAMBDA = 1, (1 + LAMBDA B(i))^(1/LAMBDA)
//   otherwise (after the move onto the bound).
#pragma once

#include "common/fixed_array.h"
#include "common/table_sizes.h"
#include "common/parameter_store.h"

namespace darcalim {


void ATRANS(ModelValues& A, ModelValues& B, double LAMBDA, const NoiseVariances& VARR, int N, int w, double bound,
            int K0, double V);

void ATRANS2(ModelValues& B, double LAMBDA, int N, double bound);

}  // namespace darcalim
