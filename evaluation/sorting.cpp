#include "evaluation/sorting.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace darcalim {

namespace {

// The ranks by counting, as ORDENA defines them, for any values.
void counted_ranks(int N, std::span<const double> X, std::span<int> RANK, std::span<int> ORDER) {
  auto x = [&](int i) { return X[static_cast<std::size_t>(i - 1)]; };
  auto rank = [&](int i) -> int& { return RANK[static_cast<std::size_t>(i - 1)]; };
  for (int i = N; i >= 2; --i) {
    int k = rank(i);
    for (int j = i - 1; j >= 1; --j) {
      if (x(i) - x(j) < 0.0) {
        ++rank(j);
      } else {
        ++k;
      }
    }
    rank(i) = k;
    ORDER[static_cast<std::size_t>(k - 1)] = i;
  }
}

}  // namespace

// Without NaN, X(i) - X(j) < 0 exactly when X(i) < X(j): with gradual
// underflow the difference of two finite values is zero only when they are
// equal, and infinities of one sign differ by NaN, which counts as not
// smaller, as they are equal. The counted ranks are then those of a sort by
// value with ties in index order, which takes N log N steps instead of N^2.
void ORDENA(int N, std::span<const double> X, std::span<int> RANK, std::span<int> ORDER) {
  const auto n = static_cast<std::size_t>(N < 0 ? 0 : N);
  const std::span<const double> x = X.first(n);
  if (std::any_of(x.begin(), x.end(), [](double v) { return std::isnan(v); })) {
    counted_ranks(N, X, RANK, ORDER);
    return;
  }
  for (std::size_t k = 0; k < n; ++k) ORDER[k] = static_cast<int>(k) + 1;
  std::sort(ORDER.begin(), ORDER.begin() + static_cast<std::ptrdiff_t>(n), [&x](int a, int b) {
    const double xa = x[static_cast<std::size_t>(a - 1)];
    const double xb = x[static_cast<std::size_t>(b - 1)];
    return xa < xb || (!(xb < xa) && a < b);
  });
  for (std::size_t k = 0; k < n; ++k) RANK[static_cast<std::size_t>(ORDER[k] - 1)] = static_cast<int>(k) + 1;
}

Esco7Result ESCO7(int N, std::span<const float> X, std::span<std::int16_t> INDX, float S, int M) {
  if (N < 1 || M < 1 || M > N || (M == 1 && N > 1)) {
    throw std::invalid_argument("ESCO7 called outside its range");
  }
  auto indx = [&](int j) -> std::int16_t& { return INDX[static_cast<std::size_t>(j - 1)]; };
  // Each key is the product rounded to a 4-byte real before it is compared.
  auto key = [&](int index) -> float {
    return X[static_cast<std::size_t>(index - 1)] * S;
  };
  Esco7Result result;
  for (int j = 1; j <= N; ++j) indx(j) = static_cast<std::int16_t>(j);
  if (N == 1) {
    result.FIRST = 1;
    return result;
  }
  int L = N / 2 + 1;
  int IR = N;
  const int LIM = N - M;
  for (;;) {
    int T = 0;
    float Q = 0.0f;
    if (L != 1) {
      L = L - 1;
      T = indx(L);
      Q = key(T);
    } else {
      T = indx(IR);
      Q = key(T);
      indx(IR) = indx(1);
      IR = IR - 1;
      result.FIRST = T;
      if (IR == 1) indx(1) = static_cast<std::int16_t>(T);
      if (IR == LIM) {
        result.FIRST = indx(IR + 1);
        result.SECOND = indx(IR + 2);
      }
      if (IR == 1 || IR == LIM) return result;
    }
    int I = L;
    int J = L + L;
    while (J <= IR) {
      if (J < IR && key(indx(J)) < key(indx(J + 1))) J = J + 1;
      if (Q < key(indx(J))) {
        indx(I) = indx(J);
        I = J;
        J = J + J;
      } else {
        break;
      }
    }
    indx(I) = static_cast<std::int16_t>(T);
  }
}

namespace {

// Whether equal keys of X may be different values: a NaN (equal to nothing,
// not even itself) or a negative zero (equal to a positive one).
bool has_equal_keys_of_different_values(std::span<const float> X) {
  return std::any_of(X.begin(), X.end(), [](float x) { return std::isnan(x) || (x == 0.0f && std::signbit(x)); });
}

}  // namespace

std::vector<float> ascending_values(std::span<const float> X) {
  std::vector<float> values(X.begin(), X.end());
  if (!has_equal_keys_of_different_values(X)) {
    std::sort(values.begin(), values.end());
    return values;
  }
  if (X.size() > static_cast<std::size_t>(std::numeric_limits<std::int16_t>::max())) {
    throw std::length_error("more values than ESCO7 can index");
  }
  const int n = static_cast<int>(X.size());
  std::vector<std::int16_t> indx(X.size());
  ESCO7(n, X, indx, 1.0f, n);
  for (std::size_t i = 0; i < indx.size(); ++i) values[i] = X[static_cast<std::size_t>(indx[i] - 1)];
  return values;
}

}  // namespace darcalim
