#include "final_forecast/combined_step.h"

#include <cstdint>
#include <vector>

#include "common/model_catalogue.h"
#include "evaluation/error_reports.h"
#include "evaluation/sorting.h"
#include "final_forecast/forecast_table.h"
#include "limits/ranking_revision.h"

namespace darcalim {

namespace {

// Lower and upper display limits of joined position m for week t.
std::pair<double, double> joined_limits(const CombinedStepInputs& in, const JoinedForecast& j,
                                        const JoinedList& joined, int t, int m) {
  const double FAC = in.history.FAC;
  const double ZCONF = in.CASO.ZCONF;
  if (joined.transformed(m)) return {display_value(j.LOW140(t, m), FAC), display_value(j.UP140(t, m), FAC)};
  return {display_value(j.F140(t, m) - ZCONF * j.SD140(m, t), FAC),
          display_value(j.F140(t, m) + ZCONF * j.SD140(m, t), FAC)};
}

void write_joined_forecast_table(const CombinedStepInputs& in, const JoinedForecast& j, const JoinedList& joined,
                                 OutputFile& table) {
  const int NX = joined.total();
  table.open(in.forecast_table_path, OutputFile::Mode::kRewrite);
  std::vector<std::string> names;
  for (int m = 1; m <= NX; ++m) names.push_back(joined.name(m));
  write_forecast_table_header(table, names);
  for (int k = 1; k <= kLeads; ++k) {
    ForecastTableBlock block;
    block.week = lead_week(in.CASO.SEMPREV, k, in.CASO.NSEM);
    for (int m = 1; m <= NX; ++m) {
      block.forecast.push_back(display_value(j.F140(block.week, m), in.history.FAC));
      const auto [low, up] = joined_limits(in, j, joined, block.week, m);
      block.lower.push_back(low);
      block.upper.push_back(up);
    }
    write_forecast_table_block(table, NX, block);
  }
  table.close();
}

// Every week's joined models in ascending order of RQMMED.
void rank_joined_list(const CombinedStepInputs& in, int NX, WeeklyChoice& choice) {
  std::vector<float> keys(static_cast<std::size_t>(NX));
  std::vector<std::int16_t> index(static_cast<std::size_t>(NX));
  for (int w = 1; w <= in.CASO.NSEM; ++w) {
    for (int m = 1; m <= NX; ++m) keys[static_cast<std::size_t>(m - 1)] = in.simulation.RQMMED(w, m);
    ESCO7(NX, keys, index, 1.0f, NX);
    for (int i = 1; i <= NX; ++i) choice.RANKMOD(i, w) = index[static_cast<std::size_t>(i - 1)];
  }
}

void set_lead_values(const CombinedStepInputs& in, const JoinedList& joined, int k, int t,
                     const CombinedStepOutputs& out) {
  JoinedForecast& j = out.joined;
  const int m = out.choice.RANKMOD(1, t);
  j.lead.PREV(k) = display_value(j.F140(t, m), in.history.FAC);
  const auto [low, up] = joined_limits(in, j, joined, t, m);
  j.lead.LINF(k) = low;
  j.lead.LSUP(k) = up;
  j.lead.LINF0(k) = floored(low);
}

// RELATXLS over the joined tables, to the error-ranking report of the case.
void rank_joined_report(const CombinedStepInputs& in, const CombinedStepOutputs& out) {
  const JoinedRankingInputs report_in{in.errors,           in.history.NANOS, in.CASO.NSEM,
                                      out.choice.RANKMOD, out.joined.R2,    in.ranking_report_path};
  RELATXLS(report_in, {out.ranking_report, out.joined.first_ranked, out.joined.revised_first});
}

}  // namespace

void combined_step(const CombinedStepInputs& in, const CombinedStepOutputs& out, const LeadCheck& check) {
  const JoinedList joined(in.history.NANOS);
  const int NSEM = in.CASO.NSEM;
  write_joined_forecast_table(in, out.joined, joined, out.forecast_table);
  rank_joined_list(in, joined.total(), out.choice);
  VERCONSZONAL(out.choice.RANKMOD, [&](int m, int w) { return in.errors.ERRSEM(m, NSEM + w); }, in.history.NANOS,
               NSEM, out.joined.R2);
  out.ranking_report.close_and_delete();
  rank_joined_report(in, out);
  for (int w = 1; w <= NSEM; ++w) {
    for (int p = 1; p <= joined.total(); ++p) out.choice.RANKMOD(p, w) = out.joined.R2(p, w);
  }
  for (int k = 1; k <= kLeads; ++k) {
    const int t = lead_week(in.CASO.SEMPREV, k, NSEM);
    set_lead_values(in, joined, k, t, out);
    if (check) check(k, t);
  }
}

}  // namespace darcalim
