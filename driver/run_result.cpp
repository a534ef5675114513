#include "driver/run_result.h"

#include <memory>

#include "common/input_file.h"
#include "common/layout.h"
#include "common/model_catalogue.h"
#include "common/output_layouts.h"
#include "evaluation/error_reports.h"
#include "final_forecast/final_forecast.h"

namespace darcalim {

namespace {

// Name of the model whose forecast lead k kept for target week t.
std::string kept_model(const Run& run, int k, int t) {
  if (run.CASO.variability_option != 0) return final_leads(run).ESCOLHA(k);
  if (run.PASSO == 2) return JoinedList(run.history.NANOS).name(run.choice.RANKMOD(1, t));
  return run.models.model(run.choice.MODESCOLHIDO(t)).long_name;
}

// The run's forecast record as the appended forecast file holds it, read
// back through its layout.
ForecastRecordFields written_record(const Run& run, const FirstWeek& first) {
  TextLines lines(forecast_record_layout().write(
      forecast_record_values(run.history.station_code, first.year, first.month, first.week, final_leads(run))));
  ForecastRecordFields record;
  read_forecast_record(lines, record);
  return record;
}

LeadForecast lead_forecast(const Run& run, const ForecastRecordFields& record, int k) {
  const auto i = static_cast<std::size_t>(k - 1);
  LeadForecast f;
  f.lead = k;
  f.target_week = lead_week(run.CASO.SEMPREV, k, run.CASO.NSEM);
  f.value_text = record.forecast[i].text;
  f.lower_text = record.lower[i].text;
  f.upper_text = record.upper[i].text;
  f.value = record.forecast[i].value;
  f.lower = record.lower[i].value;
  f.upper = record.upper[i].value;
  f.model = trimmed(kept_model(run, k, f.target_week));
  return f;
}

}  // namespace

RunResult run_result(const Run& run, const RunEnd& end) {
  RunResult r;
  r.exit_status = end.status;
  r.state = end.status == 0 ? RunResult::State::kNormalEnd : RunResult::State::kStopped;
  r.message = trimmed(end.reason);
  r.station_code = run.history.station_code;
  r.station_name = trimmed(run.history.station_name);
  r.FAC = run.history.FAC;
  r.confidence_level = run.CASO.confidence_level;
  if (!r.normal_end()) {
    r.year = run.CASO.ANOPREV;
    r.week = run.CASO.SEMPREV;
    return r;
  }
  const FirstWeek first = first_forecast_week(run.CASO, run.GRUPO);
  r.year = first.year;
  r.month = first.month;
  r.week = first.week;
  const ForecastRecordFields record = written_record(run, first);
  for (int k = 1; k <= kLeads; ++k) r.leads.push_back(lead_forecast(run, record, k));
  return r;
}

RunResult run_case(const std::filesystem::path& folder, std::ostream& console, std::ostream& errors, int threads,
                   RunFiles files) {
  auto run = std::make_unique<Run>(folder, console, errors);
  run->threads = threads;
  run->writes_files = files == RunFiles::kWritten;
  const RunEnd end = run_to_end(*run);
  return run_result(*run, end);
}

}  // namespace darcalim
