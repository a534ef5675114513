// darcalim-hindcast: the forecasts DARCALIM would have made over past weeks,
// set against what was observed, with their scores; or, with --score, the
// scores of the pairs of a hindcast's slices.
//
// SIGINT (Ctrl-C) or SIGTERM stops it: no forecast week starts after the
// signal, the scratch folder goes once the weeks under way have ended, and
// the exit status is 128 + the signal's number (130, 143), no file written.
#include <unistd.h>

#include <cstring>

#include <chrono>
#include <iostream>
#include <memory>
#include <set>
#include <thread>

#include "hindcast/hindcast_options.h"
#include "hindcast/hindcast_outputs.h"
#include "hindcast/hindcast_runner.h"
#include "hindcast/pairs_file.h"
#include "tools/folder_list.h"
#include "common/file_access.h"
#include "tools/progress_bar.h"
#include "tools/stop_signal.h"
#include "tools/worker_memory.h"

namespace {

namespace fs = std::filesystem;
using namespace darcalim;
using namespace darcalim::hindcast;

// Exit statuses (see the help text).
constexpr int kFailed = 1;  // no pairs, a forecast week not finished, a file not written
constexpr int kUsageError = 2;
// Added to the number of the signal that stopped it.
constexpr int kSignalStatusBase = 128;

// A command line or an input that the command refuses, with exit status 2.
struct Refusal {
  std::string message;
  bool usage = true;  // a fault of the command line: the help is offered
};

std::string unit_text(const std::vector<HindcastCase>& cases, const HindcastUnit& unit) {
  return cases[unit.case_index].folder.string() + " " + std::to_string(unit.issue.year) + " week " +
         std::to_string(unit.issue.week);
}

std::string end_text(const IssueOutcome& o) {
  if (o.result.normal_end()) return "normal end";
  return (o.finished ? "stopped: " : "not finished: ") + o.result.message;
}

// One line per finished unit, for logs.
class UnitLines : public TaskProgress {
 public:
  UnitLines(std::ostream& out, const std::vector<HindcastCase>& cases, const std::vector<IssueOutcome>& outcomes)
      : out_(out), cases_(cases), outcomes_(outcomes) {}
  void start(std::size_t total) override { total_ = total; }
  void finished(std::size_t task, std::size_t done, std::size_t) override {
    const IssueOutcome& o = outcomes_[task];
    out_ << "[" << done << "/" << total_ << "] " << unit_text(cases_, o.unit) << ": " << end_text(o) << "\n"
         << std::flush;
  }
  void end() override {}

