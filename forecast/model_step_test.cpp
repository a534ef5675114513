#include "forecast/model_step.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "common/model_catalogue.h"
#include "tests/support/known_models.h"

namespace darcalim {
namespace {

constexpr int kNsem = 52;

// Weekly means 40 + t, every weekly variance 4 (so every scale factor
// c(t, u) is 1), overall mean 60 and variance 9. Every coefficient is zero
// until a test sets it, so a model forecasts its week's mean unless told
// otherwise. Option 0 with 25 years: one untransformed series of 47 models.
class ModelStep : public ::testing::Test {
 protected:
  ModelStep() {
    for (int t = 1; t <= kNsem; ++t) {
      stats().MEDSEM(t) = 40.0 + t;
      stats().VARSEM(t) = 4.0;
    }
    stats().MEDGER = 60.0;
    stats().VARGER = 9.0;
  }

  SeriesStatistics& stats() { return *tables_.stats; }
  SeriesParameters& params() { return *tables_.params; }
  SeriesTable& series() { return *tables_.series; }
  NoiseVariances& VARRES() { return *tables_.varres; }
  WalkState& state() { return *state_; }
  double mu(int t) { return stats().MEDSEM(t); }

  // The model number of a plain name ("PAR(1)-G4").
  int model(const std::string& name) const {
    for (int m = 1; m <= models_.NMOD; ++m) {
      const std::string& n = models_.model(m).long_name;
      if (n.substr(0, n.find_last_not_of(' ') + 1) == name) return m;
    }
    ADD_FAILURE() << "no model " << name;
    return 1;
  }

  SeriesWalkData data() { return {series(), stats(), params()}; }

  // One week of the walk with the observed value x, as a walk takes it: the
  // step, then the week's deviation becomes Z0.
  void walk(int t, int t0, double x, bool first_year = false) {
    const StepWeek week{.t = t, .t0 = t0, .first_week = t == t0, .first_year = first_year, .x = x};
    forecast_series_week(models_, 1, data(), kNsem, week, VARRES(), state());
    state().Z0(1) = deviation(stats(), x, t);
  }
  // The week before a month, observed `z` above its mean.
  void observe_deviation(int t, double z) { walk(t, t, mu(t) + z); }

  const ModelList& models() const { return models_; }
  double P(const std::string& name) { return state().P(model(name)); }

