// 64 case folders (copies of the cases of tests/cases, in turn) run two ways:
// by darcalim-batch on two threads, as one process, and by the built program
// in 64 processes one after another, as a shell loop would. The closing line
// gives the ratio of the two wall-clock times (batch / one after another).
//
// Each iteration makes fresh copies of the 64 folders (not timed), then runs
// them (timed, in wall-clock time: the work is done by child processes).
//
// BM_BatchPeakMemory: the peak resident set of darcalim-batch over 8 copies
// of one case and over 64, on two threads: a worker's memory does not grow
// with the runs it has done, so the two should be alike. (With different
// cases the peak depends on which two run at the same time.)
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/case_folder.h"
#include "tests/support/child_process.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/shipped_cases.h"

namespace darcalim {
namespace {

namespace fs = std::filesystem;

constexpr int kFolders = 64;

std::vector<std::string> case_names() { return darcalim::testing::shipped_case_names(DARCALIM_CASES_DIR); }

constexpr const char* kLargestCase = "s05_basel_o5v0";  // 90 years, combined

// `count` fresh case folders under `root`, the shipped cases in turn, or
// copies of `only` when given.
std::vector<std::string> make_folders(const fs::path& root, int count = kFolders, const std::string& only = "") {
  const auto names = only.empty() ? case_names() : std::vector<std::string>{only};
  std::vector<std::string> folders;
  for (int i = 0; i < count; ++i) {
    const std::string& name = names[static_cast<std::size_t>(i) % names.size()];
    const fs::path work = root / (std::to_string(i) + "-" + name);
    copy_case_input(DARCALIM_CASES_DIR, name, work);
    folders.push_back(work.string());
  }
  return folders;
}

// Mean wall-clock seconds of an iteration of each benchmark, for the ratio.
double batch_seconds = 0.0;
double serial_seconds = 0.0;

template <typename Body>
void timed_iterations(benchmark::State& state, double& mean_seconds, Body body) {
  double total = 0.0;
  for (auto _ : state) {
    state.PauseTiming();
    auto scratch = std::make_unique<ScratchFolder>();
    const std::vector<std::string> folders = make_folders(scratch->path());
    state.ResumeTiming();
    const auto start = std::chrono::steady_clock::now();
    const bool ok = body(scratch->path(), folders);
    total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.PauseTiming();
    scratch.reset();  // removing the folders is not timed either
    state.ResumeTiming();
    if (!ok) {
      state.SkipWithError("a run did not end normally");
      return;
    }
  }
  mean_seconds = total / static_cast<double>(state.iterations());
  state.counters["folders"] = kFolders;
  state.counters["folders_per_s"] = kFolders / mean_seconds;  // aim: 40 or more on two threads
}

void BM_Batch64FoldersTwoThreads(benchmark::State& state) {
  timed_iterations(state, batch_seconds, [](const fs::path& root, const std::vector<std::string>& folders) {
    std::vector<std::string> arguments{"--jobs", "2"};
    arguments.insert(arguments.end(), folders.begin(), folders.end());
    return run_process(DARCALIM_BATCH_EXE, arguments, root) == 0;
  });
}

void BM_64ProcessesOneAfterAnother(benchmark::State& state) {
  timed_iterations(state, serial_seconds, [](const fs::path&, const std::vector<std::string>& folders) {
    for (const std::string& folder : folders) {
      if (run_process(DARCALIM_EXE, {}, folder) != 0) return false;
    }
    return true;
  });
}

void BM_BatchPeakMemory(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  long peak_kilobytes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const ScratchFolder scratch;
    std::vector<std::string> arguments{"--jobs", "2"};
    const std::vector<std::string> folders = make_folders(scratch.path(), count, kLargestCase);
    arguments.insert(arguments.end(), folders.begin(), folders.end());
    state.ResumeTiming();
    rusage usage{};
    const int status = run_process(DARCALIM_BATCH_EXE, arguments, scratch.path(), &usage);
    peak_kilobytes = std::max(peak_kilobytes, usage.ru_maxrss);
    if (status != 0) {
      state.SkipWithError("a run did not end normally");
      return;
    }
  }
  state.counters["peak_rss_MB"] = kilobytes_to_megabytes(static_cast<double>(peak_kilobytes));
}

BENCHMARK(BM_Batch64FoldersTwoThreads)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_64ProcessesOneAfterAnother)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_BatchPeakMemory)->Arg(8)->Arg(64)->ArgName("folders")->Unit(benchmark::kMillisecond)->UseRealTime()
    ->Iterations(1);

}  // namespace
}  // namespace darcalim

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (darcalim::batch_seconds > 0.0 && darcalim::serial_seconds > 0.0) {
    std::printf("batch of 64 folders on 2 threads / 64 processes one after another: %.2f s / %.2f s = %.2f\n",
                darcalim::batch_seconds, darcalim::serial_seconds, darcalim::batch_seconds / darcalim::serial_seconds);
  }
  return 0;
}
