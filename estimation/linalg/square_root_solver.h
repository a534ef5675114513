// Symmetric systems of the Yule-Walker equations by square-root factorisation.
//
// solve_by_square_root(T, rhs, p) solves T phi = rhs for p <= 4 unknowns,
// T symmetric with its upper triangle (diagonal included) given. T = U'U is
// factorised row by row,
//   U(i, i) = sqrt(T(i, i) - sum over k < i of U(k, i)^2),
//   U(i, j) = (T(i, j) - sum over k < i of U(k, i) U(k, j)) / U(i, i), j > i,
// then U'y = rhs is solved forwards and U phi = y backwards, phi(p) first.
// Codes: 9 a negative value under the square root, 10 a zero U(i, i) (both
// end the solving, phi is then not given); 11 |phi(p)| >= 1, the remaining
// coefficients still computed.
#pragma once

#include "common/fixed_array.h"
#include "common/table_sizes.h"
#include "estimation/linalg/error_codes.h"

namespace darcalim {

using SymmetricMatrix = Array<double, kMaxArOrder, kMaxArOrder>;
using SystemVector = Array<double, kMaxArOrder>;

struct SquareRootSolution {
  int code = kSolved;
  SystemVector phi;  // valid unless code is 9 or 10
};

SquareRootSolution solve_by_square_root(const SymmetricMatrix& T, const SystemVector& rhs, int p);

}  // namespace darcalim
