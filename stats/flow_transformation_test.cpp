#include "stats/flow_transformation.h"

#include <gtest/gtest.h>

#include <cmath>

namespace darcalim {
namespace {

constexpr int kNSEM = 52;

// Week t gets one of these exponents; every flow is then checked against
// the transform written out for its exponent.
constexpr double kExponents[] = {0.0, 1.0, 0.5, -1.0, 2.0, -0.3};

double expected(double x, double lambda) {
  if (lambda == 0.0) return std::log(x);
  if (lambda == 1.0) return x;
  if (lambda == 0.5) return 2.0 * (std::sqrt(x) - 1.0);
  if (lambda == -1.0) return 1.0 - 1.0 / x;
  if (lambda == 2.0) return (x * x - 1.0) / 2.0;
  return (std::pow(x, lambda) - 1.0) / lambda;
}

TEST(TRANS, TransformsEveryWeekWithItsExponentUpToTheLastWeekOfThePartialYear) {
  const int NANOSARQ = 5;
  const int NSEMULT = 20;
  SeriesTable X;
  SeriesTable Y;
  Y.fill(-999.0);
  Array<double, kMaxWeeks> LAMBDA;
  for (int t = 1; t <= kNSEM; ++t) LAMBDA(t) = kExponents[t % 6];
  for (int y = 1; y <= NANOSARQ; ++y) {
    for (int t = 1; t <= kNSEM; ++t) X(y, t) = y == NANOSARQ && t > NSEMULT ? 0.0 : 3.0 + 7.0 * y + 0.25 * t;
  }
  TRANS(X, kNSEM, NANOSARQ, NSEMULT, LAMBDA, Y);
  for (int y = 1; y <= NANOSARQ; ++y) {
    for (int t = 1; t <= kNSEM; ++t) {
      if (y == NANOSARQ && t > NSEMULT) {
        EXPECT_EQ(Y(y, t), -999.0) << "the weeks after the partial year's last are left alone";
      } else {
        EXPECT_NEAR(Y(y, t), expected(X(y, t), LAMBDA(t)), 1e-12 * (1.0 + std::fabs(Y(y, t))))
            << "year " << y << " week " << t;
      }
    }
  }
  EXPECT_EQ(Y(NANOSARQ + 1, 1), -999.0);
  EXPECT_EQ(Y(1, kNSEM + 1), -999.0);
}

TEST(TRANS, ExponentOneCopiesTheFlowsExactly) {
  SeriesTable X;
  for (int y = 1; y <= kMaxYears; ++y) {
    for (int t = 1; t <= 53; ++t) X(y, t) = 0.1 * y + 1.0 / t;
  }
  Array<double, kMaxWeeks> LAMBDA;
  LAMBDA.fill(1.0);
  SeriesTable Y;
  TRANS(X, 53, kMaxYears, 53, LAMBDA, Y);
  EXPECT_EQ(Y, X);
}

}  // namespace
}  // namespace darcalim
