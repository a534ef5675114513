// The hindcast of the example case over ten years of weekly forecasts
// (2000-2009: 520 runs) on two threads, in process, as darcalim-hindcast runs
// it: each week's case cut into a scratch folder, run, and the folder removed;
// then the pairs and their scores. One iteration, in wall-clock time.
#include <benchmark/benchmark.h>

#include <stdexcept>

#include "hindcast/hindcast_runner.h"
#include "hindcast/scores.h"

namespace darcalim::hindcast {
namespace {

constexpr int kFromYear = 2000;
constexpr int kToYear = 2009;
constexpr int kJobs = 2;

void BM_HindcastOfTheExampleCase(benchmark::State& state) {
  const std::vector<HindcastCase> cases{read_hindcast_case(DARCALIM_EXAMPLE_DIR)};
  const std::vector<HindcastUnit> units = hindcast_units(cases, kFromYear, kToYear, {});
  std::size_t stopped = 0;
  std::size_t pairs = 0;
  for (auto _ : state) {
    const ScratchRoot scratch;
    std::vector<IssueOutcome> outcomes;
    run_hindcast(cases, units, kJobs, scratch.path(), outcomes);
    const std::vector<ForecastPair> forecast = forecast_pairs(cases, outcomes);
    std::vector<Pair> points;
    for (const ForecastPair& p : forecast) points.push_back(p.pair);
    benchmark::DoNotOptimize(score_pairs(points, cases[0].confidence_level));
    stopped = 0;
    for (const IssueOutcome& o : outcomes) {
      if (!o.result.normal_end()) ++stopped;
    }
    pairs = forecast.size();
  }
  state.counters["runs"] = static_cast<double>(units.size());
  state.counters["stopped"] = static_cast<double>(stopped);
  state.counters["pairs"] = static_cast<double>(pairs);
}
BENCHMARK(BM_HindcastOfTheExampleCase)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace
}  // namespace darcalim::hindcast

BENCHMARK_MAIN();
