#include "estimation/linalg/least_squares.h"

#include <cmath>
#include <stdexcept>
#include <utility>

#include "estimation/linalg/error_codes.h"

namespace darcalim {
namespace {

// Entries this small count as zero before each pivot search: the 4-byte real
// nearest 1e-9, widened.
constexpr double kNegligible = static_cast<double>(1e-9f);

// The elimination works on a plain copy of the system, indexed from 0.
struct System {
  int n = 0;
  double a[kMaxUnknowns][kMaxUnknowns] = {};
  double b[kMaxUnknowns] = {};
  int pivoted[kMaxUnknowns] = {};  // times each column was the pivot column
};

struct Pivot {
  int row = -1;
  int col = -1;
};

void clear_negligible(System& s) {
  for (int r = 0; r < s.n; ++r) {
    if (s.pivoted[r] == 1) continue;
    for (int c = 0; c < s.n; ++c) {
      if (std::fabs(s.a[r][c]) <= kNegligible) s.a[r][c] = 0.0;
    }
  }
}

// Row by row and column by column over the rows and columns not yet pivoted:
// an entry within kNegligible of the running maximum takes it over, and an
// entry at least as large as the running maximum becomes the pivot. A pass
// that finds no pivot (only NaN left) is singular, so no column is ever
// picked twice.
Pivot find_pivot(const System& s) {
  Pivot pivot;
  double largest = 0.0;
  for (int r = 0; r < s.n; ++r) {
    if (s.pivoted[r] == 1) continue;
    for (int c = 0; c < s.n; ++c) {
      if (s.pivoted[c] != 0) continue;
      const double size = std::fabs(s.a[r][c]);
      if (std::fabs(size - largest) <= kNegligible) largest = size;
      if (size >= largest) {
        largest = size;
        pivot.row = r;
        pivot.col = c;
      }
    }
  }
  return pivot;
}

void eliminate(System& s, int col) {
  const double pivot = s.a[col][col];
  s.a[col][col] = 1.0;
  for (int c = 0; c < s.n; ++c) s.a[col][c] = s.a[col][c] / pivot;
  s.b[col] = s.b[col] / pivot;
  for (int r = 0; r < s.n; ++r) {
    if (r == col) continue;
    const double factor = s.a[r][col];
    s.a[r][col] = 0.0;
    for (int c = 0; c < s.n; ++c) s.a[r][c] = s.a[r][c] - s.a[col][c] * factor;
    s.b[r] = s.b[r] - s.b[col] * factor;
  }
}

// Runs the passes; false when the system is singular.
bool reduce(System& s) {
  int pivot_rows[kMaxUnknowns];
  int pivot_cols[kMaxUnknowns];
  for (int pass = 0; pass < s.n; ++pass) {
    clear_negligible(s);
    const Pivot pivot = find_pivot(s);
    if (pivot.col < 0) return false;
    ++s.pivoted[pivot.col];
    if (pivot.row != pivot.col) {
      for (int c = 0; c < s.n; ++c) std::swap(s.a[pivot.row][c], s.a[pivot.col][c]);
      std::swap(s.b[pivot.row], s.b[pivot.col]);
    }
    pivot_rows[pass] = pivot.row;
    pivot_cols[pass] = pivot.col;
    if (s.a[pivot.col][pivot.col] == 0.0) return false;
    eliminate(s, pivot.col);
  }
  for (int pass = s.n - 1; pass >= 0; --pass) {
    if (pivot_rows[pass] == pivot_cols[pass]) continue;
    for (int r = 0; r < s.n; ++r) std::swap(s.a[r][pivot_rows[pass]], s.a[r][pivot_cols[pass]]);
  }
  return true;
}

struct NormalEquations {
  GaussMatrix matrix;
  GaussVector rhs;
};

// The sums of the normal equations over the observations r = 1..N, every sum
// in the order of the observations; one pass keeps them all running at once.
// With W as regressor K + 1: matrix(i, j) = sum X(i) X(j), rhs(i) = sum Y X(i).
template <int K>
NormalEquations accumulate(int N, const Observations& Y, const Regressors& X, const Observations& W) {
  constexpr int n = K + 1;
  constexpr std::size_t kSize = static_cast<std::size_t>(n);
  double cross[kSize][kSize] = {};
  double with_y[kSize] = {};
  const double* x = X.data();
  for (int r = 0; r < N; ++r) {
    double row[kSize];
    for (int i = 0; i < K; ++i) row[i] = x[static_cast<std::size_t>(r * kMaxArOrder + i)];
    row[K] = W.data()[static_cast<std::size_t>(r)];
    const double y = Y.data()[r];
    for (int i = 0; i < n; ++i) {
      for (int j = 0; j <= i; ++j) cross[i][j] += row[i] * row[j];
      with_y[i] += y * row[i];
    }
  }
  NormalEquations sums;
  for (int i = 1; i <= n; ++i) {
    for (int j = 1; j <= i; ++j) {
      sums.matrix(i, j) = cross[i - 1][j - 1];
      sums.matrix(j, i) = cross[i - 1][j - 1];
    }
    sums.rhs(i) = with_y[i - 1];
  }
  return sums;
}

NormalEquations accumulate(int N, const Observations& Y, const Regressors& X, const Observations& W, int K) {
  switch (K) {
    case 0: return accumulate<0>(N, Y, X, W);
    case 1: return accumulate<1>(N, Y, X, W);
    case 2: return accumulate<2>(N, Y, X, W);
    case 3: return accumulate<3>(N, Y, X, W);
    default: return accumulate<4>(N, Y, X, W);
  }
}

}  // namespace

int GAUSSJ(GaussMatrix& a, int n, GaussVector& b) {
  if (n < 1 || n > kMaxUnknowns) throw std::invalid_argument("GAUSSJ: order outside 1..5");
  System s;
  s.n = n;
  for (int r = 0; r < n; ++r) {
    for (int c = 0; c < n; ++c) s.a[r][c] = a(r + 1, c + 1);
    s.b[r] = b(r + 1);
  }
  const bool solved = reduce(s);
  for (int r = 0; r < n; ++r) {
    for (int c = 0; c < n; ++c) a(r + 1, c + 1) = s.a[r][c];
    b(r + 1) = s.b[r];
  }
  return solved ? kSolved : kZeroPivot;
}

RegressionResult REGRES(int N, const Observations& Y, const Regressors& X, const Observations& W, int K,
                        int NG) {
  if (K < 0 || K > kMaxArOrder || NG < 1 || NG > K + 1 || N < 0 || N > kMaxYears) {
    throw std::invalid_argument("REGRES: counts outside their range");
  }
  const NormalEquations sums = accumulate(N, Y, X, W, K);
  RegressionResult result;
  GaussMatrix s = sums.matrix;
  GaussVector rhs = sums.rhs;
  result.code = GAUSSJ(s, NG, rhs);
  for (int i = 1; i <= K; ++i) result.B(i) = rhs(i);
  result.B(K + 1) = -rhs(K + 1);
  return result;
}

}  // namespace darcalim
