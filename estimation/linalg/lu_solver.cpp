#include "estimation/linalg/lu_solver.h"

#include <cmath>
#include <stdexcept>
#include <utility>

namespace darcalim {
namespace {

// Row of largest |a(r, col)| for r >= col, the first one on ties.
int pivot_row(const LuMatrix& a, int col, int n) {
  int best = col;
  double largest = std::fabs(a(col, col));
  for (int r = col + 1; r <= n; ++r) {
    if (std::fabs(a(r, col)) > largest) {
      largest = std::fabs(a(r, col));
      best = r;
    }
  }
  return best;
}

void swap_rows(LuMatrix& a, int r1, int r2, int n) {
  for (int j = 1; j <= n; ++j) std::swap(a(r1, j), a(r2, j));
}

// Row `row` of U, right of the diagonal, divided by the pivot L(row, row).
void factor_u_row(LuMatrix& a, int row, int n) {
  for (int j = row + 1; j <= n; ++j) {
    double sum = 0.0;
    for (int i = 1; i < row; ++i) sum += a(row, i) * a(i, j);
    a(row, j) = (a(row, j) - sum) / a(row, row);
  }
}

// Column `col` of L, on and below the diagonal.
void factor_l_column(LuMatrix& a, int col, int n) {
  for (int r = col; r <= n; ++r) {
    double sum = 0.0;
    for (int i = 1; i < col; ++i) sum += a(r, i) * a(i, col);
    a(r, col) = a(r, col) - sum;
  }
}

void substitute(const LuMatrix& a, LuVector& b, int n) {
  for (int k = 1; k < n; ++k) {
    b(k) = b(k) / a(k, k);
    for (int r = k + 1; r <= n; ++r) b(r) = b(r) - b(k) * a(r, k);
  }
  b(n) = b(n) / a(n, n);
  for (int j = n; j >= 2; --j) {
    for (int i = 1; i < j; ++i) b(i) = b(i) - b(j) * a(i, j);
  }
}

}  // namespace

int SOLVLU(LuMatrix& a, LuVector& b, int n) {
  if (n < 1 || n > kMaxArOrder) throw std::invalid_argument("SOLVLU: order outside 1..4");
  int code = kSolved;
  Array<int, kMaxArOrder> interchange;
  for (int k = 2; k <= n; ++k) {
    const int col = k - 1;
    const int r = pivot_row(a, col, n);
    if (a(r, col) == 0.0) code = kZeroPivot;
    interchange(col) = r;
    swap_rows(a, r, col, n);
    factor_u_row(a, col, n);
    factor_l_column(a, k, n);
  }
  if (a(n, n) == 0.0) code = kZeroPivot;
  for (int col = 1; col < n; ++col) std::swap(b(col), b(interchange(col)));
  substitute(a, b, n);
  return code;
}

}  // namespace darcalim
