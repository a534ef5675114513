#include "estimation/linalg/square_root_solver.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <ostream>
#include <string>
#include <vector>

namespace darcalim {
namespace {

// Toeplitz system of the autocorrelations r(1..p) with r(0) = 1.
void toeplitz(const std::vector<double>& r, int p, SymmetricMatrix& T, SystemVector& rhs) {
  auto at = [&r](int k) { return k == 0 ? 1.0 : r[static_cast<std::size_t>(k - 1)]; };
  for (int i = 1; i <= p; ++i) {
    for (int j = 1; j <= p; ++j) T(i, j) = at(std::abs(i - j));
    rhs(i) = at(i);
  }
}

TEST(SquareRootSolver, SolvesAPositiveDefiniteSystem) {
  // T phi = rhs with phi = (0.4, -0.3, 0.2) and a known symmetric T.
  const std::array<std::array<double, 3>, 3> t = {{{1.0, 0.5, 0.2}, {0.5, 1.0, 0.3}, {0.2, 0.3, 1.0}}};
  const std::array<double, 3> phi = {0.4, -0.3, 0.2};
  SymmetricMatrix T;
  SystemVector rhs;
  for (int i = 1; i <= 3; ++i) {
    for (int j = 1; j <= 3; ++j) {
      T(i, j) = t[static_cast<std::size_t>(i - 1)][static_cast<std::size_t>(j - 1)];
      rhs(i) += T(i, j) * phi[static_cast<std::size_t>(j - 1)];
    }
  }
  const SquareRootSolution s = solve_by_square_root(T, rhs, 3);
  ASSERT_EQ(s.code, kSolved);
  for (int i = 1; i <= 3; ++i) EXPECT_NEAR(s.phi(i), phi[static_cast<std::size_t>(i - 1)], 1e-15);
}

struct CodeCase {
  std::string name;
  std::vector<double> r;
  int p;
  int code;
};

void PrintTo(const CodeCase& c, std::ostream* os) { *os << c.name; }

class SquareRootCodes : public testing::TestWithParam<CodeCase> {};

TEST_P(SquareRootCodes, ReportsTheFirstFailure) {
  const CodeCase& c = GetParam();
  SymmetricMatrix T;
  SystemVector rhs;
  toeplitz(c.r, c.p, T, rhs);
  EXPECT_EQ(solve_by_square_root(T, rhs, c.p).code, c.code);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, SquareRootCodes,
    testing::Values(
        // U(2, 2) = sqrt(1 - 1 * 1) = 0 divides the second row.
        CodeCase{"zero_pivot", {1.0, 0.5}, 2, kZeroPivot},
        // 1 - 0.9^2 - ((0.9 + 0.81) / sqrt(0.19))^2 < 0 under the third root.
        CodeCase{"negative_root", {0.9, -0.9, 0.0}, 3, kNegativeRoot},
        CodeCase{"last_coefficient_one", {1.0}, 1, kLastCoefficientOut},
        CodeCase{"last_coefficient_beyond_one", {0.2, 1.2}, 2, kLastCoefficientOut}),
    [](const testing::TestParamInfo<CodeCase>& case_info) { return case_info.param.name; });

TEST(SquareRootSolver, GoesOnPastALastCoefficientBeyondOne) {
  // AR(2) system with r(1) = 0.2, r(2) = 1.2: phi2 = (1.2 - 0.04) / 0.96.
  SymmetricMatrix T;
  SystemVector rhs;
  toeplitz({0.2, 1.2}, 2, T, rhs);
  const SquareRootSolution s = solve_by_square_root(T, rhs, 2);
  EXPECT_EQ(s.code, kLastCoefficientOut);
  EXPECT_NEAR(s.phi(2), 1.16 / 0.96, 1e-15);
  EXPECT_NEAR(s.phi(1), 0.2 * (1.0 - s.phi(2)), 1e-15);
}

}  // namespace
}  // namespace darcalim
