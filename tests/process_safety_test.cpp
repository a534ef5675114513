// The program as a process, under what can befall it: killed at any moment,
// stopped by a file-size limit, started where another run holds the folder.
// Whatever happens, the appended forecast file holds whole records only,
// every earlier record unchanged, and at most one new record per run.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "common/file_access.h"
#include "tests/support/faulty_case.h"

namespace darcalim {
namespace {

using testing::FaultyCase;
using Clock = std::chrono::steady_clock;

// The crash test's bounds: at most this many killed runs, within this time.
// Under the sanitizers a run takes several times longer, so fewer runs.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kKilledRuns = 60;
#else
constexpr int kKilledRuns = 300;
#endif
constexpr auto kCrashTestTime = std::chrono::seconds(45);

// Exit status of a child that could not change folder or start the program.
constexpr int kCannotStart = 127;

// Starts the program in `folder`, its output to `log` (or dropped), with a
// limit on the size of the files it writes when `file_size_limit` is set.
pid_t start_program(const std::filesystem::path& folder, const std::filesystem::path& log = "/dev/null",
                    rlim_t file_size_limit = RLIM_INFINITY) {
  const pid_t child = fork();
  if (child != 0) return child;
  const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (out >= 0) {
    dup2(out, STDOUT_FILENO);
    dup2(out, STDERR_FILENO);
  }
  if (file_size_limit != RLIM_INFINITY) {
    rlimit limit{file_size_limit, file_size_limit};
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  if (chdir(folder.c_str()) != 0) _exit(kCannotStart);
  execl(DARCALIM_EXE, DARCALIM_EXE, static_cast<char*>(nullptr));
  _exit(kCannotStart);
}

// How a child ended: its exit status, or 128 + the signal that killed it.
int wait_for(pid_t child) {
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// The records of an appended forecast file, each its three lines; fails the
// test when the file is anything but a header and whole records.
std::vector<std::string> whole_records(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  EXPECT_TRUE(text.empty() || text.back() == '\n') << "the last line has no end:\n" << text;
  EXPECT_EQ((lines.size() - 1) % 3, 0u) << "not whole records:\n" << text;
  std::vector<std::string> records;
  for (std::size_t i = 1; i + 2 < lines.size(); i += 3) {
    EXPECT_EQ(lines[i + 1].rfind("LIM. INFERIOR", 0), 0u) << lines[i + 1];
    EXPECT_EQ(lines[i + 2].rfind("LIM. SUPERIOR", 0), 0u) << lines[i + 2];
    records.push_back(lines[i] + "\n" + lines[i + 1] + "\n" + lines[i + 2] + "\n");
  }
  return records;
}

// A whole run's time, measured on an uninterrupted run (which appends its
// record like any other).
Clock::duration time_of_whole_run(const std::filesystem::path& folder) {
  const auto start = Clock::now();
  EXPECT_EQ(wait_for(start_program(folder)), 0);
  return Clock::now() - start;
}

// Runs killed after a random delay, from the start of the run to half as far
// again past its end: after each, the earlier records are as they were and
// at most one is new. Some runs must have been killed before their record
// and some after it, or the test has proved nothing. Other tests load the
// machine unevenly, so the run's time is measured again every few kills and
// the delays follow it.
TEST(KilledRuns, LeaveOnlyWholeRecords) {
  constexpr int kKillsPerMeasure = 10;
  FaultyCase c;
  std::mt19937 random(std::random_device{}());
  std::uniform_real_distribution<double> share_of_run(0.0, 1.5);
  Clock::duration run_time{};
  int killed = 0;
  int with_record = 0;
  const auto deadline = Clock::now() + kCrashTestTime;
  for (; killed < kKilledRuns && Clock::now() < deadline && !HasFailure(); ++killed) {
    if (killed % kKillsPerMeasure == 0) run_time = time_of_whole_run(c.folder());
    const std::string before = c.read("PREVS.DAT");
    const std::size_t records_before = whole_records(before).size();
    const pid_t child = start_program(c.folder());
    std::this_thread::sleep_for(std::chrono::duration_cast<Clock::duration>(run_time * share_of_run(random)));
    kill(child, SIGKILL);
    wait_for(child);
    const std::string after = c.read("PREVS.DAT");
    const std::size_t records_after = whole_records(after).size();
    ASSERT_EQ(after.substr(0, before.size()), before) << "an earlier record changed, run " << killed;
    ASSERT_LE(records_after, records_before + 1) << "more than one new record, run " << killed;
    if (records_after > records_before) ++with_record;
  }
  std::cout << killed << " runs killed, " << with_record << " of them after their record\n";
  EXPECT_GT(with_record, 0);
  EXPECT_LT(with_record, killed);
}

// A file-size limit (ulimit -f) that PREVT.DAT exceeds: the run is not
// killed by the limit's signal but stops, naming the file, and appends no
// record.
TEST(FileSizeLimit, StopsTheRunWithoutARecord) {
  FaultyCase c;
  const auto log = c.outside() / "run.log";
  EXPECT_EQ(wait_for(start_program(c.folder(), log, 2'200'000)), 1);
  EXPECT_NE(file_text(log).find("darcalim: PREVT.DAT: cannot be written (File too large)\n"), std::string::npos)
      << file_text(log);
  EXPECT_EQ(c.read("PREVS.DAT"), FaultyCase::kEarlierRecords);
}

// Another process holds the folder: the run stops at once, naming the
// folder, and writes nothing.
TEST(FolderLock, KeepsASecondRunOut) {
  FaultyCase c;
  const auto log = c.outside() / "run.log";
  const FolderLock other_run(c.folder());
  ASSERT_EQ(other_run.outcome(), FolderLock::Outcome::kLocked);
  EXPECT_EQ(wait_for(start_program(c.folder(), log)), 1);
  EXPECT_NE(file_text(log).find("darcalim: " + c.folder().string() + ": another run is under way in this folder"),
            std::string::npos)
      << file_text(log);
  EXPECT_FALSE(std::filesystem::exists(c.folder() / "RUNTRACE.DAT"));
  EXPECT_FALSE(std::filesystem::exists(c.folder() / "CASO1.REL"));
}

}  // namespace
}  // namespace darcalim
