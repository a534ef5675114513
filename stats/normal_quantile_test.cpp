#include "stats/normal_quantile.h"

#include <gtest/gtest.h>

#include <cmath>

namespace darcalim {
namespace {

TEST(NDTRI, FollowsTheRationalApproximation) {
  const NormalQuantile upper = NDTRI(0.975);
  EXPECT_EQ(upper.IER, 0);
  EXPECT_NEAR(upper.X, 1.9603949, 5e-8);  // the approximation, not the exact 1.95996
  EXPECT_NEAR(upper.D, 0.3989423 * std::exp(-upper.X * upper.X / 2.0), 1e-15);
  EXPECT_DOUBLE_EQ(NDTRI(0.025).X, -upper.X);
  // At Q = 0.5 the approximation gives -1.01e-7, negated since P <= 0.5.
  const NormalQuantile middle = NDTRI(0.5);
  EXPECT_NEAR(middle.X, 1.0100667546808495e-07, 1e-20);
}

TEST(NDTRI, EndsAndOutsideTheRange) {
  const double huge = 9.9999003e37;
  const NormalQuantile outside = NDTRI(1.2);
  EXPECT_EQ(outside.IER, -1);
  EXPECT_NEAR(outside.X, huge, 1e31);
  EXPECT_EQ(outside.X, outside.D);
  EXPECT_EQ(NDTRI(-0.1).IER, -1);
  const NormalQuantile zero = NDTRI(0.0);
  EXPECT_EQ(zero.IER, 0);
  EXPECT_NEAR(zero.X, -9.9999895e37, 1e31);
  EXPECT_EQ(zero.D, 0.0);
  const NormalQuantile one = NDTRI(1.0);
  EXPECT_EQ(one.X, outside.X);
  EXPECT_EQ(one.D, 0.0);
}

}  // namespace
}  // namespace darcalim
