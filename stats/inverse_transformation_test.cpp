#include "stats/inverse_transformation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "stats/boxcox.h"
#include "stats/flow_transformation.h"

namespace darcalim {
namespace {

constexpr double kExponents[] = {-2.0, -1.0, -0.37, 0.0, 0.25, 0.5, 1.0, 1.5, 3.9};
constexpr double kFlows[] = {0.02, 0.5, 1.0, 7.3, 120.0, 4321.5};
constexpr int kModels = 6;

// Week t of a table holds the flows of kFlows in years 1..6 transformed by
// TRANS with the exponent kExponents[t - 1].
struct TransformedWeeks {
  SeriesTable X;
  SeriesTable Y;
  Array<double, kMaxWeeks> LAMBDA;
};

TransformedWeeks transformed_weeks() {
  TransformedWeeks w;
  const int weeks = static_cast<int>(std::size(kExponents));
  for (int t = 1; t <= weeks; ++t) {
    w.LAMBDA(t) = kExponents[t - 1];
    for (int i = 1; i <= kModels; ++i) w.X(i, t) = kFlows[i - 1];
  }
  TRANS(w.X, weeks, kModels, weeks, w.LAMBDA, w.Y);
  return w;
}

ModelValues week_values(const SeriesTable& Y, int t) {
  ModelValues B;
  for (int i = 1; i <= kModels; ++i) B(i) = Y(i, t);
  return B;
}

double bound_of(double lambda) { return lambda == 0.0 ? 0.0 : boxcox_bound(lambda); }

double no_band() { return std::numeric_limits<double>::max(); }

bool is_power(double lambda) { return lambda != 0.0 && lambda != 1.0; }

// A flow whose power x^L lies within |L| 0.000001 of zero is transformed
// beyond the bound; the inverse returns the flow of the bound instead.
bool beyond_bound(double x, double lambda) {
  return is_power(lambda) && std::pow(x, lambda) <= std::fabs(lambda) * 1e-6;
}

double flow_of_bound(double lambda) { return std::pow(1.0 + lambda * boxcox_bound(lambda), 1.0 / lambda); }

// Y = (x^L - 1) / L carries an absolute rounding of about one unit in 1, so
// when x^L is far below 1 the inverse loses relative precision by 1 / x^L.
double tolerance(double x, double lambda, double value) {
  const double conditioning = is_power(lambda) ? 1.0 + 1.0 / std::pow(x, lambda) : 1.0;
  return 1e-13 * conditioning * std::fabs(value);
}

TEST(ATRANS2, UndoesTRANSForEveryExponentAndFlow) {
  const TransformedWeeks w = transformed_weeks();
  for (int t = 1; t <= static_cast<int>(std::size(kExponents)); ++t) {
    ModelValues B = week_values(w.Y, t);
    ATRANS2(B, w.LAMBDA(t), kModels, bound_of(w.LAMBDA(t)));
    for (int i = 1; i <= kModels; ++i) {
      const double x = w.X(i, t);
      const double lambda = w.LAMBDA(t);
      if (beyond_bound(x, lambda)) {
        EXPECT_DOUBLE_EQ(B(i), flow_of_bound(lambda)) << "exponent " << lambda << " flow " << x;
      } else {
        EXPECT_NEAR(B(i), x, tolerance(x, lambda, x)) << "exponent " << lambda << " flow " << x;
      }
    }
  }
}

// Without variance and without band ATRANS is the plain inverse; with a
// variance v it adds the second-order bias correction of the inverse,
// 0.5 (1 - lambda) x^(1 - 2 lambda) v (x e^(v/2) for the logarithm).
TEST(ATRANS, UndoesTRANSAndAddsTheBiasCorrectionOfTheVariance) {
  const TransformedWeeks w = transformed_weeks();
  for (const double v : {0.0, 0.003, 0.04}) {
    for (int t = 1; t <= static_cast<int>(std::size(kExponents)); ++t) {
      const double lambda = w.LAMBDA(t);
      NoiseVariances VARR;
      for (int i = 1; i <= kModels; ++i) VARR(t, i) = v;
      ModelValues A = week_values(w.Y, t);
      ModelValues B = A;
      ATRANS(A, B, lambda, VARR, kModels, t, bound_of(lambda), 1, no_band());
      for (int i = 1; i <= kModels; ++i) {
        const double x = w.X(i, t);
        if (beyond_bound(x, lambda)) continue;
        const double corrected = lambda == 0.0 ? x * std::exp(v / 2.0)
                                 : lambda == 1.0 ? x
                                                 : x + 0.5 * (1.0 - lambda) * std::pow(x, 1.0 - 2.0 * lambda) * v;
        EXPECT_NEAR(B(i), corrected, tolerance(x, lambda, corrected))
            << "exponent " << lambda << " flow " << x << " variance " << v;
      }
    }
  }
}

TEST(ATRANS, LogarithmReturnsExpOfValuePlusHalfTheVariance) {
  NoiseVariances VARR;
  VARR(3, 1) = 0.5;
  VARR(3, 2) = 0.08;
  ModelValues A;
  A(1) = 1.2;
  A(2) = -0.4;
  ModelValues B = A;
  ATRANS(A, B, 0.0, VARR, 2, 3, 0.0, 1, no_band());
  EXPECT_DOUBLE_EQ(B(1), std::exp(1.45));
  EXPECT_DOUBLE_EQ(B(2), std::exp(-0.36));
  ModelValues plain = A;
  ATRANS2(plain, 0.0, 2, 0.0);
  EXPECT_DOUBLE_EQ(plain(1), std::exp(1.2));
  EXPECT_DOUBLE_EQ(plain(2), std::exp(-0.4));
}

// With K0 = 1 every model after the first is kept within 1.96 sqrt(V) of
// A(1), in A and in B; model 1 and a value exactly on an edge stay.
TEST(ATRANS, BandAroundTheFirstModelWithK0One) {
  const double V = 4.0;
  const double D = 1.96 * std::sqrt(V);
  const double centre = 10.0;
  struct Case {
    double value;
    double returned;
  };
  const std::vector<Case> cases = {
      {100.0, 100.0},               // model 1: the centre itself, never limited
      {centre + D, centre + D},     // exactly on the upper edge
      {centre - D, centre - D},     // exactly on the lower edge
      {20.0, centre + D},           // above the band
      {-3.0, centre - D},           // below it
      {11.5, 11.5},                 // inside
      {std::nextafter(centre + D, 1e9), centre + D},
  };
  ModelValues A;
  ModelValues B;
  const int N = static_cast<int>(cases.size());
  for (int i = 1; i <= N; ++i) {
    A(i) = i == 1 ? centre : 50.0 + i;
    B(i) = cases[static_cast<std::size_t>(i - 1)].value;
  }
  NoiseVariances VARR;
  ATRANS(A, B, 1.0, VARR, N, 1, 0.0, 1, V);
  for (int i = 1; i <= N; ++i) {
    EXPECT_EQ(B(i), cases[static_cast<std::size_t>(i - 1)].returned) << "model " << i;
    const bool moved = cases[static_cast<std::size_t>(i - 1)].returned != cases[static_cast<std::size_t>(i - 1)].value;
    EXPECT_EQ(A(i), moved ? cases[static_cast<std::size_t>(i - 1)].returned : (i == 1 ? centre : 50.0 + i)) << "model " << i;
  }
}

// Models 2..K0 are held around A(1), the later ones around A(K0) as the
// band has left it.
TEST(ATRANS, LaterModelsCentreOnModelK0AfterItsOwnLimit) {
  const double D = 1.96;  // V = 1
  ModelValues A;
  A(1) = 0.0;
  A(2) = 1.5;  // within D of A(1)
  A(3) = 3.0;  // model K0, beyond D of A(1): becomes D
  A(4) = 3.5;  // within D of the limited A(3), not of A(1)
  A(5) = 4.5;  // within D of A(3) as given, not as limited
  ModelValues B = A;
  NoiseVariances VARR;
  ATRANS(A, B, 1.0, VARR, 5, 1, 0.0, 3, 1.0);
  EXPECT_EQ(B(2), 1.5);
  EXPECT_EQ(B(3), D);
  EXPECT_EQ(A(3), D);
  EXPECT_EQ(B(4), 3.5);
  EXPECT_EQ(B(5), D + D);
  EXPECT_EQ(A(5), D + D);
}

// Models of equal value in a row (a forecast replaced by its reference's)
// share the powers of the value but keep their own variances; every value
// returns, to the bit, as the formula gives it.
TEST(ATRANS, EqualValuesInARowKeepTheirOwnBiasCorrection) {
  const double lambda = 0.37;
  const double values[] = {2.5, 2.5, 2.5, 3.0, 2.5, 2.5};
  const double variances[] = {0.01, 0.2, 0.01, 0.05, 0.3, 0.0};
  const int N = static_cast<int>(std::size(values));
  ModelValues A;
  NoiseVariances VARR;
  for (int i = 1; i <= N; ++i) {
    A(i) = values[i - 1];
    VARR(4, i) = variances[i - 1];
  }
  ModelValues B = A;
  ATRANS(A, B, lambda, VARR, N, 4, boxcox_bound(lambda), 1, no_band());
  for (int i = 1; i <= N; ++i) {
    const double u = 1.0 + lambda * values[i - 1];
    const double expected = std::pow(u, 1.0 / lambda) +
                            0.5 * (1.0 - lambda) * std::pow(u, (1.0 - 2.0 * lambda) / lambda) * variances[i - 1];
    EXPECT_EQ(B(i), expected) << "model " << i;
  }
}

// A transformed value beyond the bound has no inverse: it is moved onto
// the bound; a NaN is not moved and stays NaN.
TEST(ATRANS2, MovesValuesBeyondTheBoundOntoIt) {
  struct Case {
    double lambda;
    double value;
  };
  for (const Case c : {Case{0.5, -5.0}, Case{0.5, -2.0}, Case{2.0, -0.9}, Case{-0.5, 3.0}, Case{-2.0, 0.8}}) {
    const double bound = boxcox_bound(c.lambda);
    ModelValues B;
    B(1) = c.value;
    B(2) = bound;
    B(3) = std::numeric_limits<double>::quiet_NaN();
    ATRANS2(B, c.lambda, 3, bound);
    EXPECT_EQ(B(1), B(2)) << "exponent " << c.lambda << " value " << c.value;
    EXPECT_GT(B(1), 0.0);
    EXPECT_TRUE(std::isfinite(B(1)));
    EXPECT_TRUE(std::isnan(B(3)));
  }
}

TEST(BoxCoxBound, IsMinusTheInverseMovedInwardsBySinglePrecisionMillionth) {
  const double millionth = 9.99999997475242708e-07;  // 0.000001 in 4 bytes
  EXPECT_EQ(boxcox_bound(0.5), -2.0 + millionth);
  EXPECT_EQ(boxcox_bound(-0.25), 4.0 - millionth);
  EXPECT_EQ(boxcox_bound(1.0), -1.0 + millionth);
}

}  // namespace
}  // namespace darcalim
