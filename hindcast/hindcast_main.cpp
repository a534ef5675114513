// darcalim-hindcast: the forecasts DARCALIM would have made over past weeks,
// set against what was observed, with their scores.
//
// SIGINT (Ctrl-C) or SIGTERM stops it: no forecast week starts after the
// signal, the scratch folder goes once the weeks under way have ended, and
// the exit status is 128 + the signal's number (130, 143), no file written.
#include <unistd.h>

#include <cstring>

#include <chrono>
#include <fstream>
#include <functional>
#include <iostream>
#include <memory>
#include <set>
#include <thread>

#include "hindcast/hindcast_files.h"
#include "hindcast/hindcast_options.h"
#include "hindcast/hindcast_runner.h"
#include "hindcast/scores.h"
#include "common/file_access.h"
#include "tools/progress_bar.h"
#include "tools/stop_signal.h"

namespace {

namespace fs = std::filesystem;
using namespace darcalim;
using namespace darcalim::hindcast;

// Exit statuses (see the help text).
constexpr int kNoPairs = 1;
constexpr int kUsageError = 2;
// Added to the number of the signal that stopped it.
constexpr int kSignalStatusBase = 128;

int refuse(const std::string& error) {
  std::cerr << "darcalim-hindcast: " << error << "\nTry 'darcalim-hindcast --help' for more information.\n";
  return kUsageError;
}

int fail(const std::string& error) {
  std::cerr << "darcalim-hindcast: " << error << "\n";
  return kUsageError;
}

std::string issue_text(IssueWeek issue) {
  return std::to_string(issue.year) + " week " + std::to_string(issue.week);
}

// One line per finished forecast week, for logs.
class IssueLines : public TaskProgress {
 public:
  IssueLines(std::ostream& out, const std::vector<IssueOutcome>& outcomes) : out_(out), outcomes_(outcomes) {}
  void start(std::size_t total) override { total_ = total; }
  void finished(std::size_t task, std::size_t done, std::size_t) override {
    const IssueOutcome& o = outcomes_[task];
    out_ << "[" << done << "/" << total_ << "] " << issue_text(o.issue) << ": "
         << (o.result.normal_end() ? "normal end" : "stopped: " + o.result.message) << "\n"
         << std::flush;
  }
  void end() override {}

 private:
  std::ostream& out_;
  const std::vector<IssueOutcome>& outcomes_;
  std::size_t total_ = 0;
};

// The years and weeks asked for, against the history: "" when they fit.
std::string outside_history(const Options& o, const HindcastCase& c) {
  if (o.from < c.first_year || o.to > c.last_year) {
    return "issue years " + std::to_string(o.from) + "-" + std::to_string(o.to) + " are outside the history " +
           std::to_string(c.first_year) + "-" + std::to_string(c.last_year) + " of " + c.history_name;
  }
  if (!o.weeks.empty() && o.weeks.back() > c.weeks_per_year) {
    return "week " + std::to_string(o.weeks.back()) + " is beyond the " + std::to_string(c.weeks_per_year) +
           " weeks a year of the case";
  }
  return "";
}

// The folder that the output files go to, when it does not exist: "" when it does.
std::string missing_output_folder(const std::string& prefix) {
  const fs::path folder = fs::path(prefix).parent_path();
  std::error_code ec;
  if (folder.empty() || fs::is_directory(folder, ec)) return "";
  return "no folder '" + folder.string() + "' for the output files " + prefix + "-*";
}

bool write_file(const fs::path& path, const std::function<void(std::ostream&)>& write) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  write(out);
  if (out.flush()) return true;
  std::cerr << "darcalim-hindcast: cannot write '" << path.string() << "'\n";
  return false;
}

// Writes the pairs and the scores; false when a file could not be written.
bool write_outputs(const std::string& prefix, const HindcastCase& c, const std::vector<ForecastPair>& pairs) {
  std::vector<Pair> points;
  for (const ForecastPair& p : pairs) points.push_back(p.pair);
  const std::vector<ScoreRow> rows = score_pairs(points, c.confidence_level);
  const int id = c.station_code;
  const int level = c.confidence_level;
  bool written = write_file(prefix + "-pairs.csv", [&](std::ostream& out) { write_pairs_csv(out, id, level, pairs); });
  written &= write_file(prefix + "-scores.csv", [&](std::ostream& out) { write_scores_csv(out, id, level, rows); });
  written &= write_file(prefix + "-scores.json", [&](std::ostream& out) { write_scores_json(out, id, level, rows); });
  return written;
}

