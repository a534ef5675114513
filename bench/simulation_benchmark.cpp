// The simulation of every model of one series over a 40-year window.
//
// The Cochem case (option 0: one untransformed series of 47 models, 79
// complete years) is run once, in process, in a scratch copy of its folder;
// its whole-history parameters then walk the first 40 years of the history,
// month by month, writing their forecasts to a fresh record file. The file
// is opened before and written out after each timed walk, outside the time.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <stdexcept>

#include "driver/run.h"
#include "driver/run_driver.h"
#include "evaluation/simulation.h"
#include "tests/support/scratch_folder.h"

namespace darcalim {
namespace {

namespace fs = std::filesystem;

constexpr int kYears = 40;
constexpr int kWholeHistory = 3;

// The case, run once and kept for every benchmark of the process.
struct RunCase {
  ScratchFolder folder;
  std::ostringstream console;
  std::unique_ptr<Run> run;

  explicit RunCase(const char* name) {
    const fs::path work = folder.path() / "case";
    fs::copy(fs::path(DARCALIM_CASES_DIR) / name / "input", work);
    for (const auto& entry : fs::directory_iterator(work)) {
      fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add);
    }
    run = std::make_unique<Run>(work, console);
    if (run_darcalim(*run) != 0) throw std::runtime_error("the case did not run: " + console.str());
  }
};

Run& cochem() {
  static RunCase c("s03_cochem_o0_vazp");
  return *c.run;
}

void BM_SimulateOneSeries(benchmark::State& state) {
  Run& run = cochem();
  if (run.JANELA(kWholeHistory).last < kYears) {
    state.SkipWithError("the history is shorter than the window");
    return;
  }
  const Window window{1, kYears};
  const fs::path path = run.folder / "PREVT.BENCH";
  const SimulationClamp no_clamp;
  const PassWalkData walk = pass_walk_data(run, kWholeHistory);
  const SimulationInputs in{walk, run.history.HISTORICO, run.GRUPO, run.history.FAC, run.CASO.variability_option, 0};
  for (auto _ : state) {
    state.PauseTiming();
    fs::remove(path);
    RecordFile records;
    records.open(path);
    state.ResumeTiming();
    SIMPREV(in, kWholeHistory, window, {run.VARRES, run.simulation, records}, {}, no_clamp);
    state.PauseTiming();
    records.close();
    state.ResumeTiming();
  }
  state.counters["models"] = run.models.NMOD;
  state.counters["weeks"] = kYears * run.CASO.NSEM;
}
BENCHMARK(BM_SimulateOneSeries)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace darcalim

BENCHMARK_MAIN();
