// Whole runs of the program, as a process, on two cases of tests/cases: the
// option-2 case of Wuerzburg (one pass, 93 models) and the combined case of
// Maxau (two passes, 140 models, variability option 1).
//
// Each iteration copies the case's input into a fresh scratch folder (not
// timed), then starts the built program there and waits for its end (timed,
// in wall-clock time: the work is done by the child process).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "tests/support/case_folder.h"
#include "tests/support/child_process.h"
#include "tests/support/scratch_folder.h"

namespace darcalim {
namespace {

namespace fs = std::filesystem;

void BM_WholeRun(benchmark::State& state, const std::string& name) {
  for (auto _ : state) {
    state.PauseTiming();
    ScratchFolder scratch;
    const fs::path work = scratch.path() / "case";
    copy_case_input(DARCALIM_CASES_DIR, name, work);
    state.ResumeTiming();
    const int status = run_process(DARCALIM_EXE, {}, work);
    state.PauseTiming();
    if (status != 0) {
      state.SkipWithError(("the run ended with status " + std::to_string(status)).c_str());
      state.ResumeTiming();
      break;
    }
    state.ResumeTiming();
  }
}

BENCHMARK_CAPTURE(BM_WholeRun, s01_wuerzburg_o2, std::string("s01_wuerzburg_o2"))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_WholeRun, s02_maxau_o5v1, std::string("s02_maxau_o5v1"))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace darcalim

BENCHMARK_MAIN();
