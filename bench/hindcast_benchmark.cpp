// The hindcast, two ways.
//
// BM_HindcastOfTheExampleCase: the example case over ten years of weekly
// forecasts (2000-2009: 520 runs) on two threads, in process, as
// darcalim-hindcast runs it: each week's case cut into a scratch folder, run,
// and the folder removed; then the pairs and their scores.
//
// BM_ShippedCasesWholeAndInSlices: darcalim-hindcast (a process, on two
// threads) over the shipped cases whose histories hold 2009 (all but s04,
// whose history ends in 1990), every week of the year: in each of three
// rounds once whole, then as 4 slices (--shard K/4) one after another. Each
// slice reads every case, writes its own files and waits for its slowest run
// at its end: the closing lines give the sum of the slices' times against the
// whole (wall clock, and the CPU time of the processes), the least of the
// rounds, as the cost of slicing.
//
// BM_HindcastPeakMemory: the peak resident set of darcalim-hindcast (a
// process, two threads) over one year of the example case (52 runs) and over
// ten (520): a worker's memory does not grow with the runs it has done, so
// the two should be alike.
//
// BM_OneWorkerOverManyRuns: what a worker of the batch or of the hindcast
// does, one run after another on one thread in one process (here the example
// case, again and again, writing its files as the batch's runs do, or none as
// the hindcast's do); the resident set after the first 20 runs and after 200:
// a worker does not grow with the runs it has done.
//
// BM_HindcastOfTheExampleCase runs once, in wall-clock time.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "hindcast/hindcast_runner.h"
#include "hindcast/scores.h"
#include "tests/support/case_folder.h"
#include "tests/support/child_process.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/shipped_cases.h"
#include "tools/worker_memory.h"

namespace darcalim::hindcast {
namespace {

namespace fs = std::filesystem;

constexpr int kFromYear = 2000;
constexpr int kToYear = 2009;
constexpr int kJobs = 2;
constexpr int kWeeksPerYear = 52;  // of the example case

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

void BM_HindcastPeakMemory(benchmark::State& state) {
  const int years = static_cast<int>(state.range(0));
  long peak_kilobytes = 0;
  for (auto _ : state) {
    const ScratchFolder scratch;
    const std::vector<std::string> arguments{DARCALIM_EXAMPLE_DIR,
                                             "--from", std::to_string(kToYear - years + 1),
                                             "--to",   std::to_string(kToYear),
                                             "--jobs", std::to_string(kJobs)};
    rusage usage{};
    const int status = run_process(DARCALIM_HINDCAST_EXE, arguments, scratch.path(), &usage);
    peak_kilobytes = std::max(peak_kilobytes, usage.ru_maxrss);
    if (status != 0) {
      state.SkipWithError(("darcalim-hindcast exit status " + std::to_string(status)).c_str());
      return;
    }
  }
  state.counters["runs"] = years * kWeeksPerYear;
  state.counters["peak_rss_MB"] = kilobytes_to_megabytes(static_cast<double>(peak_kilobytes));
}
BENCHMARK(BM_HindcastPeakMemory)->Arg(1)->Arg(10)->ArgName("years")->Iterations(1)->Unit(benchmark::kSecond)
    ->UseRealTime();

// The resident set of this process, in MB (0 where /proc cannot tell).
double resident_megabytes() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) return kilobytes_to_megabytes(std::stod(line.substr(6)));
  }
  return 0.0;
}

void BM_OneWorkerOverManyRuns(benchmark::State& state) {
  constexpr int kFirstRuns = 20;
  constexpr int kRuns = 200;
  const RunFiles files = state.range(0) == 1 ? RunFiles::kWritten : RunFiles::kNone;
  double after_first = 0.0;
  double after_all = 0.0;
  for (auto _ : state) {
    const ScratchFolder scratch;
    const fs::path folder = scratch.path() / "case";
    copy_case_folder(DARCALIM_EXAMPLE_DIR, folder);
    for (int run = 1; run <= kRuns; ++run) {
      std::ostringstream console;
      std::ostringstream errors;
      if (!run_case(folder, console, errors, 1, files).normal_end()) {
        state.SkipWithError("a run did not end normally");
        return;
      }
      if (run == kFirstRuns) after_first = resident_megabytes();
    }
    after_all = resident_megabytes();
  }
  state.counters["rss_after_20_MB"] = after_first;
  state.counters["rss_after_200_MB"] = after_all;
  state.SetLabel(files == RunFiles::kWritten ? "files written (batch)" : "no files (hindcast)");
}
BENCHMARK(BM_OneWorkerOverManyRuns)->Arg(1)->Arg(0)->ArgName("files")->Iterations(1)->Unit(benchmark::kSecond)
    ->UseRealTime();

