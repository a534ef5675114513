// Many case folders, each as its own run, on a number of threads.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "driver/run_result.h"
#include "tools/progress_bar.h"

namespace darcalim::batch {

// One folder of the batch after its run.
struct FolderOutcome {
  std::filesystem::path folder;
  RunResult result;
  double seconds = 0.0;  // wall-clock time of the run
};

// Where the console output of each folder's run goes (with its errors after
// it): to `sink`, with the folder's index in the list, on the thread that ran
// the folder, as soon as its run has ended, so that the batch holds no run's
// text beyond its end, however many folders it runs. Without a sink the text
// is dropped.
using ConsoleSink = std::function<void(std::size_t index, const std::string& text)>;

// What the batch tells while it goes on. Every call comes from the thread
// that called run_batch, never from the threads running the folders.
class Progress {
 public:
  virtual ~Progress() = default;
  virtual void start(std::size_t total) = 0;
  // A folder has finished; `done` counts it.
  virtual void finished(const FolderOutcome& outcome, std::size_t done, std::size_t failed) = 0;
  // Called about once a second while runs go on (for a clock to tick).
  virtual void tick() {}
  virtual void end() = 0;
};

// Runs each folder as its own run on `jobs` threads (at most one per folder;
// the pool of tools/task_pool.h) and returns the outcomes in the order of `folders`. A folder that does not
// exist is reported as stopped without a run.
std::vector<FolderOutcome> run_batch(const std::vector<std::filesystem::path>& folders, int jobs,
                                     Progress* progress = nullptr, const ConsoleSink& sink = {});

// The progress bar of the pool of tasks (tools/progress_bar.h), told of
// folders.
class ProgressBar : public Progress {
 public:
  explicit ProgressBar(std::ostream& out) : bar_(out) {}
  void start(std::size_t total) override { bar_.start(total); }
  void finished(const FolderOutcome&, std::size_t done, std::size_t failed) override { bar_.finished(0, done, failed); }
  void tick() override { bar_.tick(); }
  void end() override { bar_.end(); }

 private:
  darcalim::ProgressBar bar_;
};

// One line per finished folder, for logs.
class ProgressLines : public Progress {
 public:
  explicit ProgressLines(std::ostream& out) : out_(out) {}
  void start(std::size_t total) override { total_ = total; }
  void finished(const FolderOutcome& outcome, std::size_t done, std::size_t failed) override;
  void end() override {}

 private:
  std::ostream& out_;
  std::size_t total_ = 0;
};

// "normal end" or "stopped".
const char* state_name(const RunResult& result);

// The table of the batch: folder, station, state, time, message; then a line
// of totals.
void write_end_table(std::ostream& out, const std::vector<FolderOutcome>& outcomes, double seconds);

using darcalim::clock_text;

}  // namespace darcalim::batch
