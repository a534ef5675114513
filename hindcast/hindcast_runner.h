// The hindcast: each case run as it would have been run at each past
// forecast week, side by side, and each lead set against what was then
// observed.
//
// Its units of work are (case, issue week): the issue weeks of the first
// case, then those of the second, and so on, each case's in order of year
// and week. darcalim-hindcast --shard K/N runs the units of slice K
// (tools/shard.h): unit i belongs to slice i mod N + 1.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "driver/run_result.h"
#include "hindcast/cut_case.h"
#include "hindcast/hindcast_case.h"
#include "hindcast/scores.h"
#include "tools/task_pool.h"

namespace darcalim::hindcast {

// The forecast weeks `weeks` (all 1..NSEM when empty) of the years
// `from`..`to`, in order, less the weeks of the last year of the history
// after its last observed week (no lead of theirs could be compared).
std::vector<IssueWeek> issue_weeks(const HindcastCase& c, int from, int to, const std::vector<int>& weeks);

// One unit of work: an issue week of the case at `case_index` of the list.
struct HindcastUnit {
  std::size_t case_index = 0;
  IssueWeek issue;
  bool operator==(const HindcastUnit&) const = default;
};

// The issue weeks of every case (issue_weeks), case after case.
std::vector<HindcastUnit> hindcast_units(const std::vector<HindcastCase>& cases, int from, int to,
                                         const std::vector<int>& weeks);

// One unit after its run.
struct IssueOutcome {
  HindcastUnit unit;
  RunResult result;
  // False when the hindcast itself failed on the unit (its cut case could not
  // be written, no memory): the result is then a stop whose message says why,
  // and the unit is to be run again. A run that the case stopped is finished.
  bool finished = true;
  double seconds = 0.0;
};

// A folder under the system's temporary folder, unique to one hindcast,
// removed with everything in it when the object goes.
class ScratchRoot {
 public:
  ScratchRoot();  // throws std::filesystem::filesystem_error when none can be made
  ~ScratchRoot();
  ScratchRoot(const ScratchRoot&) = delete;
  ScratchRoot& operator=(const ScratchRoot&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Runs the cut case of every unit (of a case of `cases`) in its own folder
// under `scratch` (removed right after its run) on `jobs` threads, the
// console discarded, and leaves the outcome of units[i] in outcomes[i] (the
// vector is resized to match). `progress` hears of each finished unit by its
// index, once its outcome is in place.
void run_hindcast(const std::vector<HindcastCase>& cases, const std::vector<HindcastUnit>& units, int jobs,
                  const std::filesystem::path& scratch, std::vector<IssueOutcome>& outcomes,
                  TaskProgress* progress = nullptr);

// One lead of one issue week whose target was observed.
struct ForecastPair {
  std::size_t case_index = 0;
  IssueWeek issue;
  int target_year = 0;
  LeadForecast forecast;
  Pair pair;  // what the scores take, with its reference flows
};

// The pairs of every run that ended normally, in the order of the outcomes
// then of the leads: the target year is the issue year, or the next one when
// the lead's week wrapped past NSEM; leads whose target is not observed in
// the full history of their case are left out.
std::vector<ForecastPair> forecast_pairs(const std::vector<HindcastCase>& cases,
                                         const std::vector<IssueOutcome>& outcomes);

}  // namespace darcalim::hindcast
