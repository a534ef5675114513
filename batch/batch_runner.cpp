#include "batch/batch_runner.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <sstream>

namespace darcalim::batch {

namespace {

using Clock = std::chrono::steady_clock;

double seconds_since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

FolderOutcome run_folder(const std::filesystem::path& folder, std::string& console_text) {
  FolderOutcome outcome;
  outcome.folder = folder;
  const auto start = Clock::now();
  std::error_code ec;
  if (!std::filesystem::is_directory(folder, ec)) {
    outcome.result.message = "not a folder";
  } else {
    std::ostringstream console;
    std::ostringstream errors;
    try {
      outcome.result = run_case(folder, console, errors);
    } catch (const std::exception& fault) {  // no memory for the run's tables
      outcome.result.exit_status = 2;
      outcome.result.message = std::string("fault of the batch: ") + fault.what();
    }
    console_text = console.str() + errors.str();
  }
  outcome.seconds = seconds_since(start);
  return outcome;
}

std::string station_text(const RunResult& r) {
  if (r.station_code == 0 && r.station_name.empty()) return "";
  return std::to_string(r.station_code) + (r.station_name.empty() ? "" : " " + r.station_name);
}

std::string seconds_text(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f s", seconds);
  return text;
}

// Tells the batch's progress of each finished folder, with its outcome.
class FolderProgress : public TaskProgress {
 public:
  FolderProgress(Progress& progress, const std::vector<FolderOutcome>& outcomes)
      : progress_(progress), outcomes_(outcomes) {}
  void start(std::size_t total) override { progress_.start(total); }
  void finished(std::size_t task, std::size_t done, std::size_t failed) override {
    progress_.finished(outcomes_[task], done, failed);
  }
  void tick() override { progress_.tick(); }
  void end() override { progress_.end(); }

 private:
  Progress& progress_;
  const std::vector<FolderOutcome>& outcomes_;
};

}  // namespace

std::vector<FolderOutcome> run_batch(const std::vector<std::filesystem::path>& folders, int jobs,
                                     Progress* progress, const ConsoleSink& sink) {
  std::vector<FolderOutcome> outcomes(folders.size());
  auto run_one = [&](std::size_t i) {
    std::string console_text;
    outcomes[i] = run_folder(folders[i], console_text);
    if (sink) sink(i, console_text);
    return outcomes[i].result.normal_end();
  };
  if (progress) {
    FolderProgress folder_progress(*progress, outcomes);
    run_tasks(folders.size(), jobs, run_one, &folder_progress);
  } else {
    run_tasks(folders.size(), jobs, run_one);
  }
  return outcomes;
}

void ProgressLines::finished(const FolderOutcome& outcome, std::size_t done, std::size_t) {
  const RunResult& r = outcome.result;
  out_ << "[" << done << "/" << total_ << "] " << outcome.folder.string() << ": " << state_name(r) << " ("
       << seconds_text(outcome.seconds) << ")";
  if (!r.normal_end() && !r.message.empty()) out_ << ": " << r.message;
  out_ << "\n" << std::flush;
}

const char* state_name(const RunResult& result) { return result.normal_end() ? "normal end" : "stopped"; }

void write_end_table(std::ostream& out, const std::vector<FolderOutcome>& outcomes, double seconds) {
  std::vector<std::vector<std::string>> rows{{"FOLDER", "STATION", "STATE", "TIME", "MESSAGE"}};
  std::size_t stopped = 0;
  for (const FolderOutcome& o : outcomes) {
    if (!o.result.normal_end()) ++stopped;
    rows.push_back({o.folder.string(), station_text(o.result), state_name(o.result), seconds_text(o.seconds),
                    o.result.message});
  }
  std::vector<std::size_t> width(rows[0].size(), 0);
  for (const auto& row : rows) {
    for (std::size_t c = 0; c < row.size(); ++c) width[c] = std::max(width[c], row[c].size());
  }
  for (const auto& row : rows) {
    std::string line;
    for (std::size_t c = 0; c < row.size(); ++c) {
      if (c + 1 == row.size()) {
        line += row[c];
      } else if (c == 3) {  // times right-aligned
        line += std::string(width[c] - row[c].size(), ' ') + row[c] + "  ";
      } else {
        line += row[c] + std::string(width[c] - row[c].size() + 2, ' ');
      }
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out << line << "\n";
  }
  out << outcomes.size() << " folders: " << outcomes.size() - stopped << " normal end, " << stopped
      << " stopped, in " << clock_text(seconds) << "\n";
}

}  // namespace darcalim::batch
