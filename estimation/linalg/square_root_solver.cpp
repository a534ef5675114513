#include "estimation/linalg/square_root_solver.h"

#include <cmath>
#include <stdexcept>

namespace darcalim {
namespace {

// Factorises T = U'U into u; returns the code of the factorisation.
int factorise(const SymmetricMatrix& T, int p, SymmetricMatrix& u) {
  for (int i = 1; i <= p; ++i) {
    double squares = 0.0;
    for (int k = 1; k < i; ++k) squares += u(k, i) * u(k, i);
    const double radicand = T(i, i) - squares;
    if (radicand < 0.0) return kNegativeRoot;
    u(i, i) = std::sqrt(radicand);
    if (u(i, i) == 0.0) return kZeroPivot;
    for (int j = i + 1; j <= p; ++j) {
      double sum = 0.0;
      for (int k = 1; k < i; ++k) sum += u(k, i) * u(k, j);
      u(i, j) = (T(i, j) - sum) / u(i, i);
    }
  }
  return kSolved;
}

}  // namespace

SquareRootSolution solve_by_square_root(const SymmetricMatrix& T, const SystemVector& rhs, int p) {
  if (p < 1 || p > kMaxArOrder) throw std::invalid_argument("square-root solver: order outside 1..4");
  SquareRootSolution solution;
  SymmetricMatrix u;
  solution.code = factorise(T, p, u);
  if (solution.code != kSolved) return solution;

  SystemVector y;
  for (int i = 1; i <= p; ++i) {
    double sum = 0.0;
    for (int k = 1; k < i; ++k) sum += u(k, i) * y(k);
    y(i) = (rhs(i) - sum) / u(i, i);
  }
  SystemVector& phi = solution.phi;
  for (int i = p; i >= 1; --i) {
    double sum = 0.0;
    for (int j = i + 1; j <= p; ++j) sum += u(i, j) * phi(j);
    phi(i) = (y(i) - sum) / u(i, i);
    if (i == p && std::fabs(phi(p)) >= 1.0) solution.code = kLastCoefficientOut;
  }
  return solution;
}

}  // namespace darcalim
