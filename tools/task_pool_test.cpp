#include "tools/task_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace darcalim {
namespace {

// Records what the pool tells, and on which thread.
class Recorder : public TaskProgress {
 public:
  void start(std::size_t total) override {
    total_ = total;
    calls_from_other_threads += std::this_thread::get_id() != caller ? 1 : 0;
  }
  void finished(std::size_t task, std::size_t done, std::size_t failed) override {
    tasks.push_back(task);
    done_counts.push_back(done);
    last_failed = failed;
    calls_from_other_threads += std::this_thread::get_id() != caller ? 1 : 0;
  }
  void end() override { ++ends; }

  std::thread::id caller = std::this_thread::get_id();
  std::size_t total_ = 99;
  std::vector<std::size_t> tasks;
  std::vector<std::size_t> done_counts;
  std::size_t last_failed = 0;
  int ends = 0;
  int calls_from_other_threads = 0;
};

TEST(TaskPool, RunsEveryTaskOnceAndTellsOfEachOnTheCallingThread) {
  constexpr std::size_t kTotal = 40;
  std::vector<std::atomic<int>> runs(kTotal);
  std::vector<int> results(kTotal, 0);
  Recorder recorder;
  run_tasks(
      kTotal, 3,
      [&](std::size_t i) {
        ++runs[i];
        results[i] = static_cast<int>(i) * 2;  // each task writes its own slot
        return i % 4 != 0;                     // 10 failures
      },
      &recorder);
  for (std::size_t i = 0; i < kTotal; ++i) {
    EXPECT_EQ(runs[i], 1) << i;
    EXPECT_EQ(results[i], static_cast<int>(i) * 2);
  }
  EXPECT_EQ(recorder.total_, kTotal);
  ASSERT_EQ(recorder.tasks.size(), kTotal);
  std::vector<bool> seen(kTotal, false);
  for (std::size_t k = 0; k < kTotal; ++k) {
    EXPECT_EQ(recorder.done_counts[k], k + 1);
    EXPECT_FALSE(seen[recorder.tasks[k]]);
    seen[recorder.tasks[k]] = true;
  }
  EXPECT_EQ(recorder.last_failed, 10u);
  EXPECT_EQ(recorder.ends, 1);
  EXPECT_EQ(recorder.calls_from_other_threads, 0);
}

TEST(TaskPool, NoTasksStillStartsAndEnds) {
  Recorder recorder;
  run_tasks(
      0, 2, [](std::size_t) { return true; }, &recorder);
  EXPECT_EQ(recorder.total_, 0u);
  EXPECT_TRUE(recorder.tasks.empty());
  EXPECT_EQ(recorder.ends, 1);
  int ran = 0;
  run_tasks(3, 0, [&ran](std::size_t) { return ++ran > 0; });  // jobs below 1: one thread, no progress
  EXPECT_EQ(ran, 3);
}

}  // namespace
}  // namespace darcalim