// The shipped cases' hindcast: its year, and the case left out (its history ends before it).
constexpr const char* kShippedYear = "2009";
constexpr const char* kCaseBeforeTheYear = "s04_borgharen_o4";
constexpr int kSlices = 4;
constexpr int kRounds = 3;

// Wall-clock and CPU seconds (of the child processes) of a run or of several.
struct Cost {
  double wall = 0.0;
  double cpu = 0.0;
  Cost& operator+=(const Cost& c) {
    wall += c.wall;
    cpu += c.cpu;
    return *this;
  }
};

// The least of each round's costs, whole and in slices: other work on the
// machine only ever adds to a time.
Cost least_whole{1e300, 1e300};
Cost least_slices{1e300, 1e300};

double children_cpu_seconds() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  const auto seconds = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + 1e-6 * static_cast<double>(t.tv_usec);
  };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The list of the shipped cases (their input folders, read in place) in `scratch`.
fs::path write_case_list(const fs::path& scratch) {
  const fs::path list = scratch / "cases.txt";
  std::ofstream out(list);
  for (const std::string& name : testing::shipped_case_names(DARCALIM_CASES_DIR)) {
    if (name != kCaseBeforeTheYear) out << (fs::path(DARCALIM_CASES_DIR) / name / "input").string() << "\n";
  }
  return list;
}

// darcalim-hindcast over the list in `scratch`, as slice `shard` ("" for the whole).
Cost hindcast_cost(const fs::path& scratch, const fs::path& list, const std::string& shard) {
  std::vector<std::string> arguments{"--list", list.string(),
                                     "--from", kShippedYear,
                                     "--to",   kShippedYear,
                                     "--jobs", std::to_string(kJobs),
                                     "--out",  shard.empty() ? "whole" : "slice"};
  if (!shard.empty()) arguments.insert(arguments.end(), {"--shard", shard});
  const double cpu = children_cpu_seconds();
  const auto start = std::chrono::steady_clock::now();
  const int status = run_process(DARCALIM_HINDCAST_EXE, arguments, scratch);
  if (status != 0) throw std::runtime_error("darcalim-hindcast exit status " + std::to_string(status));
  return {std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
          children_cpu_seconds() - cpu};
}

// Each round: the whole hindcast, then its slices one after another.
void BM_ShippedCasesWholeAndInSlices(benchmark::State& state) {
  const ScratchFolder scratch;
  const fs::path list = write_case_list(scratch.path());
  for (auto _ : state) {
    try {
      const Cost whole = hindcast_cost(scratch.path(), list, "");
      Cost slices;
      for (int k = 1; k <= kSlices; ++k) {
        slices += hindcast_cost(scratch.path(), list, std::to_string(k) + "/" + std::to_string(kSlices));
      }
      least_whole = {std::min(least_whole.wall, whole.wall), std::min(least_whole.cpu, whole.cpu)};
      least_slices = {std::min(least_slices.wall, slices.wall), std::min(least_slices.cpu, slices.cpu)};
      state.SetIterationTime(whole.wall + slices.wall);
    } catch (const std::exception& error) {
      state.SkipWithError(error.what());
      return;
    }
  }
  state.counters["slices"] = kSlices;
}
BENCHMARK(BM_ShippedCasesWholeAndInSlices)->Iterations(kRounds)->Unit(benchmark::kSecond)->UseManualTime();

}  // namespace
}  // namespace darcalim::hindcast

int main(int argc, char** argv) {
  darcalim::reuse_freed_memory();  // as the batch and the hindcast do
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  using darcalim::hindcast::kSlices;
  using darcalim::hindcast::least_slices;
  using darcalim::hindcast::least_whole;
  if (least_slices.wall < 1e300) {
    std::printf("hindcast of the shipped cases, %d slices one after another / one machine (least of the rounds):\n",
                kSlices);
    std::printf("  wall clock %.2f s / %.2f s = %.3f\n", least_slices.wall, least_whole.wall,
                least_slices.wall / least_whole.wall);
    std::printf("  CPU        %.2f s / %.2f s = %.3f\n", least_slices.cpu, least_whole.cpu,
                least_slices.cpu / least_whole.cpu);
  }
  return 0;
}
