#include "driver/batch_runner.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <mutex>
#include <sstream>
#include <thread>

namespace darcalim::batch {

namespace {

using Clock = std::chrono::steady_clock;

double seconds_since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

FolderOutcome run_folder(const std::filesystem::path& folder) {
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
    outcome.console = console.str() + errors.str();
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

}  // namespace

std::vector<FolderOutcome> run_batch(const std::vector<std::filesystem::path>& folders, int jobs,
                                     Progress* progress) {
  const std::size_t total = folders.size();
  std::vector<FolderOutcome> outcomes(total);
  if (progress) progress->start(total);
  if (total == 0) {
    if (progress) progress->end();
    return outcomes;
  }
  const std::size_t threads = std::clamp<std::size_t>(jobs < 1 ? 1 : static_cast<std::size_t>(jobs), 1, total);

  std::atomic<std::size_t> next{0};
  std::mutex mutex;
  std::condition_variable finished_one;
  std::deque<std::size_t> newly_finished;  // guarded by mutex
  auto work = [&] {
    for (std::size_t i = next++; i < total; i = next++) {
      FolderOutcome outcome = run_folder(folders[i]);
      std::lock_guard lock(mutex);
      outcomes[i] = std::move(outcome);
      newly_finished.push_back(i);
      finished_one.notify_one();
    }
  };
  std::vector<std::jthread> pool;
  pool.reserve(threads);
  for (std::size_t t = 0; t < threads; ++t) pool.emplace_back(work);

  std::size_t done = 0;
  std::size_t failed = 0;
  std::unique_lock lock(mutex);
  while (done < total) {
    finished_one.wait_for(lock, std::chrono::seconds(1), [&] { return !newly_finished.empty(); });
    if (newly_finished.empty()) {
      if (progress) progress->tick();
      continue;
    }
    while (!newly_finished.empty()) {
      const std::size_t i = newly_finished.front();
      newly_finished.pop_front();
      ++done;
      if (!outcomes[i].result.normal_end()) ++failed;
      if (progress) progress->finished(outcomes[i], done, failed);
    }
  }
  lock.unlock();
  pool.clear();
  if (progress) progress->end();
  return outcomes;
}

std::string clock_text(double seconds) {
  const long s = static_cast<long>(seconds + 0.5);
  char text[32];
  if (s >= 3600) {
    std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", s / 3600, s / 60 % 60, s % 60);
  } else {
    std::snprintf(text, sizeof text, "%ld:%02ld", s / 60, s % 60);
  }
  return text;
}

void ProgressBar::start(std::size_t total) {
  total_ = total;
  started_ = Clock::now();
  draw();
}

void ProgressBar::finished(const FolderOutcome&, std::size_t done, std::size_t failed) {
  done_ = done;
  failed_ = failed;
  draw();
}

void ProgressBar::tick() { draw(); }

void ProgressBar::end() {
  draw();
  out_ << "\n" << std::flush;
}

void ProgressBar::draw() {
  constexpr std::size_t kWidth = 30;
  const std::size_t filled = total_ == 0 ? kWidth : done_ * kWidth / total_;
  const double elapsed = seconds_since(started_);
  std::string line = "\r[" + std::string(filled, '#') + std::string(kWidth - filled, '.') + "] " +
                     std::to_string(done_) + "/" + std::to_string(total_) + "  failed " +
                     std::to_string(failed_) + "  elapsed " + clock_text(elapsed) + "  left ";
  if (done_ == 0) {
    line += "?";
  } else {
    line += clock_text(elapsed / static_cast<double>(done_) * static_cast<double>(total_ - done_));
  }
  out_ << line << "\x1b[K" << std::flush;
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
