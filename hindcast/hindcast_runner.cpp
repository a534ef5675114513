#include "hindcast/hindcast_runner.h"

#include <chrono>
#include <random>
#include <sstream>

namespace darcalim::hindcast {

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

std::string two_digits(int week) {
  return (week < 10 ? "0" : "") + std::to_string(week);
}

IssueOutcome run_unit(const HindcastCase& c, HindcastUnit unit, const fs::path& scratch) {
  IssueOutcome outcome;
  outcome.unit = unit;
  const auto start = Clock::now();
  const IssueWeek issue = unit.issue;
  const fs::path folder =
      scratch / (std::to_string(unit.case_index) + "-" + std::to_string(issue.year) + "-" + two_digits(issue.week));
  try {
    fs::create_directory(folder);
    write_cut_case(c, issue, folder);
    std::ostringstream console;
    std::ostringstream errors;
    outcome.result = run_case(folder, console, errors, 1, RunFiles::kNone);
  } catch (const std::exception& fault) {  // a folder or file that could not be made, no memory
    outcome.result = RunResult{};
    outcome.result.message = std::string("fault of the hindcast: ") + fault.what();
    outcome.finished = false;
  }
  std::error_code ec;
  fs::remove_all(folder, ec);
  outcome.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return outcome;
}

}  // namespace

std::vector<IssueWeek> issue_weeks(const HindcastCase& c, int from, int to, const std::vector<int>& weeks) {
  std::vector<int> chosen = weeks;
  if (chosen.empty()) {
    for (int w = 1; w <= c.weeks_per_year; ++w) chosen.push_back(w);
  }
  std::vector<IssueWeek> issues;
  for (int year = from; year <= to; ++year) {
    for (const int week : chosen) {
      if (c.observed(year, week)) issues.push_back({year, week});
    }
  }
  return issues;
}

std::vector<HindcastUnit> hindcast_units(const std::vector<HindcastCase>& cases, int from, int to,
                                         const std::vector<int>& weeks) {
  std::vector<HindcastUnit> units;
  for (std::size_t i = 0; i < cases.size(); ++i) {
    for (const IssueWeek issue : issue_weeks(cases[i], from, to, weeks)) units.push_back({i, issue});
  }
  return units;
}

ScratchRoot::ScratchRoot() {
  std::random_device device;
  const fs::path base = fs::temp_directory_path();
  for (;;) {
    path_ = base / ("darcalim-hindcast-" + std::to_string(device()));
    if (fs::create_directory(path_)) break;
  }
}

ScratchRoot::~ScratchRoot() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

void run_hindcast(const std::vector<HindcastCase>& cases, const std::vector<HindcastUnit>& units, int jobs,
                  const std::filesystem::path& scratch, std::vector<IssueOutcome>& outcomes, TaskProgress* progress) {
  outcomes.assign(units.size(), IssueOutcome{});
  run_tasks(
      units.size(), jobs,
      [&](std::size_t i) {
        outcomes[i] = run_unit(cases[units[i].case_index], units[i], scratch);
        return outcomes[i].result.normal_end();
      },
      progress);
}

std::vector<ForecastPair> forecast_pairs(const std::vector<HindcastCase>& cases,
                                         const std::vector<IssueOutcome>& outcomes) {
  std::vector<ForecastPair> pairs;
  for (const IssueOutcome& o : outcomes) {
    if (!o.result.normal_end()) continue;
    const HindcastCase& c = cases[o.unit.case_index];
    const IssueWeek issue = o.unit.issue;
    for (const LeadForecast& lead : o.result.leads) {
      const int target_year = lead.target_week < issue.week ? issue.year + 1 : issue.year;
      if (!c.observed(target_year, lead.target_week)) continue;
      ForecastPair p;
      p.case_index = o.unit.case_index;
      p.issue = issue;
      p.target_year = target_year;
      p.forecast = lead;
      p.pair.lead = lead.lead;
      p.pair.value = lead.value;
      p.pair.lower = lead.lower;
      p.pair.upper = lead.upper;
      p.pair.observed = c.flow(target_year, lead.target_week);
      p.pair.persistence = c.flow_before(issue.year, issue.week);
      p.pair.climatology = c.mean_before(issue.year, lead.target_week);
      pairs.push_back(std::move(p));
    }
  }
  return pairs;
}

}  // namespace darcalim::hindcast