// Runs the forecast weeks with the progress on standard error.
std::vector<IssueOutcome> run_with_progress(const HindcastCase& c, const std::vector<IssueWeek>& issues, int jobs) {
  if (jobs == 0) jobs = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
  std::vector<IssueOutcome> outcomes;
  std::unique_ptr<TaskProgress> progress;
  if (isatty(STDERR_FILENO)) {
    progress = std::make_unique<ProgressBar>(std::cerr);
  } else {
    progress = std::make_unique<IssueLines>(std::cerr, outcomes);
  }
  const ScratchRoot scratch;
  run_hindcast(c, issues, jobs, scratch.path(), outcomes, progress.get());
  return outcomes;
}

// Lists the forecast weeks whose run stopped on standard error; returns their count.
std::size_t list_stops(const std::vector<IssueOutcome>& outcomes) {
  std::size_t stopped = 0;
  for (const IssueOutcome& outcome : outcomes) {
    if (outcome.result.normal_end()) continue;
    if (stopped++ == 0) std::cerr << "darcalim-hindcast: forecast weeks whose run stopped (no pairs):\n";
    std::cerr << "  " << issue_text(outcome.issue) << ": " << outcome.result.message << "\n";
  }
  return stopped;
}

// The forecast weeks asked for that lie after the last observed week.
std::size_t weeks_not_run(const Options& o, const HindcastCase& c, std::size_t run) {
  const std::size_t per_year = o.weeks.empty() ? static_cast<std::size_t>(c.weeks_per_year) : o.weeks.size();
  return per_year * static_cast<std::size_t>(o.to - o.from + 1) - run;
}

int run(const std::vector<std::string>& arguments) {
  const ParsedOptions parsed = parse_options(arguments);
  if (!parsed.ok()) return refuse(parsed.error);
  const Options& o = parsed.options;
  if (o.help || o.version) {
    std::cout << (o.help ? help_text() : version_text());
    return 0;
  }
  const std::string no_folder = missing_output_folder(o.prefix);
  if (!no_folder.empty()) return refuse(no_folder);
  HindcastCase c;
  try {
    c = read_hindcast_case(o.folder);
  } catch (const CaseError& error) {
    return fail(o.folder.string() + ": " + error.what());
  }
  const std::string outside = outside_history(o, c);
  if (!outside.empty()) return refuse(outside);
  const std::vector<IssueWeek> issues = issue_weeks(c, o.from, o.to, o.weeks);

  const auto start = std::chrono::steady_clock::now();
  std::vector<IssueOutcome> outcomes;
  try {
    outcomes = run_with_progress(c, issues, o.jobs);
  } catch (const fs::filesystem_error& error) {
    return fail(std::string("no scratch folder: ") + error.what());
  }
  if (const int signal = stop_signal()) {
    std::cerr << "darcalim-hindcast: stopped (" << strsignal(signal)
              << "); the scratch folder is removed and no file written\n";
    return kSignalStatusBase + signal;
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const std::vector<ForecastPair> pairs = forecast_pairs(c, outcomes);
  const bool written = write_outputs(o.prefix, c, pairs);

  const std::size_t stopped = list_stops(outcomes);
  std::set<std::pair<int, int>> with_pairs;
  for (const ForecastPair& p : pairs) with_pairs.insert({p.issue.year, p.issue.week});
  std::cout << "darcalim-hindcast: " << c.station_code << " " << c.station_name << ", " << issues.size()
            << " forecast weeks of " << o.from << "-" << o.to << " in " << clock_text(seconds) << ": "
            << outcomes.size() - stopped << " normal end, " << stopped << " stopped";
  const std::size_t not_run = weeks_not_run(o, c, issues.size());
  if (not_run > 0) std::cout << " (" << not_run << " after the last observed week not run)";
  std::cout << "; " << with_pairs.size() << " gave " << pairs.size() << " pairs\n";
  return written && !with_pairs.empty() ? 0 : kNoPairs;
}

}  // namespace

int main(int argc, char** argv) {
  darcalim::ignore_file_size_signal();
  darcalim::catch_stop_signals();
  std::vector<std::string> arguments(argv + 1, argv + argc);
  return run(arguments);
}
