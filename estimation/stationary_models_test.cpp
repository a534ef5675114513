#include "estimation/stationary_models.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "estimation/linalg/error_codes.h"
#include "estimation/linalg/schur_stationarity.h"
#include "tests/support/known_models.h"

namespace darcalim {
namespace {

using testing_support::stationary_autocorrelations;

constexpr int kNsem = 52;

struct Fixture {
  std::unique_ptr<SeriesStatistics> stats = std::make_unique<SeriesStatistics>();
  std::unique_ptr<SeriesParameters> params = std::make_unique<SeriesParameters>();
  std::unique_ptr<NoiseVariances> varres = std::make_unique<NoiseVariances>();

  explicit Fixture(const std::vector<double>& r) {
    for (std::size_t k = 0; k < r.size(); ++k) stats->FACANU(static_cast<int>(k + 1)) = r[k];
    for (int t = 1; t <= kNsem; ++t) stats->VARSEM(t) = 10.0 + t;
  }
};

struct ArCase {
  std::string name;
  std::vector<double> phi;
};

void PrintTo(const ArCase& c, std::ostream* os) { *os << c.name; }

class EstpaKnownAnswer : public testing::TestWithParam<ArCase> {};

// The autocorrelations of an AR(p) satisfy its Yule-Walker equations, so
// they give its coefficients back up to rounding.
TEST_P(EstpaKnownAnswer, RecoversTheCoefficientsTheAutocorrelationsCameFrom) {
  const std::vector<double>& phi = GetParam().phi;
  const int p = static_cast<int>(phi.size());
  Fixture f(stationary_autocorrelations(phi, 0.0, 10));
  const StationaryFit fit = ESTPA(p, *f.stats, *f.params);
  EXPECT_EQ(fit.code, kSolved);
  EXPECT_EQ(fit.flag, kStationary);
  for (int i = 1; i <= p; ++i) EXPECT_NEAR(f.params->FIAR(i, p), phi[static_cast<std::size_t>(i - 1)], 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Orders, EstpaKnownAnswer,
                         testing::Values(ArCase{"ar1", {0.7}}, ArCase{"ar2", {0.6, -0.3}},
                                         ArCase{"ar3", {0.5, 0.2, -0.25}}, ArCase{"ar4", {0.4, -0.2, 0.1, 0.3}}),
                         [](const testing::TestParamInfo<ArCase>& case_info) { return case_info.param.name; });

TEST(Estpa, Ar2OfAnAr1SequenceHasNoSecondLagAndNoiseRatioThreeQuarters) {
  Fixture f({0.5, 0.25});
  const StationaryFit fit = ESTPA(2, *f.stats, *f.params);
  ASSERT_EQ(fit.code, kSolved);
  EXPECT_EQ(f.params->FIAR(1, 2), 0.5);
  EXPECT_EQ(f.params->FIAR(2, 2), 0.0);
  VARB(kNsem, 2, *f.stats, *f.params, *f.varres, 7);
  for (int t = 1; t <= kNsem; ++t) EXPECT_DOUBLE_EQ((*f.varres)(t, 7), 0.75 * f.stats->VARSEM(t)) << "week " << t;
  EXPECT_EQ((*f.varres)(kNsem + 1, 7), 0.0);
}

TEST(Estpa, Ar1WithUnitCorrelationIsCode11AndFlagged) {
  Fixture f({1.0});
  const StationaryFit fit = ESTPA(1, *f.stats, *f.params);
  EXPECT_EQ(fit.code, kLastCoefficientOut);
  EXPECT_EQ(fit.flag, kNotStationary);
  EXPECT_EQ(f.params->FIAR(1, 1), 1.0);
}

struct FailureCase {
  std::string name;
  std::vector<double> r;
  int p;
  int code;
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class EstpaSolverFailure : public testing::TestWithParam<FailureCase> {};

// Codes 9 and 10 leave FIAR(., p) as it was; the flag judges what is there.
TEST_P(EstpaSolverFailure, KeepsThePreviousCoefficients) {
  const FailureCase& c = GetParam();
  Fixture f(c.r);
  const double before[] = {0.3, 0.2, 0.1};
  for (int i = 1; i <= c.p; ++i) f.params->FIAR(i, c.p) = before[i - 1];
  const StationaryFit fit = ESTPA(c.p, *f.stats, *f.params);
  EXPECT_EQ(fit.code, c.code);
  for (int i = 1; i <= c.p; ++i) EXPECT_EQ(f.params->FIAR(i, c.p), before[i - 1]);
  EXPECT_EQ(fit.flag, kStationary);
}

INSTANTIATE_TEST_SUITE_P(Codes, EstpaSolverFailure,
                         testing::Values(FailureCase{"zero_pivot", {1.0, 0.5}, 2, kZeroPivot},
                                         FailureCase{"negative_root", {0.9, -0.9, 0.0}, 3, kNegativeRoot}),
                         [](const testing::TestParamInfo<FailureCase>& case_info) { return case_info.param.name; });

struct ArmaCase {
  std::string name;
  double phi;
  double theta;
};

void PrintTo(const ArmaCase& c, std::ostream* os) { *os << c.name; }

class EstmaKnownAnswer : public testing::TestWithParam<ArmaCase> {};

// The autocorrelations of an ARMA(1,1) give phi exactly (r(2) / r(1)) and
// make the true theta and noise ratio a fixed point of the iteration. The
// iteration stops once q moves by at most 0.1 % in a round; for these models
// the rounds contract by a factor below 0.5, so theta is within 2e-3 of the
// truth.
TEST_P(EstmaKnownAnswer, RecoversPhiAndTheta) {
  const ArmaCase& c = GetParam();
  const std::vector<double> r = stationary_autocorrelations({c.phi}, c.theta, 10);
  for (int p = 1; p <= 3; ++p) {
    Fixture f(r);
    const StationaryFit fit = ESTMA(p, *f.stats, *f.params);
    ASSERT_EQ(fit.code, kSolved) << "p = " << p;
    EXPECT_EQ(fit.flag, kStationary);
    EXPECT_NEAR(f.params->FIARMA(1, p), c.phi, 1e-12);
    for (int i = 2; i <= p; ++i) EXPECT_NEAR(f.params->FIARMA(i, p), 0.0, 1e-12);
    EXPECT_NEAR(f.params->FIARMA(p + 1, p), c.theta, 2e-3);
  }
}

INSTANTIATE_TEST_SUITE_P(Models, EstmaKnownAnswer,
                         testing::Values(ArmaCase{"persistent", 0.8, 0.3}, ArmaCase{"negative_theta", 0.5, -0.4},
                                         ArmaCase{"small", 0.3, 0.1}),
                         [](const testing::TestParamInfo<ArmaCase>& case_info) { return case_info.param.name; });

TEST(Estma, Arma11PhiIsTheRatioOfTheFirstTwoAutocorrelations) {
  Fixture f({0.6, 0.42});
  ASSERT_EQ(ESTMA(1, *f.stats, *f.params).code, kSolved);
  EXPECT_EQ(f.params->FIARMA(1, 1), 0.42 / 0.6);
}

TEST(Estma, ThetaLeavingTheUnitIntervalIsCode20) {
  // phi = 0.1 / 0.9 and theta starts at (phi - 0.9) / (1 - 0.81) < -4.
  Fixture f({0.9, 0.1});
  const StationaryFit fit = ESTMA(1, *f.stats, *f.params);
  EXPECT_EQ(fit.code, kThetaOut);
  EXPECT_EQ(fit.flag, kStationary);
}

TEST(Estma, ZeroFirstAutocorrelationIsCode10) {
  Fixture f({0.0, 0.3});
  EXPECT_EQ(ESTMA(1, *f.stats, *f.params).code, kZeroPivot);
}

TEST(Estma, NonStationaryAutoregressivePartIsFlaggedAndThetaLeftAlone) {
  // phi = 0.95 / 0.5 > 1.
  Fixture f({0.5, 0.95});
  f.params->FIARMA(2, 1) = 0.125;
  const StationaryFit fit = ESTMA(1, *f.stats, *f.params);
  EXPECT_EQ(fit.code, kSolved);
  EXPECT_EQ(fit.flag, kNotStationary);
  EXPECT_EQ(f.params->FIARMA(2, 1), 0.125);
}

// sigma_a^2 / var(z) of an ARMA(1,1) is (1 - phi^2) / (1 + theta^2 - 2 phi theta).
TEST(Varbm, GivesTheNoiseRatioOfTheTrueArma11) {
  const double phi = 0.7;
  const double theta = 0.4;
  Fixture f(stationary_autocorrelations({phi}, theta, 10));
  f.params->FIARMA(1, 1) = phi;
  f.params->FIARMA(2, 1) = theta;
  VARBM(kNsem, 1, *f.stats, *f.params, *f.varres, 5);
  const double ratio = (1.0 - phi * phi) / (1.0 + theta * theta - 2.0 * phi * theta);
  for (int t = 1; t <= kNsem; ++t) EXPECT_NEAR((*f.varres)(t, 5), ratio * f.stats->VARSEM(t), 1e-12);
}

// Only phi1 enters the denominator 1 - phi1 theta + theta^2, whatever the order.
TEST(Varbm, DenominatorUsesOnlyTheFirstCoefficient) {
  Fixture f({0.5, 0.3, 0.1});
  f.params->FIARMA(1, 2) = 0.4;
  f.params->FIARMA(2, 2) = 0.2;
  f.params->FIARMA(3, 2) = 0.5;
  VARBM(kNsem, 2, *f.stats, *f.params, *f.varres, 3);
  const double s = 1.0 - (0.4 * 0.5 + 0.2 * 0.3);
  const double d = 1.0 - 0.4 * 0.5 + 0.5 * 0.5;
  EXPECT_DOUBLE_EQ((*f.varres)(1, 3), (s / d) * f.stats->VARSEM(1));
}

}  // namespace
}  // namespace darcalim
