// Work done on a thread of its own beside the calling thread.
//
// The work starts when the task is made; wait() returns once it has ended,
// with the exception it ended on (none when it ran to its end). Everything
// the work wrote is visible to the caller once wait() has returned. The
// destructor waits, so a task never outlives what its work refers to; an
// exception left in it unseen is dropped.
#pragma once

#include <exception>
#include <functional>
#include <thread>

namespace darcalim {

class SideTask {
 public:
  explicit SideTask(std::function<void()> work);
  SideTask(const SideTask&) = delete;
  SideTask& operator=(const SideTask&) = delete;
  ~SideTask();

  std::exception_ptr wait();

 private:
  std::exception_ptr fault_;
  std::jthread thread_;
};

}  // namespace darcalim