 private:
  ModelList models_ = build_model_list(0, 25);
  testing_support::Tables tables_;
  std::unique_ptr<WalkState> state_ = std::make_unique<WalkState>();
};

// --- one week of every series ---------------------------------------------

// The step over the pass reads each week's value from the given row of the
// series; an observed week becomes the deviation of the next step, a week of
// the final month leaves the last observed deviation in place.
TEST_F(ModelStep, StepOverThePassTakesObservedWeeksFromTheRowOnly) {
  constexpr int kRow = 3;
  params().FIAR(1, 1) = 0.5;
  series()(kRow, 13) = mu(13) + 8.0;
  series()(kRow, 14) = mu(14) - 30.0;
  Array<double, kMaxWeeks> LAMBDA, LIMBC;
  LAMBDA.fill(1.0);
  const PassWalkData pass{models(), {data(), data()}, kNsem, LAMBDA, LIMBC};
  step_every_series(pass, {kRow, 13, 13, true, true}, VARRES(), state());
  EXPECT_EQ(state().Z0(1), 8.0);
  step_every_series(pass, {kRow, 14, 14, true, false}, VARRES(), state());
  EXPECT_NEAR(P("AR(1)") - mu(14), 4.0, 1e-12);
  EXPECT_EQ(state().Z0(1), 8.0);
  step_every_series(pass, {kRow, 15, 14, false, false}, VARRES(), state());
  EXPECT_NEAR(P("AR(1)") - mu(15), 2.0, 1e-12);
}

// --- AR(1) over a five-week month ---------------------------------------

struct FiveWeekMonth {
  std::string name;
  int week_before;                // the week observed before the month
  int t0;                         // the month's first week
  std::vector<double> sd;         // standard deviation of weeks week_before, t0, ..., t0 + 4 (empty: all 2)
  std::vector<double> expected;   // forecast deviations of the five weeks
};

void PrintTo(const FiveWeekMonth& c, std::ostream* os) { *os << c.name; }

class ArOverAMonth : public ModelStep, public ::testing::WithParamInterface<FiveWeekMonth> {};

// With phi = 0.5 and the week before the month 8 above its mean, week k of
// the month is forecast k weeks ahead: mu(t) + phi^k * c(t, t0 - 1) * 8
// (the scale factors of the intermediate weeks cancel). The observations
// inside the month, 30 below the mean, do not reach the forecasts.
TEST_P(ArOverAMonth, WeekKIsAForecastKWeeksAhead) {
  const FiveWeekMonth& c = GetParam();
  if (!c.sd.empty()) {
    stats().VARSEM(c.week_before) = c.sd[0] * c.sd[0];
    for (int k = 1; k <= 5; ++k) {
      const double s = c.sd[static_cast<std::size_t>(k)];
      stats().VARSEM(c.t0 + k - 1) = s * s;
    }
  }
  params().FIAR(1, 1) = 0.5;
  observe_deviation(c.week_before, 8.0);
  for (int k = 1; k <= 5; ++k) {
    const int t = c.t0 + k - 1;
    walk(t, c.t0, mu(t) - 30.0);
    EXPECT_NEAR(P("AR(1)") - mu(t), c.expected[static_cast<std::size_t>(k - 1)], 1e-12) << "week " << k;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Months, ArOverAMonth,
    ::testing::Values(FiveWeekMonth{"EqualVariances", 13, 14, {}, {4.0, 2.0, 1.0, 0.5, 0.25}},
                      // 0.5 * 4/2 * 8, 0.25 * 6/2 * 8, 0.125 * 2/2 * 8, 0.0625 * 8/2 * 8, 0.03125 * 3/2 * 8
                      FiveWeekMonth{"UnequalVariances", 13, 14, {2, 4, 6, 2, 8, 3}, {8.0, 6.0, 1.0, 2.0, 0.375}},
                      // January: the week before is the last week of the year before.
                      FiveWeekMonth{"AcrossTheYearEnd", kNsem, 1, {}, {4.0, 2.0, 1.0, 0.5, 0.25}}),
    [](const ::testing::TestParamInfo<FiveWeekMonth>& p) { return p.param.name; });

// --- PAR(p)-RO keeps the month-start lags -----------------------------------

// Weeks 12 and 13 are observed 6 and -4 from their means, with standard
// deviations 2 and 4; the month 14..18 has standard deviation 4, so
// c(t, 13) = 1 and c(t, 12) = 2 throughout. PAR(2)-RO applies the target
// week's coefficients to those two lags in every week of the month:
// phi1 * (-4) + phi2 * 2 * 6.
TEST_F(ModelStep, ParRoUsesTheLagsBeforeTheMonthWithTheTargetWeeksCoefficients) {
  stats().VARSEM(12) = 4.0;
  for (int t = 13; t <= 18; ++t) stats().VARSEM(t) = 16.0;
  const double phi[5][2] = {{0.5, 0.25}, {0.25, 0.5}, {1.0, 0.0}, {0.0, 1.0}, {0.5, 0.5}};
  const double expected[5] = {1.0, 5.0, -4.0, 12.0, 4.0};
  for (int k = 0; k < 5; ++k) {
    params().FIPARRO(1, 14 + k, 2) = phi[k][0];
    params().FIPARRO(2, 14 + k, 2) = phi[k][1];
  }
  walk(12, 10, mu(12) + 6.0);
  walk(13, 10, mu(13) - 4.0);
  for (int k = 0; k < 5; ++k) {
    const int t = 14 + k;
    walk(t, 14, mu(t) + 20.0 * (k + 1));
    EXPECT_NEAR(P("PAR(2)-RO") - mu(t), expected[k], 1e-12) << "week " << t;
  }
}

// --- ARMA(1,1) ----------------------------------------------------------

// At the end of week 5 the observed deviation is 8 and ARMA(1;1)'s
// one-week-ahead forecast of week 5 was 4 above its mean: the innovation is
// 8 - 4 = 4. With phi = 0.5 and theta = 0.25:
//   week 6 (first of the month): 0.5 * 8 - 0.25 * 4 = 3, and R the same;
//   week 7 (observed deviation of week 6: 10): the forecast 0.5 * 3 = 1.5
//   carries no innovation; R = 0.5 * 10 - 0.25 * (10 - 3) = 3.25.
TEST_F(ModelStep, ArmaTakesTheInnovationOnTheMonthsFirstWeekOnly) {
  const int arma = model("ARMA(1;1)");
  params().FIARMA(1, 1) = 0.5;
  params().FIARMA(2, 1) = 0.25;
  state().Z0(1) = 8.0;
  state().R(arma) = mu(5) + 4.0;
  walk(6, 6, mu(6) + 10.0);
  EXPECT_DOUBLE_EQ(state().P(arma), mu(6) + 3.0);
  EXPECT_DOUBLE_EQ(state().R(arma), mu(6) + 3.0);
  walk(7, 6, mu(7) + 1.0);
  EXPECT_DOUBLE_EQ(state().P(arma), mu(7) + 1.5);
  EXPECT_DOUBLE_EQ(state().R(arma), mu(7) + 3.25);
}

// --- warm-up in the first year of the history ------------------------------

struct WarmUp {
  std::string model;
  int last_observed_week;  // weeks 1..this forecast the observation itself
  bool moving_average;
};

// A walk from year 1 (zero state) over January (weeks 1..5) and the first
// week of February, observing mu(t) + 10 t. Coefficients are zero, so a model
// that is not warming up forecasts mu(t). A model of order p forecasts the
// observation in weeks t <= p; an -RO model in every week of a month whose
// first week t0 <= p, so all of January.
TEST_F(ModelStep, FirstYearForecastsTheObservationUpToTheModelsOrder) {
  const std::vector<WarmUp> cases = {
      {"AR(1)", 1, false},         {"AR(4)", 4, false},         {"ARMA(3;1)", 3, true},
      {"PAR(2)-G1", 2, false},     {"PARMA(1;1)-RR", 1, true},  {"PAR(1)-RO", 5, false},
      {"PAR(3)-RO", 5, false},     {"PARMA(2;1)-RO", 5, true},  {"SAZONAL", 0, false},
  };
  INISP(state(), 1, 1, kNsem, data());
  for (int t = 1; t <= 6; ++t) {
    const double x = mu(t) + 10.0 * t;
    walk(t, t <= 5 ? 1 : 6, x, true);
    for (const WarmUp& c : cases) {
      const bool observed = t <= c.last_observed_week;
      EXPECT_DOUBLE_EQ(P(c.model), observed ? x : mu(t)) << c.model << " week " << t;
      if (c.moving_average && observed) {
        EXPECT_DOUBLE_EQ(state().R(model(c.model)), x) << c.model << " week " << t;
      }
    }
    EXPECT_DOUBLE_EQ(P("CONSTANTE"), 60.0);
  }
}

TEST_F(ModelStep, NoWarmUpAfterTheFirstYear) {
  walk(1, 1, mu(1) + 10.0, false);
  EXPECT_DOUBLE_EQ(P("AR(4)"), mu(1));
  EXPECT_DOUBLE_EQ(P("PAR(1)-RO"), mu(1));
}

// --- negative forecasts ----------------------------------------------------

struct NegativeAr {
  std::string name;
  double phi_ar1;
  double phi_ar2;
  double expected_ar1;
  double expected_ar2;
};

void PrintTo(const NegativeAr& c, std::ostream* os) { *os << c.name; }

class NegativeArForecast : public ModelStep, public ::testing::WithParamInterface<NegativeAr> {};

// Week 6 (mean 46) after a week observed 20 below its mean: AR(1) gives
// 46 - 20 phi1 and AR(2) 46 - 20 phi2 (its second lag, 0, does not count).
TEST_P(NegativeArForecast, TakesAr1sForecastOfTheSameWeek) {
  const NegativeAr& c = GetParam();
  params().FIAR(1, 1) = c.phi_ar1;
  params().FIAR(1, 2) = c.phi_ar2;
  observe_deviation(5, -20.0);
  walk(6, 6, 50.0);
  EXPECT_DOUBLE_EQ(P("AR(1)"), c.expected_ar1);
  EXPECT_DOUBLE_EQ(P("AR(2)"), c.expected_ar2);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NegativeArForecast,
    ::testing::Values(NegativeAr{"BothPositive", 0.5, 0.25, 36.0, 41.0},
                      NegativeAr{"Ar2Negative", 0.5, 3.0, 36.0, 36.0},
                      // The reference itself keeps its negative value, which AR(2) then takes.
                      NegativeAr{"ReferenceNegative", 3.0, 3.0, -14.0, -14.0}),
    [](const ::testing::TestParamInfo<NegativeAr>& p) { return p.param.name; });

// Weeks 6 and 7 of a month, after week 5 observed 20 below its mean.
// PAR(1)-G4 (phi 0.5 every week) forecasts 46 - 10 = 36 in week 6 and
// 47 - 5 = 42 in week 7. In week 7 PAR(3)-G1 holds 0, -20, ... as lags and
// its second coefficient 3 gives 47 - 60 < 0: listed before PAR(1)-G4, it
// takes PAR(1)-G4's forecast of week 6, 36. PAR(2)-RO, listed after it, gives
// 47 + 3 (-20) < 0 from the month-start lag and takes week 7's 42.
TEST_F(ModelStep, NegativePeriodicForecastTakesTheValuePar1G4HoldsAtThatMoment) {
  for (int t = 1; t <= kNsem; ++t) params().FIPAR(1, t, 1, 4) = 0.5;
  params().FIPAR(2, 7, 3, 1) = 3.0;
  params().FIPARRO(1, 7, 2) = 3.0;
  params().FIPARMA(1, 6, 1, 1) = 3.0;
  observe_deviation(5, -20.0);
  walk(6, 6, 50.0);
  EXPECT_DOUBLE_EQ(P("PAR(1)-G4"), 36.0);
  EXPECT_DOUBLE_EQ(P("PAR(3)-G1"), 46.0);
  EXPECT_DOUBLE_EQ(P("PARMA(1;1)-G1"), 36.0);  // 46 - 60 < 0, after PAR(1)-G4: week 6's value
  walk(7, 6, 50.0);
  EXPECT_DOUBLE_EQ(P("PAR(1)-G4"), 42.0);
  EXPECT_DOUBLE_EQ(P("PAR(3)-G1"), 36.0);
  EXPECT_DOUBLE_EQ(P("PAR(2)-RO"), 42.0);
  EXPECT_DOUBLE_EQ(P("AR(1)"), 47.0);
}

// --- the benchmarks and the band of the last model ---------------------------

struct Band {
  std::string name;
  double MEDGER;
  double expected;
};

void PrintTo(const Band& c, std::ostream* os) { *os << c.name; }

class ConstanteBand : public ModelStep, public ::testing::WithParamInterface<Band> {};

// Weeks 5 and 6: variance 6.25; week 5 observed 20 above its mean. PAR(1)-G4
// (phi 0.5) forecasts 56; AR(1) and SAZONAL forecast 46. CONSTANTE forecasts
// MEDGER and is held within 56 +- 1.96 * 2.5 = [51.1, 60.9].
TEST_P(ConstanteBand, ConstanteIsHeldAroundPar1G4) {
  const Band& c = GetParam();
  stats().VARSEM(5) = 6.25;
  stats().VARSEM(6) = 6.25;
  stats().MEDGER = c.MEDGER;
  params().FIPAR(1, 6, 1, 4) = 0.5;
  observe_deviation(5, 20.0);
  walk(6, 6, 50.0);
  EXPECT_DOUBLE_EQ(P("CONSTANTE"), c.MEDGER);
  EXPECT_DOUBLE_EQ(P("SAZONAL"), 46.0);
  EXPECT_DOUBLE_EQ(VARRES()(6, model("SAZONAL")), 6.25);
  EXPECT_DOUBLE_EQ(VARRES()(6, model("CONSTANTE")), 9.0);
  limit_last_model(models(), 1, stats(), 6, state());
  EXPECT_DOUBLE_EQ(P("PAR(1)-G4"), 56.0);
  EXPECT_NEAR(P("CONSTANTE"), c.expected, 1e-12);
  EXPECT_DOUBLE_EQ(P("SAZONAL"), 46.0);
}

INSTANTIATE_TEST_SUITE_P(Cases, ConstanteBand,
                         ::testing::Values(Band{"Inside", 58.0, 58.0}, Band{"Above", 65.0, 60.9},
                                           // 46 would be inside a band around AR(1) or SAZONAL.
                                           Band{"Below", 46.0, 51.1}),
                         [](const ::testing::TestParamInfo<Band>& p) { return p.param.name; });

// --- INISP -------------------------------------------------------------------

struct Start {
  std::string name;
  int NSEM;
  int Y;
  std::vector<double> Z;  // Z(1..4)
  double Z0;
};

void PrintTo(const Start& c, std::ostream* os) { *os << c.name; }

class StartOfAWalk : public ModelStep, public ::testing::WithParamInterface<Start> {};

// Values 1000 y + t with weekly means 2 t: the deviation of week t of year y
// is 1000 y - t.
TEST_P(StartOfAWalk, HoldsTheDeviationsOfTheYearBeforesLastWeeks) {
  const Start& c = GetParam();
  for (int y = 1; y <= 5; ++y) {
    for (int t = 1; t <= c.NSEM; ++t) series()(y, t) = 1000.0 * y + t;
  }
  for (int t = 1; t <= c.NSEM; ++t) stats().MEDSEM(t) = 2.0 * t;
  for (int i = 1; i <= 4; ++i) state().Z(i, 1) = -1.0;
  state().Z0(1) = -1.0;
  INISP(state(), 1, c.Y, c.NSEM, data());
  for (int i = 1; i <= 4; ++i) EXPECT_DOUBLE_EQ(state().Z(i, 1), c.Z[static_cast<std::size_t>(i - 1)]) << i;
  EXPECT_DOUBLE_EQ(state().Z0(1), c.Z0);
}

INSTANTIATE_TEST_SUITE_P(
    Years, StartOfAWalk,
    ::testing::Values(Start{"FirstYearStartsFromZero", 52, 1, {0, 0, 0, 0}, 0.0},
                      Start{"ThirdYear52Weeks", 52, 3, {1949, 1950, 1951, 1952}, 1948.0},
                      Start{"SecondYear53Weeks", 53, 2, {948, 949, 950, 951}, 947.0}),
    [](const ::testing::TestParamInfo<Start>& p) { return p.param.name; });

}  // namespace
}  // namespace darcalim
