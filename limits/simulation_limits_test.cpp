#include "limits/simulation_limits.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "common/model_catalogue.h"
#include "tests/support/ratio_fixtures.h"
#include "tests/support/run_in_folder.h"

namespace darcalim {
namespace {

constexpr int kNsem = 52;
constexpr int kWeek = 10;
constexpr int kModels = 47;        // option 0
constexpr double kInside = 68.0;   // inside every band below

int shuffled(int y) { return 1 + (7 * y) % 20; }  // runs over 1..20 in any 20 consecutive years

struct ClampCase {
  std::string name;
  Window eval;
  int Y;                          // simulated year
  std::vector<double> forecasts;  // models 1, 2, ...; the others forecast kInside
  std::vector<double> adjusted;
};

void PrintTo(const ClampCase& c, std::ostream* os) { *os << c.name; }

// Forty years of display flows: week 9 is 64 in every year, week 10 is
// 2 (16 + k(y)) in years 1..20 and 2 (32 + k(y)) in years 21..40, with
// k(y) = 1 + 7y mod 20. The week-10 ratios are 17/32 .. 36/32 in the first
// twenty years and 33/32 .. 52/32 in the last twenty, exact in 4 bytes, and
// the flow before week 10, Qp, is 64. With PERCINF 5 and PERCSUP 95 and the
// percentile codes 0 (no ratio sample of the periods replaces them):
//   - second half simulated, sample years 1..20: positions 1 and 19 of 20,
//     17/32 and 35/32, the band 34..70;
//   - first half simulated, sample years 21..40: 33/32 and 51/32, 66..102;
//   - whole history, 40 ratios: positions 2 and 38, 18/32 and 50/32, 36..100.
class SimulationLimits : public ::testing::Test {
 protected:
  SimulationLimits() {
    darcalim::Run& r = folder_.run();
    r.models = build_model_list(0, 40);
    r.CASO.NSEM = kNsem;
    r.GRUPO = testing_support::groupings52();
    r.JANELA(1) = {1, 20};
    r.JANELA(2) = {21, 40};
    r.JANELA(3) = {1, 40};
    r.percentiles.CODPER = 0;
    r.percentiles.CODCLA = 0;
    r.percentiles.PERCINF.fill(5.0);
    r.percentiles.PERCSUP.fill(95.0);
    for (int y = 1; y <= 40; ++y) {
      for (int w = 1; w <= kNsem; ++w) (*O_)(y, w) = 64.0;
      (*O_)(y, kWeek) = 2.0 * ((y <= 20 ? 16.0 : 32.0) + shuffled(y));
    }
  }

  ModelValues forecasts(const std::vector<double>& first) const {
    ModelValues D;
    for (int m = 1; m <= kModels; ++m) D(m) = kInside;
    for (std::size_t i = 0; i < first.size(); ++i) D(static_cast<int>(i) + 1) = first[i];
    return D;
  }

  // VARIHIDRO over the run's tables, as the driver calls it within one window.
  void clamp(const Window& eval, int Y, ModelValues& D, int week = kWeek) {
    darcalim::Run& r = folder_.run();
    const SimulationLimitInputs in{*O_, r.JANELA(kWindows), r.GRUPO, r.percentiles, r.CASO.NSEM, r.models.NMOD};
    VARIHIDRO(in, eval, Y, week, D, {r.variability.samples, samples_built_, week_bands_, r.variability.limits});
  }

  testing::RunInFolder folder_;
  std::unique_ptr<SeriesTable> O_ = std::make_unique<SeriesTable>();
  int samples_built_ = 0;
  WeekBands week_bands_;
};

class SimulationLimitsByWindow : public SimulationLimits, public ::testing::WithParamInterface<ClampCase> {};

TEST_P(SimulationLimitsByWindow, HoldsTheForecastsWithinTheBandOfTheSampleYears) {
  const ClampCase& c = GetParam();
  ModelValues D = forecasts(c.forecasts);
  clamp(c.eval, c.Y, D);
  const ModelValues expected = forecasts(c.adjusted);
  for (int m = 1; m <= kModels; ++m) EXPECT_EQ(D(m), expected(m)) << "model " << m;
}

// On each edge, below, above, inside; then 70.000001 / 64 and
// 33.9999995 / 64, which round to the limits in 4 bytes.
INSTANTIATE_TEST_SUITE_P(
    Windows, SimulationLimitsByWindow,
    ::testing::Values(ClampCase{"SecondHalf", {21, 40}, 25,
                                {34.0, 70.0, 20.0, 90.0, 50.0, 70.000001, 33.9999995},
                                {34.0, 70.0, 34.0, 70.0, 50.0, 70.000001, 33.9999995}},
                      ClampCase{"FirstHalf", {1, 20}, 5, {66.0, 102.0, 20.0, 150.0, 80.0},
                                {66.0, 102.0, 66.0, 102.0, 80.0}},
                      ClampCase{"WholeHistory", {1, 40}, 5, {36.0, 100.0, 20.0, 150.0, 50.0},
                                {36.0, 100.0, 36.0, 100.0, 50.0}}),
    [](const ::testing::TestParamInfo<ClampCase>& p) { return p.param.name; });

// Each week keeps its own band through the years of a window: week 9
// (every ratio 1, the band 64..64) does not stand in for week 10.
TEST_F(SimulationLimits, EachWeekKeepsItsOwnRatiosThroughTheWindow) {
  for (const int Y : {25, 26}) {
    ModelValues week9 = forecasts({20.0, 90.0});
    clamp({21, 40}, Y, week9, kWeek - 1);
    EXPECT_EQ(week9(1), 64.0);
    EXPECT_EQ(week9(2), 64.0);
    ModelValues week10 = forecasts({20.0, 90.0});
    clamp({21, 40}, Y, week10);
    EXPECT_EQ(week10(1), 34.0);
    EXPECT_EQ(week10(2), 70.0);
  }
}

// With no flow before the week the ratios are undefined: nothing moves.
TEST_F(SimulationLimits, ZeroFlowBeforeTheWeekAdjustsNothing) {
  (*O_)(25, kWeek - 1) = 0.0;
  ModelValues D;
  for (int m = 1; m <= kModels; ++m) D(m) = 10.0 * m;
  clamp({21, 40}, 25, D);
  for (int m = 1; m <= kModels; ++m) EXPECT_EQ(D(m), 10.0 * m) << "model " << m;
}

}  // namespace
}  // namespace darcalim
