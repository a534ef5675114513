#include "driver/combined_step.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "common/layout.h"
#include "common/model_catalogue.h"
#include "evaluation/error_reports.h"
#include "evaluation/simulation.h"
#include "evaluation/sorting.h"
#include "forecast/forecast_table.h"
#include "limits/ranking_revision.h"

namespace darcalim {

namespace {

// Lower and upper display limits of joined position m for week t.
std::pair<double, double> joined_limits(const Run& run, const JoinedList& joined, int t, int m) {
  const JoinedForecast& j = run.joined_forecast;
  const double FAC = run.history.FAC;
  const double ZCONF = run.CASO.ZCONF;
  if (joined.transformed(m)) return {display_value(j.LOW140(t, m), FAC), display_value(j.UP140(t, m), FAC)};
  return {display_value(j.F140(t, m) - ZCONF * j.SD140(m, t), FAC),
          display_value(j.F140(t, m) + ZCONF * j.SD140(m, t), FAC)};
}

void write_joined_forecast_table(Run& run, const JoinedList& joined) {
  const int NX = joined.total();
  const std::string n = std::to_string(NX);
  OutputFile& table = run.forecast_table;
  table.open(run.file(kForecastTableFileName), OutputFile::Mode::kRewrite);
  FieldValues header{std::string("SEMANA")};
  for (int m = 1; m <= NX; ++m) header.emplace_back(joined.name(m));
  table.write(Layout("(2X,A8,6X," + n + "(2X,A14))"), header);
  const Layout forecasts("(4X,I4," + n + "(F16.1))");
  const Layout limits("(8X," + n + "(F16.1))");
  for (int k = 1; k <= kLeads; ++k) {
    const int t = lead_week(run.CASO.SEMPREV, k, run.CASO.NSEM);
    FieldValues line{std::int64_t{t}}, lower, upper;
    for (int m = 1; m <= NX; ++m) {
      line.emplace_back(display_value(run.joined_forecast.F140(t, m), run.history.FAC));
      const auto [low, up] = joined_limits(run, joined, t, m);
      lower.emplace_back(floored(low));
      upper.emplace_back(up);
    }
    table.write(forecasts, line);
    table.write(limits, lower);
    table.write(limits, upper);
    table.write_free({std::string("  ")});
  }
  table.close();
}

// Every week's joined models in ascending order of RQMMED.
void rank_joined_list(Run& run, int NX) {
  std::vector<float> keys(static_cast<std::size_t>(NX));
  std::vector<std::int16_t> index(static_cast<std::size_t>(NX));
  for (int w = 1; w <= run.CASO.NSEM; ++w) {
    for (int m = 1; m <= NX; ++m) keys[static_cast<std::size_t>(m - 1)] = run.simulation.RQMMED(w, m);
    ESCO7(NX, keys, index, 1.0f, NX);
    for (int i = 1; i <= NX; ++i) run.choice.RANKMOD(i, w) = index[static_cast<std::size_t>(i - 1)];
  }
}

void set_lead_values(Run& run, const JoinedList& joined, int k, int t) {
  LeadResults& lead = run.joined_forecast.lead;
  const int m = run.choice.RANKMOD(1, t);
  lead.PREV(k) = display_value(run.joined_forecast.F140(t, m), run.history.FAC);
  const auto [low, up] = joined_limits(run, joined, t, m);
  lead.LINF(k) = low;
  lead.LSUP(k) = up;
  lead.LINF0(k) = floored(low);
}

// RELATXLS over the joined tables, to the error-ranking report of the case.
void rank_joined_report(Run& run) {
  const std::filesystem::path report_path = run.file(run.CASO.ranking_report_name);
  const JoinedRankingInputs in{run.joined_errors,  run.history.NANOS,      run.CASO.NSEM,
                               run.choice.RANKMOD, run.joined_forecast.R2, report_path};
  RELATXLS(in, {run.ranking_report, run.joined_forecast.first_ranked, run.joined_forecast.revised_first});
}

}  // namespace

void combined_step(Run& run, const LeadCheck& check) {
  const JoinedList joined(run.history.NANOS);
  const int NSEM = run.CASO.NSEM;
  write_joined_forecast_table(run, joined);
  rank_joined_list(run, joined.total());
  const JoinedErrorTables& err = run.joined_errors;
  VERCONSZONAL(run.choice.RANKMOD, [&](int m, int w) { return err.ERRSEM(m, NSEM + w); }, run.history.NANOS, NSEM,
               run.joined_forecast.R2);
  run.ranking_report.close_and_delete();
  rank_joined_report(run);
  for (int w = 1; w <= NSEM; ++w) {
    for (int p = 1; p <= joined.total(); ++p) run.choice.RANKMOD(p, w) = run.joined_forecast.R2(p, w);
  }
  for (int k = 1; k <= kLeads; ++k) {
    const int t = lead_week(run.CASO.SEMPREV, k, NSEM);
    set_lead_values(run, joined, k, t);
    if (check) check(k, t);
  }
  const FirstWeek first = first_forecast_week(run.CASO, run.GRUPO);
  write_forecast_record(run.forecast_file, run.history.station_code, first, run.joined_forecast.lead);
  if (run.CASO.variability_option != 0) {
    write_model_file_line(run.model_file, run.history.station_code, first, run.joined_forecast.lead);
  }
}

}  // namespace darcalim
