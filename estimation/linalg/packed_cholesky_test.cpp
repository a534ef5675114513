#include "estimation/linalg/packed_cholesky.h"

#include <gtest/gtest.h>

#include <vector>

namespace darcalim {
namespace {

// Packed lower triangle, row by row, of U'U for the packed upper U.
std::vector<double> product_of(const std::vector<double>& u, int n) {
  auto at = [&u](int r, int c) { return r <= c ? u[static_cast<std::size_t>(c * (c - 1) / 2 + r - 1)] : 0.0; };
  std::vector<double> a;
  for (int i = 1; i <= n; ++i) {
    for (int j = 1; j <= i; ++j) {
      double s = 0.0;
      for (int k = 1; k <= n; ++k) s += at(k, i) * at(k, j);
      a.push_back(s);
    }
  }
  return a;
}

TEST(Chol, RecoversTheSquareRootFactorOfAPositiveDefiniteMatrix) {
  // U column by column: (2), (1, 3), (-1, 0.5, 1.5), (0.25, 2, -1, 0.75).
  const std::vector<double> u = {2.0, 1.0, 3.0, -1.0, 0.5, 1.5, 0.25, 2.0, -1.0, 0.75};
  const std::vector<double> a = product_of(u, 4);
  std::vector<double> factor(a.size(), 0.0);
  const CholOutcome outcome = CHOL(a, factor, 4);
  EXPECT_EQ(outcome.fault, kCholDone);
  EXPECT_EQ(outcome.nullity, 0);
  for (std::size_t k = 0; k < u.size(); ++k) EXPECT_NEAR(factor[k], u[k], 1e-14) << "entry " << k;

  std::vector<double> in_place = a;
  const CholOutcome same = CHOL(in_place, in_place, 4);
  EXPECT_EQ(same.fault, kCholDone);
  EXPECT_EQ(in_place, factor);
}

TEST(Chol, CountsAConsistentZeroPivotInTheNullity) {
  // Rank 2: the factor has U(3, 3) = 0.
  const std::vector<double> u = {1.0, 0.5, 2.0, 1.5, 2.0, 0.0};
  const std::vector<double> a = product_of(u, 3);
  std::vector<double> factor(a.size(), 0.0);
  const CholOutcome outcome = CHOL(a, factor, 3);
  EXPECT_EQ(outcome.fault, kCholDone);
  EXPECT_EQ(outcome.nullity, 1);
  EXPECT_EQ(factor[5], 0.0);
}

TEST(Chol, StopsOnANegativePivot) {
  const std::vector<double> a = {1.0, 2.0, 1.0};  // [[1, 2], [2, 1]] is indefinite
  std::vector<double> factor(3, 0.0);
  EXPECT_EQ(CHOL(a, factor, 2).fault, kCholStopped);
}

TEST(Chol, StopsOnAZeroPivotThatItsRowContradicts) {
  const std::vector<double> a = {0.0, 1.0, 1.0};  // [[0, 1], [1, 1]]
  std::vector<double> factor(3, 0.0);
  const CholOutcome outcome = CHOL(a, factor, 2);
  EXPECT_EQ(outcome.fault, kCholStopped);
}

TEST(Chol, RejectsAnEmptyOrder) {
  std::vector<double> a = {1.0};
  EXPECT_EQ(CHOL(a, a, 0).fault, kCholBadOrder);
}

}  // namespace
}  // namespace darcalim
