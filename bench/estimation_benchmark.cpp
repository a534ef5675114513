// Estimation of every model of one series on one 40-year window: the
// statistics are computed once, then ESTIMA runs on them (failure lines go
// to a report in the temporary folder; parameter tables are not printed).
//
// Target: well under 1 ms per estimation.
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <random>
#include <sstream>

#include "common/model_catalogue.h"
#include "driver/run.h"
#include "estimation/estimation_driver.h"
#include "stats/annual_autocorrelation.h"
#include "stats/periodic_autocorrelation.h"
#include "stats/weekly_moments.h"

namespace darcalim {
namespace {

constexpr int kYears = 40;
constexpr int kWeeksPerYear = 52;
// Weeks per month of a 52-week operating year.
constexpr int kMonthWeeks[12] = {5, 4, 4, 5, 4, 4, 5, 4, 4, 5, 4, 4};

void build_groupings(WeekGroupings& GRUPO) {
  Array<int, kMonths> weeks;
  for (int m = 1; m <= kMonths; ++m) weeks(m) = kMonthWeeks[m - 1];
  GRUPO = make_week_groupings(kWeeksPerYear, weeks, 1);
}

// Weekly flows with a seasonal mean and a persistent lognormal noise.
void simulate_flows(SeriesTable& X) {
  std::mt19937 gen(2026);
  std::normal_distribution<double> noise(0.0, 0.3);
  double state = 0.0;
  for (int y = 1; y <= kYears; ++y) {
    for (int t = 1; t <= kWeeksPerYear; ++t) {
      state = 0.8 * state + noise(gen);
      X(y, t) = (100.0 + 60.0 * std::sin(2.0 * M_PI * t / kWeeksPerYear)) * std::exp(state);
    }
  }
}

void BM_EstimateOneSeries(benchmark::State& state) {
  std::ostringstream console;
  auto run = std::make_unique<Run>(std::filesystem::temp_directory_path(), console);
  run->CASO.NSEM = kWeeksPerYear;
  run->CASO.print_parameters = 'N';
  run->history.NANOS = kYears;
  run->JANELA(1) = Window{1, kYears};
  run->models = build_model_list(0, kYears);
  run->run_report.open(run->file("darcalim-estimation-benchmark.rel"), OutputFile::Mode::kRewrite);
  build_groupings(run->GRUPO);
  simulate_flows(run->history.HISTORICO);
  SeriesStatistics& stats = run->stats(1, 1);
  MOMENT(run->history.HISTORICO, kWeeksPerYear, run->JANELA(1), stats);
  for (int g = 1; g <= kGroupings; ++g) {
    FACORR2(run->history.HISTORICO, kWeeksPerYear, run->JANELA(1), kLags, run->GRUPO(g), g, stats);
  }
  FACOA(run->history.HISTORICO, kWeeksPerYear, run->JANELA(1), kLags, stats);

  const EstimationInputs in{{run->history.HISTORICO, run->JANELA(1), run->GRUPO, kWeeksPerYear}, stats, 1, run->models,
                            run->CASO, kYears};
  for (auto _ : state) {
    ESTIMA(in, "SERIE SEM TRANSFORMACAO", run->params(1, 1), run->VARRES, run->run_report);
    benchmark::DoNotOptimize(run->params(1, 1));
  }
  run->run_report.close_and_delete();
}
BENCHMARK(BM_EstimateOneSeries)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace darcalim

BENCHMARK_MAIN();
