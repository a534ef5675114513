// Small dense linear systems by Crout LU factorisation with row pivoting.
//
// SOLVLU(a, b, n) solves a x = b for n <= 4 unknowns in place: b becomes x
// and a holds the factors (L with its diagonal on and below the diagonal, U
// with a unit diagonal above it). The pivot of each of the columns 1..n-1 is
// the entry of largest magnitude at or below the diagonal (the first one on
// ties); the last pivot L(n, n) has no choice of row.
//
// Returns 0, or 10 when a pivot is exactly zero, the last one included. The
// work goes on after a zero pivot: a and b then hold values that callers must
// treat as failed.
#pragma once

#include "common/fixed_array.h"
#include "common/table_sizes.h"
#include "estimation/linalg/error_codes.h"

namespace darcalim {

// Leading dimension 4: at most kMaxArOrder unknowns.
using LuMatrix = Array<double, kMaxArOrder, kMaxArOrder>;
using LuVector = Array<double, kMaxArOrder>;

int SOLVLU(LuMatrix& a, LuVector& b, int n);

}  // namespace darcalim
