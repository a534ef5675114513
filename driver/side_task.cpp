#include "driver/side_task.h"

#include <utility>

namespace darcalim {

SideTask::SideTask(std::function<void()> work)
    : thread_([this, work = std::move(work)] {
        try {
          work();
        } catch (...) {
          fault_ = std::current_exception();
        }
      }) {}

SideTask::~SideTask() {
  if (thread_.joinable()) thread_.join();
}

std::exception_ptr SideTask::wait() {
  if (thread_.joinable()) thread_.join();
  return fault_;
}

}  // namespace darcalim
