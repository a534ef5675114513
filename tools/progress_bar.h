// A progress bar for a pool of tasks, redrawn in place on a terminal:
// done/total, failures so far, elapsed and remaining time.
#pragma once

#include <chrono>
#include <cstddef>
#include <ostream>
#include <string>

#include "tools/task_pool.h"

namespace darcalim {

class ProgressBar : public TaskProgress {
 public:
  explicit ProgressBar(std::ostream& out) : out_(out) {}
  void start(std::size_t total) override;
  void finished(std::size_t task, std::size_t done, std::size_t failed) override;
  void tick() override;
  void end() override;

 private:
  void draw();
  std::ostream& out_;
  std::chrono::steady_clock::time_point started_;
  std::size_t total_ = 0;
  std::size_t done_ = 0;
  std::size_t failed_ = 0;
};

// Minutes and seconds ("1:05"), or hours too ("2:03:04").
std::string clock_text(double seconds);

}  // namespace darcalim
