#include "estimation/periodic_arma.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "estimation/linalg/error_codes.h"
#include "tests/support/known_models.h"

namespace darcalim {
namespace {

using testing_support::PeriodicModel;
using testing_support::PeriodicMoments;

constexpr int kNsem = 52;
constexpr int kGroup = kWeeksGrouping;

using testing_support::Tables;

// PARMA(1,1) whose coefficients and noise variance change through the year.
PeriodicModel parma11_model() {
  PeriodicModel m;
  m.phi.assign(kNsem + 1, {});
  m.theta.assign(kNsem + 1, 0.0);
  m.sigma2.assign(kNsem + 1, 0.0);
  for (int t = 1; t <= kNsem; ++t) {
    m.phi[static_cast<std::size_t>(t)] = {0.6 + 0.2 * std::sin(0.12 * t)};
    m.theta[static_cast<std::size_t>(t)] = 0.3 + 0.1 * std::cos(0.25 * t);
    m.sigma2[static_cast<std::size_t>(t)] = 1.0 + 0.4 * std::sin(0.2 * t);
  }
  return m;
}

// Periodic correlations of the PARMA(1,1) in FACPER, PAR(1) of the grouping
// as ESTPAR gives it (the lag-1 correlation), VARSEM varying by week.
void load_parma11(const PeriodicMoments& moments, Tables& tab) {
  moments.fill_facper(*tab.stats, kGroup, 10);
  for (int t = 1; t <= kNsem; ++t) {
    tab.params->FIPAR(1, t, 1, kGroup) = tab.stats->FACPER(1, t, kGroup);
    tab.stats->VARSEM(t) = 3.0 + 0.05 * t;
  }
}

// ---- ESTMAP ------------------------------------------------------------------

// The correlations of a PARMA(1,1) follow phi(t) from lag 2 on, so every
// order gives back phi (in the standardised scale, phi(t) s(t-1)/s(t)) and
// zeros beyond it, to rounding. The true theta and noise ratio are a fixed
// point of the sweeps: an error in q(t - 1) reaches q(t) multiplied by
// theta(t)^2, below 0.2 here, and each sweep carries it round the whole year,
// so the two sweeps made at least leave theta and q exact to rounding too.
TEST(Estmap, RecoversAPeriodicArma11FromItsCorrelations) {
  const PeriodicModel model = parma11_model();
  const PeriodicMoments moments(model);
  Tables tab;
  load_parma11(moments, tab);
  for (int p = 1; p <= 3; ++p) {
    const int model_number = 27 + p;
    const WeekCodes codes = ESTMAP(kNsem, p, kGroup, *tab.stats, *tab.params, *tab.varres, model_number);
    for (int t = 1; t <= kNsem; ++t) {
      const double scale = moments.deviation(t - 1) / moments.deviation(t);
      const double q = model.sigma2[static_cast<std::size_t>(t)] / (moments.deviation(t) * moments.deviation(t));
      ASSERT_EQ(codes(t), kSolved) << "p = " << p << ", week " << t;
      EXPECT_NEAR(tab.params->FIPARMA(1, t, p, kGroup), model.coef(1, t) * scale, 1e-10) << "week " << t;
      for (int j = 2; j <= p; ++j) EXPECT_NEAR(tab.params->FIPARMA(j, t, p, kGroup), 0.0, 1e-10);
      EXPECT_NEAR(tab.params->FIPARMA(p + 1, t, p, kGroup), model.theta[static_cast<std::size_t>(t)] * scale, 1e-12)
          << "p = " << p << ", week " << t;
      EXPECT_NEAR((*tab.varres)(t, model_number) / tab.stats->VARSEM(t), q, 1e-12) << "p = " << p << ", week " << t;
    }
  }
}

TEST(Estmap, Parma11PhiIsTheLagTwoCorrelationOverThePreviousWeeksLagOne) {
  const PeriodicMoments moments(parma11_model());
  Tables tab;
  load_parma11(moments, tab);
  ESTMAP(kNsem, 1, kGroup, *tab.stats, *tab.params, *tab.varres, 28);
  for (int t = 1; t <= kNsem; ++t) {
    const int before = t == 1 ? kNsem : t - 1;
    EXPECT_EQ(tab.params->FIPARMA(1, t, 1, kGroup),
              tab.stats->FACPER(2, t, kGroup) / tab.stats->FACPER(1, before, kGroup));
  }
}

// Week 10 with rho_10(1) = -0.5: theta starts at (phi1 + 0.5) / q(9) > 1, so
// the week falls back to PAR(1) of its grouping with theta = 0, whose noise
// ratio is 1 - rho_10(1)^2.
TEST(Estmap, WeekWhoseThetaReachesOneFallsBackToPar1) {
  const PeriodicMoments moments(parma11_model());
  Tables tab;
  load_parma11(moments, tab);
  tab.stats->FACPER(1, 10, kGroup) = -0.5;
  tab.params->FIPAR(1, 10, 1, kGroup) = -0.5;
  const WeekCodes codes = ESTMAP(kNsem, 1, kGroup, *tab.stats, *tab.params, *tab.varres, 28);
  EXPECT_EQ(codes(10), kSolved);
  EXPECT_EQ(tab.params->FIPARMA(1, 10, 1, kGroup), -0.5);
  EXPECT_EQ(tab.params->FIPARMA(2, 10, 1, kGroup), 0.0);
  EXPECT_DOUBLE_EQ((*tab.varres)(10, 28), 0.75 * tab.stats->VARSEM(10));
}

// Week 10 with rho_9(1) = rho_9(2) = 0: its autoregressive system is singular
// at every order. Order 1 takes PAR(1) of the grouping, order 2 the phi of
// PARMA(1,1) and phi2 = 0.
TEST(Estmap, SingularWeekStartsFromTheOrderBelow) {
  const PeriodicMoments moments(parma11_model());
  Tables tab;
  load_parma11(moments, tab);
  tab.stats->FACPER(1, 9, kGroup) = 0.0;
  tab.stats->FACPER(2, 9, kGroup) = 0.0;
  const WeekCodes first = ESTMAP(kNsem, 1, kGroup, *tab.stats, *tab.params, *tab.varres, 28);
  EXPECT_EQ(first(10), kZeroPivot);
  EXPECT_EQ(tab.params->FIPARMA(1, 10, 1, kGroup), tab.params->FIPAR(1, 10, 1, kGroup));
  const WeekCodes second = ESTMAP(kNsem, 2, kGroup, *tab.stats, *tab.params, *tab.varres, 29);
  EXPECT_EQ(second(10), kZeroPivot);
  EXPECT_EQ(second(11), kSolved);
  EXPECT_EQ(tab.params->FIPARMA(1, 10, 2, kGroup), tab.params->FIPARMA(1, 10, 1, kGroup));
  EXPECT_EQ(tab.params->FIPARMA(2, 10, 2, kGroup), 0.0);
}

// ---- ESTMAPR / ESTMAPRL --------------------------------------------------------

constexpr double kPhi = 0.8;
constexpr double kTheta = -0.3;

// 100 years of the ARMA(1,1) z = 0.8 z(-1) + a + 0.3 a(-1), unit noise, the
// same in every week; z is taken as the standardised value itself, and the
// PAR(1)-G4 coefficient of every week is the lag-1 correlation of the model.
void simulate_arma11(Tables& tab, unsigned seed) {
  PeriodicModel m;
  m.phi.assign(kNsem + 1, {kPhi});
  m.theta.assign(kNsem + 1, kTheta);
  m.sigma2.assign(kNsem + 1, 1.0);
  std::mt19937 rng(seed);
  testing_support::simulate(m, kMaxYears, 10, rng, *tab.series);
  testing_support::identity_standardisation(*tab.stats, kNsem);
  const double r1 = (1.0 - kPhi * kTheta) * (kPhi - kTheta) / (1.0 + kTheta * kTheta - 2.0 * kPhi * kTheta);
  for (int t = 1; t <= kNsem; ++t) tab.params->FIPAR(1, t, 1, kWeeksGrouping) = r1;
}

double mean_over_weeks(const std::vector<double>& v) {
  double s = 0.0;
  for (double x : v) s += x;
  return s / static_cast<double>(v.size());
}

// Each week's coefficients come from 99 or 100 years: over repeated
// simulations their standard errors are near 0.06 (phi) and 0.12 (theta),
// those of their means over the 52 weeks near 0.01 and 0.02. Every week must
// be within five standard errors of the truth (0.3 and 0.6), the means within
// 0.05 and 0.1, and the mean noise variance (0.98 expected: the divisor counts
// the year left out) within 0.05 of 1.
TEST(Estmapr, RecoversArma11CoefficientsFromASimulatedSeries) {
  Tables tab;
  simulate_arma11(tab, 17);
  ESTMAPR(kNsem, Window{1, kMaxYears}, *tab.series, *tab.stats, *tab.params, *tab.varres, 40);
  std::vector<double> phi;
  std::vector<double> theta;
  std::vector<double> noise;
  for (int t = 1; t <= kNsem; ++t) {
    phi.push_back(tab.params->FIPARMAR(1, t, 1));
    theta.push_back(tab.params->FIPARMAR(2, t, 1));
    noise.push_back((*tab.varres)(t, 40));
    EXPECT_NEAR(phi.back(), kPhi, 0.3) << "week " << t;
    EXPECT_NEAR(theta.back(), kTheta, 0.6) << "week " << t;
  }
  EXPECT_NEAR(mean_over_weeks(phi), kPhi, 0.05);
  EXPECT_NEAR(mean_over_weeks(theta), kTheta, 0.1);
  EXPECT_NEAR(mean_over_weeks(noise), 1.0, 0.05);
}

// Frozen at the start of the month, the regression of a week k weeks after
// it estimates phi^(k+1) on z(t0 - 1) and theta phi^k on the residual. The
// weeks k = 0, 1, 2 of months 2 to 12 are averaged; with per-week standard
// errors near 0.07 (phi) and 0.13 (theta) the 11-week means are held to
// about five standard errors, 0.1 and 0.2.
TEST(Estmaprl, RecoversMultiStepCoefficientsFromASimulatedSeries) {
  Tables tab;
  simulate_arma11(tab, 23);
  const WeekGroupings g = testing_support::calendar_groupings();
  ESTMAPR(kNsem, Window{1, kMaxYears}, *tab.series, *tab.stats, *tab.params, *tab.varres, 40);
  ESTMAPRL(kNsem, Window{1, kMaxYears}, *tab.series, *tab.stats, g, *tab.params, *tab.varres, 43);
  const WeekGrouping& months = g(kMonthsGrouping);
  for (int k = 0; k <= 2; ++k) {
    std::vector<double> phi;
    std::vector<double> theta;
    for (int m = 2; m <= kMonths; ++m) {
      const int t = months.INIPER(m) + k;
      phi.push_back(tab.params->FIPARMARO(1, t, 1));
      theta.push_back(tab.params->FIPARMARO(2, t, 1));
    }
    EXPECT_NEAR(mean_over_weeks(phi), std::pow(kPhi, k + 1), 0.1) << "k = " << k;
    EXPECT_NEAR(mean_over_weeks(theta), kTheta * std::pow(kPhi, k), 0.2) << "k = " << k;
  }
}

TEST(RegressionEstimators, FillTheirThreeNoiseVarianceColumnsForEveryWeek) {
  Tables tab;
  simulate_arma11(tab, 29);
  const WeekGroupings g = testing_support::calendar_groupings();
  ESTMAPR(kNsem, Window{21, 60}, *tab.series, *tab.stats, *tab.params, *tab.varres, 40);
  ESTMAPRL(kNsem, Window{21, 60}, *tab.series, *tab.stats, g, *tab.params, *tab.varres, 43);
  for (int t = 1; t <= kNsem; ++t) {
    EXPECT_EQ((*tab.varres)(t, 39), 0.0);
    for (int m = 40; m <= 45; ++m) EXPECT_GT((*tab.varres)(t, m), 0.0) << "week " << t << ", model " << m;
    EXPECT_EQ((*tab.varres)(t, 46), 0.0);
  }
}

// Week 20 constant: every regression of week 21 is singular. Order 1 takes
// PAR(1)-G4 with theta = 0; orders 2 and 3 the values of the order below
// with 0 as the new autoregressive coefficient.
TEST(Estmapr, FailedRegressionTakesTheFallbackCoefficients) {
  Tables tab;
  simulate_arma11(tab, 31);
  for (int y = 1; y <= kMaxYears; ++y) (*tab.series)(y, 20) = 0.0;
  tab.params->FIPAR(1, 21, 1, kWeeksGrouping) = 0.375;
  ESTMAPR(kNsem, Window{1, kMaxYears}, *tab.series, *tab.stats, *tab.params, *tab.varres, 40);
  const auto& c = tab.params->FIPARMAR;
  EXPECT_EQ(c(1, 21, 1), 0.375);
  EXPECT_EQ(c(2, 21, 1), 0.0);
  for (int p = 2; p <= 3; ++p) {
    EXPECT_EQ(c(1, 21, p), 0.375) << "p = " << p;
    for (int i = 2; i <= p + 1; ++i) EXPECT_EQ(c(i, 21, p), 0.0) << "p = " << p << ", position " << i;
  }
}

}  // namespace
}  // namespace darcalim
