#include "driver/run_result.h"

#include <charconv>
#include <memory>

#include "common/layout.h"
#include "common/model_catalogue.h"
#include "forecast/final_forecast.h"

namespace darcalim {

namespace {

std::string without_blanks(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The lead results of the run: those of the combined step in a combined run,
// otherwise those of the pass.
const LeadResults& final_leads(const Run& run) {
  return run.PASSO == 2 ? run.joined_forecast.lead : run.final_forecast.lead;
}

// Name of the model whose forecast lead k kept for target week t.
std::string kept_model(const Run& run, int k, int t) {
  if (run.CASO.variability_option != 0) return final_leads(run).ESCOLHA(k);
  if (run.PASSO == 2) return JoinedList(run.history.NANOS).name(run.choice.RANKMOD(1, t));
  return run.models.model(run.choice.MODESCOLHIDO(t)).long_name;
}

LeadForecast lead_forecast(const Run& run, int k) {
  const LeadResults& l = final_leads(run);
  LeadForecast f;
  f.lead = k;
  f.target_week = lead_week(run.CASO.SEMPREV, k, run.CASO.NSEM);
  // The forecast record's fields: PREV, LINF0 and LSUP through F9.1.
  f.value_text = without_blanks(format_real(l.PREV(k), 9, 1));
  f.lower_text = without_blanks(format_real(l.LINF0(k), 9, 1));
  f.upper_text = without_blanks(format_real(l.LSUP(k), 9, 1));
  f.value = written_number(f.value_text);
  f.lower = written_number(f.lower_text);
  f.upper = written_number(f.upper_text);
  f.model = without_blanks(kept_model(run, k, f.target_week));
  return f;
}

}  // namespace

std::optional<double> written_number(const std::string& field) {
  const std::string text = without_blanks(field);
  double value = 0.0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

RunResult run_result(const Run& run, const RunEnd& end) {
  RunResult r;
  r.exit_status = end.status;
  r.state = end.status == 0 ? RunResult::State::kNormalEnd : RunResult::State::kStopped;
  r.message = without_blanks(end.reason);
  r.station_code = run.history.station_code;
  r.station_name = without_blanks(run.history.station_name);
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
  for (int k = 1; k <= kLeads; ++k) r.leads.push_back(lead_forecast(run, k));
  return r;
}

RunResult run_case(const std::filesystem::path& folder, std::ostream& console, std::ostream& errors) {
  auto run = std::make_unique<Run>(folder, console, errors);
  const RunEnd end = run_to_end(*run);
  return run_result(*run, end);
}

}  // namespace darcalim
