// Whole runs of the program, as a process, on two cases of tests/cases: the
// option-2 case of Wuerzburg (one pass, 93 models) and the combined case of
// Maxau (two passes, 140 models, variability option 1).
//
// Each iteration copies the case's input into a fresh scratch folder (not
// timed), then starts the built program there and waits for its end (timed,
// in wall-clock time: the work is done by the child process).
#include <benchmark/benchmark.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/support/scratch_folder.h"

namespace darcalim {
namespace {

namespace fs = std::filesystem;

void copy_case(const std::string& name, const fs::path& work) {
  fs::copy(fs::path(DARCALIM_CASES_DIR) / name / "input", work);
  for (const auto& entry : fs::directory_iterator(work)) {
    fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add);
  }
}

// Runs the program in `work` with its console sent to /dev/null; returns its
// exit status, or -1 when it could not be started or did not exit.
int run_program(const fs::path& work) {
  const pid_t child = fork();
  if (child < 0) return -1;
  if (child == 0) {
    const int null = open("/dev/null", O_WRONLY);
    if (null >= 0) {
      dup2(null, STDOUT_FILENO);
      dup2(null, STDERR_FILENO);
    }
    if (chdir(work.c_str()) != 0) _exit(127);
    execl(DARCALIM_EXE, DARCALIM_EXE, static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void BM_WholeRun(benchmark::State& state, const std::string& name) {
  for (auto _ : state) {
    state.PauseTiming();
    ScratchFolder scratch;
    const fs::path work = scratch.path() / "case";
    copy_case(name, work);
    state.ResumeTiming();
    const int status = run_program(work);
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
