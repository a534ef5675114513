#include "estimation/linalg/least_squares.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "estimation/linalg/error_codes.h"

namespace darcalim {
namespace {

GaussMatrix matrix_of(const std::vector<std::vector<double>>& rows) {
  GaussMatrix a;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (std::size_t c = 0; c < rows[r].size(); ++c) a(static_cast<int>(r + 1), static_cast<int>(c + 1)) = rows[r][c];
  }
  return a;
}

TEST(Gaussj, LeavesTheIdentityAndItsRightSideUnchanged) {
  for (int n = 1; n <= kMaxUnknowns; ++n) {
    GaussMatrix a;
    GaussVector b;
    for (int i = 1; i <= n; ++i) {
      a(i, i) = 1.0;
      b(i) = 0.5 * i - 1.0;
    }
    const GaussMatrix identity = a;
    const GaussVector rhs = b;
    ASSERT_EQ(GAUSSJ(a, n, b), kSolved);
    EXPECT_EQ(a, identity) << "n = " << n;
    EXPECT_EQ(b, rhs) << "n = " << n;
  }
}

// A system that needs row and column interchanges: the solution is found to
// within rounding and the matrix is replaced by its inverse.
TEST(Gaussj, SolvesWithFullPivotingAndLeavesTheInverse) {
  const std::vector<std::vector<double>> rows = {{0.0, 1.0, 2.0, 0.5, 1.0},
                                                 {3.0, 0.0, 1.0, 0.0, 2.0},
                                                 {1.0, 4.0, 0.0, 1.0, 0.0},
                                                 {0.0, 2.0, 1.0, 5.0, 1.0},
                                                 {2.0, 0.0, 0.0, 1.0, 3.0}};
  const std::vector<double> x = {1.0, -2.0, 0.5, 0.25, -1.0};
  const GaussMatrix original = matrix_of(rows);
  GaussMatrix a = original;
  GaussVector b;
  for (int r = 1; r <= 5; ++r) {
    for (int c = 1; c <= 5; ++c) b(r) += original(r, c) * x[static_cast<std::size_t>(c - 1)];
  }
  ASSERT_EQ(GAUSSJ(a, 5, b), kSolved);
  for (int i = 1; i <= 5; ++i) EXPECT_NEAR(b(i), x[static_cast<std::size_t>(i - 1)], 1e-13);
  for (int r = 1; r <= 5; ++r) {
    for (int c = 1; c <= 5; ++c) {
      double product = 0.0;
      for (int k = 1; k <= 5; ++k) product += original(r, k) * a(k, c);
      EXPECT_NEAR(product, r == c ? 1.0 : 0.0, 1e-13) << "(" << r << ", " << c << ")";
    }
  }
}

TEST(Gaussj, DividesThePivotRowByThePivot) {
  // 5 / 3 and 5 * (1 / 3) differ in the last place.
  ASSERT_NE(5.0 / 3.0, 5.0 * (1.0 / 3.0));
  GaussMatrix a;
  GaussVector b;
  a(1, 1) = 3.0;
  b(1) = 5.0;
  ASSERT_EQ(GAUSSJ(a, 1, b), kSolved);
  EXPECT_EQ(b(1), 5.0 / 3.0);
  EXPECT_EQ(a(1, 1), 1.0 / 3.0);
}

struct SingularCase {
  std::string name;
  std::vector<std::vector<double>> rows;
  int code;
};

void PrintTo(const SingularCase& c, std::ostream* os) { *os << c.name; }

class GaussjPivots : public testing::TestWithParam<SingularCase> {};

TEST_P(GaussjPivots, TreatsEntriesUpToTheFourByteBillionthAsZero) {
  const SingularCase& c = GetParam();
  GaussMatrix a = matrix_of(c.rows);
  GaussVector b;
  for (std::size_t i = 0; i < c.rows.size(); ++i) b(static_cast<int>(i + 1)) = 1.0;
  EXPECT_EQ(GAUSSJ(a, static_cast<int>(c.rows.size()), b), c.code);
}

// The negligible size is the 4-byte 1e-9, slightly below the 8-byte 1e-9.
const double kFourByteBillionth = static_cast<double>(1e-9f);

INSTANTIATE_TEST_SUITE_P(
    Singularity, GaussjPivots,
    testing::Values(SingularCase{"zero_row", {{1.0, 2.0}, {0.0, 0.0}}, kZeroPivot},
                    SingularCase{"dependent_rows", {{1.0, 2.0, 3.0}, {2.0, 4.0, 6.0}, {0.0, 1.0, 1.0}}, kZeroPivot},
                    SingularCase{"pivot_at_the_four_byte_billionth", {{kFourByteBillionth, 0.0}, {0.0, 1.0}}, kZeroPivot},
                    SingularCase{"pivot_at_the_eight_byte_billionth", {{1e-9, 0.0}, {0.0, 1.0}}, kSolved}),
    [](const testing::TestParamInfo<SingularCase>& case_info) { return case_info.param.name; });

struct Sample {
  Observations Y;
  Regressors X;
  Observations W;
};

// Y = 0.5 X1 - 0.25 X2 + 0.3 W exactly, on regressors that are not collinear.
Sample exact_sample(int n) {
  Sample s;
  for (int r = 1; r <= n; ++r) {
    s.X(1, r) = std::sin(0.7 * r);
    s.X(2, r) = std::cos(1.3 * r) + 0.1 * r;
    s.W(r) = std::sin(2.9 * r + 0.4);
    s.Y(r) = 0.5 * s.X(1, r) - 0.25 * s.X(2, r) + 0.3 * s.W(r);
  }
  return s;
}

TEST(Regres, RecoversTheCoefficientsAndTheNegatedWeightOfTheExtraRegressor) {
  const Sample s = exact_sample(40);
  const RegressionResult fit = REGRES(40, s.Y, s.X, s.W, 2, 3);
  ASSERT_EQ(fit.code, kSolved);
  EXPECT_NEAR(fit.B(1), 0.5, 1e-12);
  EXPECT_NEAR(fit.B(2), -0.25, 1e-12);
  EXPECT_NEAR(fit.B(3), -0.3, 1e-12);
}

TEST(Regres, WithoutTheExtraRegressorGivesPlainLeastSquaresAndMinusSumOfYW) {
  Sample s = exact_sample(30);
  double xx = 0.0;
  double xy = 0.0;
  double yw = 0.0;
  for (int r = 1; r <= 30; ++r) {
    xx += s.X(1, r) * s.X(1, r);
    xy += s.Y(r) * s.X(1, r);
    yw += s.Y(r) * s.W(r);
  }
  const RegressionResult fit = REGRES(30, s.Y, s.X, s.W, 1, 1);
  ASSERT_EQ(fit.code, kSolved);
  EXPECT_DOUBLE_EQ(fit.B(1), xy / xx);
  EXPECT_EQ(fit.B(2), -yw);
}

TEST(Regres, ReportsACollinearRegressorAsSingular) {
  Sample s = exact_sample(20);
  for (int r = 1; r <= 20; ++r) s.X(2, r) = 2.0 * s.X(1, r);
  EXPECT_EQ(REGRES(20, s.Y, s.X, s.W, 2, 2).code, kZeroPivot);
}

}  // namespace
}  // namespace darcalim
