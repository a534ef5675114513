#include "estimation/periodic_ar.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <ostream>
#include <string>
#include <vector>

#include "estimation/linalg/error_codes.h"
#include "tests/support/known_models.h"

namespace darcalim {
namespace {

using testing_support::PeriodicModel;
using testing_support::PeriodicMoments;

constexpr int kNsem = 52;

using testing_support::Tables;

// A PAR(2) whose coefficients change through the year.
PeriodicModel par2_model() {
  PeriodicModel m;
  m.phi.assign(kNsem + 1, {});
  m.theta.assign(kNsem + 1, 0.0);
  m.sigma2.assign(kNsem + 1, 0.0);
  for (int t = 1; t <= kNsem; ++t) {
    m.phi[static_cast<std::size_t>(t)] = {0.5 + 0.3 * std::sin(0.12 * t), -0.2 + 0.1 * std::cos(0.3 * t)};
    m.sigma2[static_cast<std::size_t>(t)] = 1.0 + 0.5 * std::cos(0.2 * t);
  }
  return m;
}

// The periodic correlations of a PAR(2) satisfy its periodic Yule-Walker
// equations, so every order from 2 up gives back its coefficients, in the
// standardised scale phi(j, t) s(t - j) / s(t), with zeros beyond lag 2.
TEST(Estpar, RecoversPar2CoefficientsFromItsPeriodicCorrelations) {
  const PeriodicModel model = par2_model();
  const PeriodicMoments moments(model);
  Tables tab;
  moments.fill_facper(*tab.stats, kWeeksGrouping, 10);
  for (int p = 2; p <= 4; ++p) {
    const WeekCodes codes = ESTPAR(kNsem, p, kWeeksGrouping, *tab.stats, *tab.params);
    for (int t = 1; t <= kNsem; ++t) {
      ASSERT_EQ(codes(t), kSolved) << "p = " << p << ", week " << t;
      for (int j = 1; j <= p; ++j) {
        const double expected =
            j <= 2 ? model.coef(j, t) * moments.deviation(t - j) / moments.deviation(t) : 0.0;
        EXPECT_NEAR(tab.params->FIPAR(j, t, p, kWeeksGrouping), expected, 1e-10)
            << "p = " << p << ", week " << t << ", lag " << j;
      }
    }
  }
}

TEST(Estpar, Par1OfSingleWeeksIsTheLagOneCorrelation) {
  const PeriodicMoments moments(par2_model());
  Tables tab;
  moments.fill_facper(*tab.stats, kWeeksGrouping, 10);
  for (int t = 1; t <= kNsem; ++t) tab.stats->VARSEM(t) = 2.0 + 0.1 * t;
  const WeekCodes codes = ESTPAR(kNsem, 1, kWeeksGrouping, *tab.stats, *tab.params);
  VARBP(kNsem, 1, kWeeksGrouping, *tab.stats, *tab.params, *tab.varres, 11);
  for (int t = 1; t <= kNsem; ++t) {
    const double rho = tab.stats->FACPER(1, t, kWeeksGrouping);
    EXPECT_EQ(codes(t), kSolved);
    EXPECT_EQ(tab.params->FIPAR(1, t, 1, kWeeksGrouping), rho);
    EXPECT_EQ((*tab.varres)(t, 11), (1.0 - rho * rho) * tab.stats->VARSEM(t));
  }
}

struct WeekCase {
  std::string name;
  double rho_t1, rho_t2, rho_prev1;  // rho_t(1), rho_t(2), rho_(t-1)(1)
  int code;
  bool written;
};

void PrintTo(const WeekCase& c, std::ostream* os) { *os << c.name; }

class EstparWeekCodes : public testing::TestWithParam<WeekCase> {};

// PAR(2) of week 10: T = [[1, rho_9(1)], [rho_9(1), 1]], right side rho_10(1..2).
TEST_P(EstparWeekCodes, ReportsTheWeekAndKeepsOrWritesItsCoefficients) {
  const WeekCase& c = GetParam();
  Tables tab;
  const int g = 2;
  tab.stats->FACPER(1, 10, g) = c.rho_t1;
  tab.stats->FACPER(2, 10, g) = c.rho_t2;
  tab.stats->FACPER(1, 9, g) = c.rho_prev1;
  tab.params->FIPAR(1, 10, 2, g) = 0.25;
  tab.params->FIPAR(2, 10, 2, g) = 0.125;
  const WeekCodes codes = ESTPAR(kNsem, 2, g, *tab.stats, *tab.params);
  EXPECT_EQ(codes(10), c.code);
  EXPECT_EQ(codes(11), kSolved);
  const bool kept = tab.params->FIPAR(1, 10, 2, g) == 0.25 && tab.params->FIPAR(2, 10, 2, g) == 0.125;
  EXPECT_EQ(kept, !c.written);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, EstparWeekCodes,
    testing::Values(WeekCase{"solved", 0.5, 0.3, 0.4, kSolved, true},
                    // phi = (0.9, -0.9): 1 - 0.81 - 0.81 < 0.
                    WeekCase{"negative_noise", 0.9, -0.9, 0.0, kNegativeNoise, true},
                    WeekCase{"negative_root", 0.5, 0.3, 1.5, kNegativeRoot, false},
                    WeekCase{"zero_pivot", 0.5, 0.3, 1.0, kZeroPivot, false},
                    // phi2 = (1.2 - 0) / 1: code 11 is kept ahead of code 8.
                    WeekCase{"last_coefficient_out", 0.0, 1.2, 0.0, kLastCoefficientOut, true}),
    [](const testing::TestParamInfo<WeekCase>& case_info) { return case_info.param.name; });

// ---- ESTPRL ----------------------------------------------------------------

// Coefficients of the PAR-RO truth used below: week t of a month starting at
// t0 is beta1(t) z(t0 - 1) + beta2(t) z(t0 - 2) + 0.01 e.
// They alternate from week to week, so that the weeks of one month are not
// nearly proportional combinations of the month's two regressors.
double beta1(int t) { return t % 2 == 0 ? 0.7 : 0.4; }
double beta2(int t) { return t % 2 == 0 ? -0.2 : -0.4; }
constexpr double kSmallNoise = 0.01;

// The last two weeks of every month are independent N(0, 1) values; the other
// weeks follow the frozen-regressor truth above (values before the history
// taken as 0). Returns the weeks that follow the truth.
std::vector<int> simulate_ro_truth(const WeekGroupings& g, SeriesTable& series, std::mt19937& rng) {
  std::normal_distribution<double> normal(0.0, 1.0);
  const WeekGrouping& months = g(kMonthsGrouping);
  std::vector<int> modelled;
  auto value = [&series](int y, int t) {
    if (t < 1) {
      --y;
      t += kNsem;
    }
    return y < 1 ? 0.0 : series(y, t);
  };
  for (int y = 1; y <= kMaxYears; ++y) {
    for (int m = 1; m <= kMonths; ++m) {
      const int t0 = months.INIPER(m);
      const int end = months.INIPER(m + 1);
      for (int t = t0; t < end; ++t) {
        if (t >= end - 2) {
          series(y, t) = normal(rng);
        } else {
          series(y, t) = beta1(t) * value(y, t0 - 1) + beta2(t) * value(y, t0 - 2) + kSmallNoise * normal(rng);
          if (y == 1) modelled.push_back(t);
        }
      }
    }
  }
  return modelled;
}

// With independent unit regressors and noise 0.01 over 99 or 100 years, the
// standard error of each coefficient of orders 2 to 4 is about
// 0.01 / sqrt(99) = 0.001; the tolerance of 0.006 is six of them. The lags 3
// and 4 are weeks that are themselves combinations of two earlier values
// (plus the 0.01 noise) with a smallest singular value near 0.2: their
// standard error is about 0.005 and their tolerance 0.03. (Order 1 leaves
// z(t0 - 2) in its noise, with a standard error forty times larger; it is not
// checked here.)
TEST(Estprl, RecoversFrozenRegressorCoefficientsFromASimulatedSeries) {
  Tables tab;
  const WeekGroupings g = testing_support::calendar_groupings();
  std::mt19937 rng(7);
  const std::vector<int> modelled = simulate_ro_truth(g, *tab.series, rng);
  testing_support::identity_standardisation(*tab.stats, kNsem);
  const Window window{1, kMaxYears};
  ESTPRL(kNsem, window, *tab.series, *tab.stats, g, *tab.params, *tab.varres, 21);
  for (int t : modelled) {
    for (int p = 2; p <= 4; ++p) {
      EXPECT_NEAR(tab.params->FIPARRO(1, t, p), beta1(t), 0.006) << "p = " << p << ", week " << t;
      EXPECT_NEAR(tab.params->FIPARRO(2, t, p), beta2(t), 0.006) << "p = " << p << ", week " << t;
      for (int j = 3; j <= p; ++j) {
        EXPECT_NEAR(tab.params->FIPARRO(j, t, p), 0.0, 0.03) << "p = " << p << ", week " << t;
      }
    }
  }
}

// The noise variance uses the week's own previous weeks as lags: at the first
// week of a month these are the frozen regressors and the variance is that of
// the 0.01 noise (within the chi-square spread of 99 values, about 15 %); in
// the middle of a month they are not, and the variance is of order one.
TEST(Estprl, NoiseVarianceUsesTheWeeksOwnPreviousWeeks) {
  Tables tab;
  const WeekGroupings g = testing_support::calendar_groupings();
  std::mt19937 rng(11);
  simulate_ro_truth(g, *tab.series, rng);
  testing_support::identity_standardisation(*tab.stats, kNsem);
  ESTPRL(kNsem, Window{1, kMaxYears}, *tab.series, *tab.stats, g, *tab.params, *tab.varres, 21);
  const WeekGrouping& months = g(kMonthsGrouping);
  const double noise = kSmallNoise * kSmallNoise;
  for (int m = 2; m <= kMonths; ++m) {
    const int t0 = months.INIPER(m);
    EXPECT_NEAR((*tab.varres)(t0, 22), noise, 0.5 * noise) << "week " << t0;
    EXPECT_GT((*tab.varres)(t0 + 1, 22), 0.1) << "week " << t0 + 1;
  }
  for (int t = 1; t <= kNsem; ++t) {
    EXPECT_EQ((*tab.varres)(t, 20), 0.0);
    EXPECT_EQ((*tab.varres)(t, 25), 0.0);
    for (int p = 1; p <= 4; ++p) EXPECT_GT((*tab.varres)(t, 20 + p), 0.0);
  }
}

// Week 1 of z(y, 1) = 0.6 z(y - 1, 52), the first year of the window made
// off-model: a window starting at year 1 leaves that year out, a later
// window takes it in with its lag from the year before.
TEST(Estprl, Week1UsesTheYearBeforeALaterWindow) {
  std::mt19937 rng(3);
  std::normal_distribution<double> normal(0.0, 1.0);
  const WeekGroupings g = testing_support::calendar_groupings();
  for (const Window window : {Window{1, 50}, Window{51, 100}}) {
    Tables tab;
    testing_support::identity_standardisation(*tab.stats, kNsem);
    SeriesTable& x = *tab.series;
    for (int y = 1; y <= kMaxYears; ++y) {
      for (int t = 2; t <= kNsem; ++t) x(y, t) = normal(rng);
      x(y, 1) = y == 1 ? 0.0 : 0.6 * x(y - 1, kNsem);
    }
    x(window.first, 1) += 1.0;
    ESTPRL(kNsem, window, x, *tab.stats, g, *tab.params, *tab.varres, 1);
    double xy = 0.0;
    double xx = 0.0;
    for (int y = window.first; y <= window.last; ++y) {
      if (y == 1) continue;
      xy += x(y, 1) * x(y - 1, kNsem);
      xx += x(y - 1, kNsem) * x(y - 1, kNsem);
    }
    const double expected = window.first == 1 ? 0.6 : xy / xx;
    EXPECT_NEAR(tab.params->FIPARRO(1, 1, 1), expected, 1e-12) << "window from " << window.first;
    if (window.first > 1) {
      EXPECT_GT(std::fabs(expected - 0.6), 1e-3);
    }
  }
}

// A month whose frozen regressor is constant makes every order singular:
// order 1 takes PAR(1)-G4 of the week, higher orders the order below and 0.
TEST(Estprl, FailedRegressionTakesTheFallbackCoefficients) {
  Tables tab;
  const WeekGroupings g = testing_support::calendar_groupings();
  std::mt19937 rng(5);
  simulate_ro_truth(g, *tab.series, rng);
  testing_support::identity_standardisation(*tab.stats, kNsem);
  const int t0 = g(kMonthsGrouping).INIPER(4);
  const int end = g(kMonthsGrouping).INIPER(5);
  for (int y = 1; y <= kMaxYears; ++y) (*tab.series)(y, t0 - 1) = 0.0;
  for (int t = 1; t <= kNsem; ++t) tab.params->FIPAR(1, t, 1, kWeeksGrouping) = 0.01 * t;
  ESTPRL(kNsem, Window{1, kMaxYears}, *tab.series, *tab.stats, g, *tab.params, *tab.varres, 1);
  for (int t = t0; t < end; ++t) {
    for (int p = 1; p <= 4; ++p) {
      EXPECT_EQ(tab.params->FIPARRO(1, t, p), 0.01 * t) << "p = " << p << ", week " << t;
      for (int j = 2; j <= p; ++j) EXPECT_EQ(tab.params->FIPARRO(j, t, p), 0.0);
    }
  }
  EXPECT_NE(tab.params->FIPARRO(1, end, 1), 0.01 * end);
}

}  // namespace
}  // namespace darcalim