 private:
  std::ostream& out_;
  const std::vector<HindcastCase>& cases_;
  const std::vector<IssueOutcome>& outcomes_;
  std::size_t total_ = 0;
};

// The folder that the output files go to, when it does not exist: "" when it does.
std::string missing_output_folder(const std::string& prefix) {
  const fs::path folder = fs::path(prefix).parent_path();
  std::error_code ec;
  if (folder.empty() || fs::is_directory(folder, ec)) return "";
  return "no folder '" + folder.string() + "' for the output files " + prefix + "-*";
}

// The case folders of the command line or of the list, each named once.
std::vector<fs::path> case_folders(const Options& o) {
  std::vector<fs::path> folders = o.folders;
  if (!o.list.empty()) {
    const auto listed = load_folder_list(o.list, std::cin);
    if (!listed) throw Refusal{"cannot read the folder list '" + o.list.string() + "'"};
    if (listed->empty()) throw Refusal{"no case folder in the list '" + o.list.string() + "'"};
    folders = *listed;
  }
  std::set<FileIdentity> seen;
  for (const fs::path& f : folders) {
    if (!seen.insert(identity_of(f)).second) {
      throw Refusal{"folder '" + f.string() + "' is listed twice (its forecast weeks would be run twice)"};
    }
  }
  return folders;
}

// The years and weeks asked for, against the history of a case: "" when they fit.
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

// Every case of the hindcast, read and set against the years and weeks asked for.
std::vector<HindcastCase> read_cases(const std::vector<fs::path>& folders, const Options& o) {
  std::vector<HindcastCase> cases;
  for (const fs::path& folder : folders) {
    try {
      cases.push_back(read_hindcast_case(folder));
    } catch (const CaseError& error) {
      throw Refusal{folder.string() + ": " + error.what(), false};
    }
    const std::string outside = outside_history(o, cases.back());
    if (!outside.empty()) throw Refusal{folder.string() + ": " + outside};
  }
  return cases;
}

// Runs the units with the progress on standard error.
std::vector<IssueOutcome> run_with_progress(const std::vector<HindcastCase>& cases,
                                            const std::vector<HindcastUnit>& units, int jobs) {
  if (jobs == 0) jobs = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
  std::vector<IssueOutcome> outcomes;
  std::unique_ptr<TaskProgress> progress;
  if (isatty(STDERR_FILENO)) {
    progress = std::make_unique<ProgressBar>(std::cerr);
  } else {
    progress = std::make_unique<UnitLines>(std::cerr, cases, outcomes);
  }
  try {
    const ScratchRoot scratch;
    run_hindcast(cases, units, jobs, scratch.path(), outcomes, progress.get());
  } catch (const fs::filesystem_error& error) {
    throw Refusal{std::string("no scratch folder: ") + error.what(), false};
  }
  return outcomes;
}

// Lists on standard error the units of one kind (finished or not) whose run
// did not end normally, under `title`; returns their count.
std::size_t list_units(const std::vector<HindcastCase>& cases, const std::vector<IssueOutcome>& outcomes, bool finished,
                       const std::string& title) {
  std::size_t count = 0;
  for (const IssueOutcome& o : outcomes) {
    if (o.result.normal_end() || o.finished != finished) continue;
    if (count++ == 0) std::cerr << "darcalim-hindcast: " << title << ":\n";
    std::cerr << "  " << unit_text(cases, o.unit) << ": " << o.result.message << "\n";
  }
  return count;
}

// The forecast weeks asked for that lie after the last observed week of their case.
std::size_t weeks_not_run(const Options& o, const std::vector<HindcastCase>& cases, std::size_t run) {
  std::size_t asked = 0;
  for (const HindcastCase& c : cases) {
    const std::size_t per_year = o.weeks.empty() ? static_cast<std::size_t>(c.weeks_per_year) : o.weeks.size();
    asked += per_year * static_cast<std::size_t>(o.to - o.from + 1);
  }
  return asked - run;
}

// The hindcast's line on standard output.
void print_summary(const Options& o, const std::vector<HindcastCase>& cases, std::size_t all_units,
                   const std::vector<IssueOutcome>& outcomes, double seconds, std::size_t stopped,
                   std::size_t unfinished) {
  const std::vector<ForecastPair> pairs = forecast_pairs(cases, outcomes);
  std::set<std::pair<std::size_t, std::pair<int, int>>> with_pairs;
  for (const ForecastPair& p : pairs) with_pairs.insert({p.case_index, {p.issue.year, p.issue.week}});
  std::cout << "darcalim-hindcast: ";
  if (cases.size() == 1) {
    std::cout << cases[0].station_code << " " << cases[0].station_name;
  } else {
    std::cout << cases.size() << " case folders";
  }
  std::cout << ", " << outcomes.size() << " forecast weeks of " << o.from << "-" << o.to;
  if (o.shard) std::cout << " (slice " << o.shard->index << "/" << o.shard->count << " of " << all_units << ")";
  std::cout << " in " << clock_text(seconds) << ": " << outcomes.size() - stopped - unfinished << " normal end, "
            << stopped << " stopped";
  if (unfinished > 0) std::cout << ", " << unfinished << " not finished";
  const std::size_t not_run = weeks_not_run(o, cases, all_units);
  if (!o.shard && not_run > 0) std::cout << " (" << not_run << " after the last observed week not run)";
  std::cout << "; " << with_pairs.size() << " gave " << pairs.size() << " pairs\n";
}

int hindcast(const Options& o) {
  const std::vector<HindcastCase> cases = read_cases(case_folders(o), o);
  const std::vector<HindcastUnit> all = hindcast_units(cases, o.from, o.to, o.weeks);
  const std::vector<HindcastUnit> units = o.shard ? shard_of(all, *o.shard) : all;

  const auto start = std::chrono::steady_clock::now();
  const std::vector<IssueOutcome> outcomes = run_with_progress(cases, units, o.jobs);
  if (const int signal = stop_signal()) {
    std::cerr << "darcalim-hindcast: stopped (" << strsignal(signal)
              << "); the scratch folder is removed and no file written\n";
    return kSignalStatusBase + signal;
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const bool written = write_hindcast_files(o.prefix, cases, outcomes, std::cerr);

  const std::size_t stopped = list_units(cases, outcomes, true, "forecast weeks whose run stopped (no pairs)");
  const std::size_t unfinished =
      list_units(cases, outcomes, false,
                 "forecast weeks not finished (no pairs and no scores written; their list is in " +
                     unfinished_path(o.prefix).string() + ": run the same command again)");
  print_summary(o, cases, all.size(), outcomes, seconds, stopped, unfinished);
  if (!written) return kFailed;
  const bool empty_slice = o.shard && units.empty();
  return forecast_pairs(cases, outcomes).empty() && !empty_slice ? kFailed : 0;
}

// The scores of the pairs files of --score.
int score(const Options& o) {
  PairsTable table;
  std::set<FileIdentity> seen;
  for (const fs::path& file : o.pairs_files) {
    if (!seen.insert(identity_of(file)).second) {
      throw Refusal{"pairs file '" + file.string() + "' is given twice (its pairs would be counted twice)"};
    }
    const auto text = file_bytes(file);
    if (!text) throw Refusal{file.string() + ": not found or not readable", false};
    try {
      table.add_file(file.string(), *text);
    } catch (const PairsError& error) {
      throw Refusal{error.what(), false};
    }
  }
  const bool written = write_scores_files(o.prefix, table, std::cerr);
  std::cout << "darcalim-hindcast: " << o.pairs_files.size() << " pairs files, " << table.cases().size()
            << " case folders, " << table.rows() << " pairs: scores in " << scores_csv_path(o.prefix).string()
            << " and " << scores_json_path(o.prefix).string() << "\n";
  if (!written) return kFailed;
  return table.rows() == 0 ? kFailed : 0;
}

int run(const std::vector<std::string>& arguments) {
  const ParsedOptions parsed = parse_options(arguments);
  const Options& o = parsed.options;
  try {
    if (!parsed.ok()) throw Refusal{parsed.error};
    if (o.help || o.version) {
      std::cout << (o.help ? help_text() : version_text());
      return 0;
    }
    const std::string no_folder = missing_output_folder(o.prefix);
    if (!no_folder.empty()) throw Refusal{no_folder};
    return o.score ? score(o) : hindcast(o);
  } catch (const Refusal& r) {
    std::cerr << "darcalim-hindcast: " << r.message << "\n";
    if (r.usage) std::cerr << "Try 'darcalim-hindcast --help' for more information.\n";
    return kUsageError;
  }
}

}  // namespace

int main(int argc, char** argv) {
  darcalim::ignore_file_size_signal();
  darcalim::catch_stop_signals();
  darcalim::reuse_freed_memory();
  std::vector<std::string> arguments(argv + 1, argv + argc);
  return run(arguments);
}
