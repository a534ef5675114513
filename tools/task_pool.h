// A number of independent tasks run on a number of threads, with word of
// their progress on the calling thread.
#pragma once

#include <cstddef>
#include <functional>

namespace darcalim {

// What a pool of tasks tells while it goes on. Every call comes from the
// thread that called run_tasks, never from the threads running the tasks.
class TaskProgress {
 public:
  virtual ~TaskProgress() = default;
  virtual void start(std::size_t total) = 0;
  // Task `task` (its index) has finished; `done` counts it, `failed` counts
  // the tasks so far that reported a failure.
  virtual void finished(std::size_t task, std::size_t done, std::size_t failed) = 0;
  // Called about once a second while tasks go on (for a clock to tick).
  virtual void tick() {}
  virtual void end() = 0;
};

// Runs run(0) .. run(total - 1) on `jobs` threads (at least one, at most one
// per task), each index once, and returns when all have finished. run(i)
// returns false when its task failed; it must not throw, and tasks must not
// share anything they change. Everything task i wrote is visible to the
// caller, and to progress->finished for task i, once that call is made.
// Once a stop signal has been caught (tools/stop_signal.h) no task starts:
// the pool returns when the tasks under way have finished, the others not
// run (and not told to `progress`).
void run_tasks(std::size_t total, int jobs, const std::function<bool(std::size_t)>& run,
               TaskProgress* progress = nullptr);

}  // namespace darcalim
