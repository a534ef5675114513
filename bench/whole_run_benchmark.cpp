// Whole runs of the program, as a process, each on a fresh copy of a case:
// the option-2 case of Wuerzburg (one pass, 93 models, 60 years), the
// combined case of Maxau (two passes, 140 models, variability option 1, 65
// years) and the 90-year combined case of Basel with variability option 1
// (bench/fixtures), each with one thread and with two (DARCALIM_THREADS).
//
// The time of an iteration is the wall-clock time from the start of the
// program to its end (the copy of the case is not timed). The counters give
// the child's CPU time (user and system) per run and the largest peak
// resident set of a run; the label gives the aims of the case.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/support/case_folder.h"
#include "tests/support/child_process.h"
#include "tests/support/scratch_folder.h"

namespace darcalim {
namespace {

namespace fs = std::filesystem;

constexpr double kMillisecondsPerSecond = 1000.0;
double seconds_of(const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; }

struct BenchCase {
  fs::path input;     // the folder a run starts from
  const char* aims;   // what a run of it should take
};

BenchCase shipped_case(const std::string& name, const char* aims) {
  return {fs::path(DARCALIM_CASES_DIR) / name / "input", aims};
}

void BM_WholeRun(benchmark::State& state, const BenchCase& bench_case) {
  const std::string threads = std::to_string(state.range(0));
  setenv("DARCALIM_THREADS", threads.c_str(), 1);
  double cpu_seconds = 0.0;
  long peak_kilobytes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    ScratchFolder scratch;
    const fs::path work = scratch.path() / "case";
    copy_case_folder(bench_case.input, work);
    rusage usage{};
    state.ResumeTiming();
    const int status = run_process(DARCALIM_EXE, {}, work, &usage);
    state.PauseTiming();
    cpu_seconds += seconds_of(usage.ru_utime) + seconds_of(usage.ru_stime);
    peak_kilobytes = std::max(peak_kilobytes, usage.ru_maxrss);
    if (status != 0) {
      state.SkipWithError(("the run ended with status " + std::to_string(status)).c_str());
      state.ResumeTiming();
      break;
    }
    state.ResumeTiming();
  }
  unsetenv("DARCALIM_THREADS");
  const double runs = static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
  state.counters["cpu_ms"] = cpu_seconds * kMillisecondsPerSecond / runs;
  state.counters["peak_rss_MB"] = kilobytes_to_megabytes(static_cast<double>(peak_kilobytes));
  state.SetLabel(bench_case.aims);
}

BENCHMARK_CAPTURE(BM_WholeRun, s01_wuerzburg_o2,
                  shipped_case("s01_wuerzburg_o2", "aim: 12 ms wall, 20 ms CPU, 16 MB"))
    ->Arg(1)->Arg(2)->ArgName("threads")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_WholeRun, s02_maxau_o5v1,
                  shipped_case("s02_maxau_o5v1", "aim: 30 ms wall, 45 ms CPU, 16 MB"))
    ->Arg(1)->Arg(2)->ArgName("threads")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_WholeRun, basel_90y_o5v1,
                  BenchCase{fs::path(DARCALIM_BENCH_FIXTURES_DIR) / "basel_90y_o5v1", "aim: 40 ms wall, 16 MB"})
    ->Arg(1)->Arg(2)->ArgName("threads")->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace darcalim

BENCHMARK_MAIN();
