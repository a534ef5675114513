#include "tools/task_pool.h"

#include "tools/stop_signal.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace darcalim {

namespace {

// How often the progress hears of the clock while nothing finishes.
constexpr auto kTickInterval = std::chrono::seconds(1);

struct Finished {
  std::size_t task = 0;
  bool ok = true;
};

}  // namespace

void run_tasks(std::size_t total, int jobs, const std::function<bool(std::size_t)>& run, TaskProgress* progress) {
  if (progress) progress->start(total);
  if (total == 0) {
    if (progress) progress->end();
    return;
  }
  const std::size_t threads = std::clamp<std::size_t>(jobs < 1 ? 1 : static_cast<std::size_t>(jobs), 1, total);

  std::atomic<std::size_t> next{0};
  std::mutex mutex;
  std::condition_variable finished_one;
  std::deque<Finished> newly_finished;  // guarded by mutex
  std::size_t working = threads;        // threads still taking tasks, guarded by mutex
  auto work = [&] {
    for (std::size_t i = next++; i < total && stop_signal() == 0; i = next++) {
      const bool ok = run(i);
      std::lock_guard lock(mutex);
      newly_finished.push_back({i, ok});
      finished_one.notify_one();
    }
    std::lock_guard lock(mutex);
    --working;
    finished_one.notify_one();
  };
  std::vector<std::jthread> pool;
  pool.reserve(threads);
  for (std::size_t t = 0; t < threads; ++t) pool.emplace_back(work);

  std::size_t done = 0;
  std::size_t failed = 0;
  std::unique_lock lock(mutex);
  while (done < total && (working > 0 || !newly_finished.empty())) {
    finished_one.wait_for(lock, kTickInterval, [&] { return !newly_finished.empty() || working == 0; });
    if (newly_finished.empty()) {
      if (working > 0 && progress) progress->tick();
      continue;
    }
    while (!newly_finished.empty()) {
      const Finished f = newly_finished.front();
      newly_finished.pop_front();
      ++done;
      if (!f.ok) ++failed;
      if (progress) progress->finished(f.task, done, failed);
    }
  }
  lock.unlock();
  pool.clear();
  if (progress) progress->end();
}

}  // namespace darcalim
