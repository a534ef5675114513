#include "view/run_folder.h"

#include <algorithm>
#include <sstream>
#include <system_error>

#include "common/input_file.h"
#include "common/output_layouts.h"
#include "common/run_stop.h"
#include "driver/case_input.h"
#include "driver/run_trace.h"
#include "tools/blank_trim.h"
#include "view/view_error.h"
#include "view/view_input.h"

namespace darcalim::view {

namespace {

constexpr int kNormalEndCode = 0;

void require_normal_end(const std::filesystem::path& folder) {
  const auto state_file = folder / kStateFileName;
  std::error_code ec;
  if (!std::filesystem::exists(std::filesystem::symlink_status(state_file, ec))) {
    throw ViewInputError(folder.string() + ": no finished run here (no " + kStateFileName +
                         "; run darcalim in the folder first)");
  }
  const auto lines = read_view_input(state_file, state_file.string(), "the state file");
  std::istringstream in(lines.empty() ? "" : lines.front());
  int code = -1;
  if (!(in >> code) || code != kNormalEndCode) {
    throw ViewInputError((folder / kStateFileName).string() + ": the last run did not end normally (state \"" +
                         without_blanks(lines.empty() ? "" : lines.front()) + "\")");
  }
}

// The case, the history and the recent flows, read by the program's readers.
FlowHistory read_case_and_history(RunFolder& f) {
  std::ostringstream console;
  std::ostringstream diagnostics;
  CaseInput in;
  try {
    in = read_case_input(f.folder, console, diagnostics);
  } catch (const RunStop& stop) {
    throw ViewInputError(f.folder.string() + ": " + (stop.diagnostic().empty() ? stop.reason() : stop.diagnostic()));
  }
  f.settings = in.settings;
  f.transformation_option = in.settings.TIPOTRANS;
  for (std::string* name : {&f.settings.report_name, &f.settings.history_name, &f.settings.forecast_file_name,
                            &f.settings.ranking_report_name, &f.settings.vazpasts_name, &f.settings.percentile_name}) {
    *name = without_blanks(*name);
  }
  f.station_code = in.history.station_code;
  f.station_name = without_blanks(in.history.station_name);
  f.first_year = in.history.first_year;
  f.last_year = in.history.last_year;
  f.FAC = in.history.FAC;
  return std::move(in.history);
}

void require_record_of_case(const RunFolder& f) {
  const CaseSettings& c = f.settings;
  const bool next_year = c.SEMPREV > c.NSEM;
  const int year = next_year ? c.ANOPREV + 1 : c.ANOPREV;
  const int week = next_year ? 1 : c.SEMPREV;
  const ForecastRecord& r = f.record;
  if (r.station_code != f.station_code || r.year != year || r.week != week) {
    throw ViewInputError(c.forecast_file_name + ", line " + std::to_string(r.first_line) +
                         ": the last record is for station " + std::to_string(r.station_code) + ", week " +
                         std::to_string(r.week) + " of " + std::to_string(r.year) +
                         ", but the case forecasts station " + std::to_string(f.station_code) + " from week " +
                         std::to_string(week) + " of " + std::to_string(year));
  }
}

std::vector<std::string> kept_models_of_model_file(const RunFolder& f) {
  auto lines = read_view_input(f.folder / f.model_file_name, f.model_file_name, "the model file");
  while (!lines.empty() && without_blanks(lines.back()).empty()) lines.pop_back();
  if (lines.size() < 2) {
    throw ViewInputError(f.model_file_name + ": the model file is missing or holds no line of models");
  }
  TextLines last(lines.back());
  std::array<std::string, kLeads> named;
  read_model_line(last, named);
  std::vector<std::string> models;
  for (std::size_t k = 0; k < kLeads; ++k) {
    if (named[k].empty()) {
      throw ViewInputError(f.model_file_name + ", line " + std::to_string(lines.size()) + ": no model for lead " +
                           std::to_string(k + 1));
    }
    models.push_back(named[k]);
  }
  return models;
}

void read_leads(RunFolder& f) {
  const RankingReport ranking(f.folder / f.settings.ranking_report_name);
  const int NSEM = f.settings.NSEM;
  std::vector<std::string> file_models;
  if (f.settings.variability_option != 0) file_models = kept_models_of_model_file(f);
  for (std::size_t i = 0; i < kLeads; ++i) {
    LeadView& l = f.leads[i];
    const int k = static_cast<int>(i) + 1;
    const int t = f.record.week + k - 1;
    l.lead = k;
    l.target_year = t > NSEM ? f.record.year + 1 : f.record.year;
    l.target_week = t > NSEM ? t - NSEM : t;
    l.forecast = f.record.forecast[i];
    l.lower = f.record.lower[i];
    l.upper = f.record.upper[i];
    l.ranking = ranking.week(l.target_week);
    if (!file_models.empty()) {
      l.model = file_models[i];
    } else {
      l.model = f.transformation_option == kCombinedOption ? l.ranking.best : l.ranking.best_after_analysis;
    }
  }
}

void read_observed(RunFolder& f, const FlowHistory& history) {
  int year = f.record.year;
  int week = f.record.week;
  for (int back = 1; back <= kObservedWeeks; ++back) {
    if (--week < 1) {
      --year;
      week = f.settings.NSEM;
    }
    ObservedWeek o;
    o.year = year;
    o.week = week;
    o.recent = f.settings.trend_source == 0 && back <= kRecentWeeks;
    const int row = history.row_of(year);
    // Every week before the forecast week is an observed one, as the run took
    // it: a 0 there is a flow of 0 (a dry river), not a gap.
    if (row >= 1 && row <= history.NANOSARQ) o.flow = history.HISTORICO(row, week);
    f.observed.push_back(o);
  }
  std::reverse(f.observed.begin(), f.observed.end());
}

std::vector<std::string> file_names(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.is_regular_file()) names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

RunFolder read_run_folder(const std::filesystem::path& folder) {
  if (!std::filesystem::is_directory(folder)) throw ViewInputError(folder.string() + ": not a folder");
  require_normal_end(folder);
  RunFolder f;
  f.folder = folder;
  const FlowHistory history = read_case_and_history(f);
  f.record = read_last_forecast_record(folder / f.settings.forecast_file_name);
  require_record_of_case(f);
  if (f.settings.variability_option != 0) f.model_file_name = model_file_name(f.settings.report_name);
  read_leads(f);
  read_observed(f, history);
  f.files = file_names(folder);
  return f;
}

}  // namespace darcalim::view
