#include "estimation/linalg/lu_solver.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace darcalim {
namespace {

struct LuCase {
  std::string name;
  std::vector<std::vector<double>> a;  // by rows
  std::vector<double> x;               // the solution the right side is built from
};

void PrintTo(const LuCase& c, std::ostream* os) { *os << c.name; }

void load(const LuCase& c, LuMatrix& a, LuVector& b) {
  const int n = static_cast<int>(c.x.size());
  for (int r = 1; r <= n; ++r) {
    b(r) = 0.0;
    for (int j = 1; j <= n; ++j) {
      a(r, j) = c.a[static_cast<std::size_t>(r - 1)][static_cast<std::size_t>(j - 1)];
      b(r) += a(r, j) * c.x[static_cast<std::size_t>(j - 1)];
    }
  }
}

class SolvluSolves : public testing::TestWithParam<LuCase> {};

// Right sides built from small integers are exact, so the solution is found
// to within a few units in the last place.
TEST_P(SolvluSolves, RecoversTheSolutionTheRightSideWasBuiltFrom) {
  const LuCase& c = GetParam();
  const int n = static_cast<int>(c.x.size());
  LuMatrix a;
  LuVector b;
  load(c, a, b);
  EXPECT_EQ(SOLVLU(a, b, n), kSolved);
  for (int i = 1; i <= n; ++i) EXPECT_NEAR(b(i), c.x[static_cast<std::size_t>(i - 1)], 1e-13) << "x" << i;
}

INSTANTIATE_TEST_SUITE_P(
    Systems, SolvluSolves,
    testing::Values(LuCase{"one_unknown", {{4.0}}, {0.25}},
                    LuCase{"zero_on_the_diagonal", {{0.0, 2.0}, {3.0, 1.0}}, {1.5, -2.0}},
                    LuCase{"pivots_every_column",
                           {{1.0, 2.0, 3.0}, {4.0, 5.0, 6.0}, {7.0, 8.0, 10.0}},
                           {1.0, -1.0, 2.0}},
                    LuCase{"order_four",
                           {{2.0, -1.0, 0.0, 3.0}, {1.0, 4.0, -2.0, 0.0}, {0.0, 3.0, 5.0, 1.0}, {6.0, 0.0, 1.0, 2.0}},
                           {0.5, -0.25, 1.0, 2.0}}),
    [](const testing::TestParamInfo<LuCase>& case_info) { return case_info.param.name; });

class SolvluZeroPivot : public testing::TestWithParam<LuCase> {};

TEST_P(SolvluZeroPivot, ReportsCode10) {
  const LuCase& c = GetParam();
  LuMatrix a;
  LuVector b;
  load(c, a, b);
  EXPECT_EQ(SOLVLU(a, b, static_cast<int>(c.x.size())), kZeroPivot);
}

INSTANTIATE_TEST_SUITE_P(
    Singular, SolvluZeroPivot,
    testing::Values(LuCase{"zero_first_column", {{0.0, 1.0}, {0.0, 2.0}}, {1.0, 1.0}},
                    LuCase{"single_zero", {{0.0}}, {1.0}},
                    LuCase{"last_pivot_zero", {{1.0, 2.0}, {2.0, 4.0}}, {1.0, 1.0}},
                    LuCase{"middle_column_dependent",
                           {{1.0, 2.0, 0.0}, {2.0, 4.0, 1.0}, {3.0, 6.0, 5.0}},
                           {1.0, 1.0, 1.0}}),
    [](const testing::TestParamInfo<LuCase>& case_info) { return case_info.param.name; });

TEST(Solvlu, LeavesTheCroutFactorsInTheMatrix) {
  // Row 2 is the pivot row of column 1; L = [[4, 0], [2, 2]], U = [[1, 0.5], [0, 1]].
  LuMatrix a;
  a(1, 1) = 2.0;
  a(1, 2) = 3.0;
  a(2, 1) = 4.0;
  a(2, 2) = 2.0;
  LuVector b;
  b(1) = 5.0;
  b(2) = 6.0;
  ASSERT_EQ(SOLVLU(a, b, 2), kSolved);
  EXPECT_EQ(a(1, 1), 4.0);
  EXPECT_EQ(a(1, 2), 0.5);
  EXPECT_EQ(a(2, 1), 2.0);
  EXPECT_EQ(a(2, 2), 2.0);
  EXPECT_EQ(b(1), 1.0);
  EXPECT_EQ(b(2), 1.0);
}

}  // namespace
}  // namespace darcalim
