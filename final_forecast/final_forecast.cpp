#include "final_forecast/final_forecast.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>

#include "common/flow_history.h"
#include "common/layout.h"
#include "common/model_catalogue.h"
#include "common/output_layouts.h"
#include "final_forecast/forecast_table.h"
#include "forecast/model_step.h"

namespace darcalim {

namespace {

// Every model's R takes the observed value of week t of its series.
void reset_one_week_ahead(const PassWalkData& pass, int row, int t, WalkState& state) {
  for (int s = 1; s <= pass.models.series_count; ++s) {
    const double x = pass.of(s).series(row, t);
    for (int m = pass.models.series(s).first; m <= pass.models.series(s).last; ++m) state.R(m) = x;
  }
}

// The start of the replay: a series that the simulation's checkpoint holds
// at the end of the replay's checkpoint year starts from it, any other from
// INISP at the first year of the history. Gives, for each series, the last
// year that the replay need not walk.
Array<int, kSeries> start_replay(const FinalForecastInputs& in, WalkState& state) {
  const PassWalkData& pass = in.walk;
  const WalkCheckpoint* checkpoint = in.checkpoint;
  const bool usable = checkpoint != nullptr && checkpoint->state != nullptr &&
                      checkpoint->year == replay_checkpoint_year(in.CASO, in.history, in.whole);
  Array<int, kSeries> walked;
  for (int s = 1; s <= pass.models.series_count; ++s) {
    if (usable && checkpoint->holds(s)) {
      copy_series_state(pass.models, s, *checkpoint->state, state);
      walked(s) = checkpoint->year;
    } else {
      INISP(state, s, in.whole.first, in.CASO.NSEM, pass.of(s));
      walked(s) = in.whole.first - 1;
    }
  }
  return walked;
}

// The replay up to the week before SEMPREV, each series from the year after
// the last one it need not walk.
void replay_history(const FinalForecastInputs& in, const Array<int, kSeries>& walked, NoiseVariances& VARRES,
                    WalkState& state) {
  const PassWalkData& pass = in.walk;
  const int series_count = pass.models.series_count;
  const int NSEM = in.CASO.NSEM;
  const int SEMPREV = in.CASO.SEMPREV;
  const int last_row = in.history.row_of(in.CASO.ANOPREV);
  const WeekGrouping& months = in.groupings(kMonthsGrouping);
  const bool reset = in.CASO.ANOPREV > in.CASO.ANOFEST;
  const int reset_row = SEMPREV == 1 ? last_row - 1 : last_row;
  const int reset_week = SEMPREV == 1 ? NSEM : SEMPREV - 1;
  int first_year = walked(1) + 1;
  for (int s = 2; s <= series_count; ++s) first_year = std::min(first_year, walked(s) + 1);
  for (int y = first_year; y <= last_row; ++y) {
    const int last_week = y < last_row ? NSEM : SEMPREV - 1;
    for (int M = 1; M <= kMonths; ++M) {
      const int t0 = months.INIPER(M);
      for (int t = t0; t <= months.INIPER(M + 1) - 1 && t <= last_week; ++t) {
        for (int s = 1; s <= series_count; ++s) {
          if (y > walked(s)) step_series(pass, s, {y, t, t0, t == t0, true}, VARRES, state);
        }
        if (reset && y == reset_row && t == reset_week) reset_one_week_ahead(pass, y, t, state);
      }
    }
  }
}

// The forecasts and limits of every model for target week t.
void record_target_week(const FinalForecastInputs& in, int t, const WalkState& state, PassForecast& f) {
  const ModelList& models = in.walk.models;
  const double ZCONF = in.CASO.ZCONF;
  for (int s = 1; s <= models.series_count; ++s) {
    const SeriesModels& series = models.series(s);
    if (!series.transformed) {
      for (int m = series.first; m <= series.last; ++m) {
        f.P(t, m) = state.P(m);
        f.FC(t, m) = state.P(m);
        f.LOWT(t, m) = state.P(m) - ZCONF * f.S(t, m);
        f.UPPT(t, m) = state.P(m) + ZCONF * f.S(t, m);
      }
      continue;
    }
    ModelValues low, upp;
    for (int m = series.first; m <= series.last; ++m) {
      low(m) = state.P(m) - ZCONF * f.S(t, m);
      upp(m) = state.P(m) + ZCONF * f.S(t, m);
    }
    ATRANS2(low, in.walk.LAMBDA(t), series.last, in.walk.LIMBC(t));
    ATRANS2(upp, in.walk.LAMBDA(t), series.last, in.walk.LIMBC(t));
    for (int m = series.first; m <= series.last; ++m) {
      f.P(t, m) = state.P(m);
      f.A(t, m) = state.A(m);
      f.FC(t, m) = state.A(m);
      f.LOWT(t, m) = low(m);
      f.UPPT(t, m) = upp(m);
    }
  }
}

// The lead's final values from the model chosen for its week.
void set_lead_values(const FinalForecastInputs& in, int k, int t, PassForecast& f) {
  const double FAC = in.history.FAC;
  const int m = in.choice.MODESCOLHIDO(t);
  f.lead.PREV(k) = display_value(f.FC(t, m), FAC);
  f.lead.LINF(k) = display_value(f.LOWT(t, m), FAC);
  f.lead.LSUP(k) = display_value(f.UPPT(t, m), FAC);
  f.lead.LINF0(k) = floored(f.lead.LINF(k));
}

void write_block(const FinalForecastInputs& in, int t, const PassForecast& f, OutputFile& table) {
  const double FAC = in.history.FAC;
  ForecastTableBlock block;
  block.week = t;
  for (int m = 1; m <= in.walk.models.NMOD; ++m) {
    block.forecast.push_back(display_value(f.FC(t, m), FAC));
    block.lower.push_back(display_value(f.LOWT(t, m), FAC));
    block.upper.push_back(display_value(f.UPPT(t, m), FAC));
  }
  write_forecast_table_block(table, pass_table_repeat(in.CASO.TIPOTRANS), block);
}

void store_joined(const FinalForecastInputs& in, int t, const PassForecast& f, JoinedForecast& j) {
  const int offset = JoinedList(in.history.NANOS).offset(in.PASSO);
  for (int m = 1; m <= in.walk.models.NMOD; ++m) {
    const int p = m + offset;
    j.F140(t, p) = f.FC(t, m);
    j.LOW140(t, p) = f.LOWT(t, m);
    j.UP140(t, p) = f.UPPT(t, m);
  }
}

void store_joined_deviations(const FinalForecastInputs& in, const PassForecast& f, JoinedForecast& j) {
  const int offset = JoinedList(in.history.NANOS).offset(in.PASSO);
  for (int m = 1; m <= in.walk.models.NMOD; ++m) {
    for (int t = 1; t <= in.CASO.NSEM; ++t) j.SD140(m + offset, t) = f.S(t, m);
  }
}

}  // namespace

int replay_checkpoint_year(const CaseSettings& CASO, const FlowHistory& history, const Window& whole) {
  const int last_row = history.row_of(CASO.ANOPREV);
  int year = last_row - 1 < whole.last ? last_row - 1 : whole.last;
  // With SEMPREV 1 the reset falls on the last week of the year before ANOPREV.
  const bool reset_in_year = CASO.ANOPREV > CASO.ANOFEST && CASO.SEMPREV == 1 && year == last_row - 1;
  if (reset_in_year) --year;
  return year >= whole.first ? year : 0;
}

FirstWeek first_forecast_week(const CaseSettings& CASO, const WeekGroupings& groupings) {
  const int SEMPREV = CASO.SEMPREV;
  if (SEMPREV > CASO.NSEM) return {CASO.ANOPREV + 1, 1, 1};
  const WeekGrouping& months = groupings(kMonthsGrouping);
  int month = 1;
  for (int M = 1; M <= kMonths; ++M) {
    if (months.INIPER(M) <= SEMPREV) month = M;
  }
  return {CASO.ANOPREV, month, SEMPREV};
}

int lead_week(int SEMPREV, int k, int NSEM) {
  const int t = SEMPREV + k - 1;
  return t > NSEM ? t - NSEM : t;
}

void write_forecast_record(OutputFile& forecast_file, int station_code, const FirstWeek& first,
                           const LeadResults& lead) {
  forecast_file.write(forecast_record_layout(),
                      forecast_record_values(station_code, first.year, first.month, first.week, lead));
}

void write_model_file_line(OutputFile& model_file, int station_code, const FirstWeek& first, const LeadResults& lead) {
  model_file.write(model_line_layout(), model_line_values(station_code, first.year, first.month, first.week, lead));
}

void FPREV(const FinalForecastInputs& in, const FinalForecastOutputs& out, const LeadCheck& check) {
  const int NSEM = in.CASO.NSEM;
  const int SEMPREV = in.CASO.SEMPREV;
  const PassWalkData& pass = in.walk;
  PassForecast& f = out.forecast;
  for (int m = 1; m <= pass.models.NMOD; ++m) {
    for (int t = 1; t <= NSEM; ++t) f.S(t, m) = std::sqrt(out.VARRES(t, m));
  }
  if (in.combined_run) store_joined_deviations(in, f, out.joined);
  auto state = std::make_unique<WalkState>();
  replay_history(in, start_replay(in, *state), out.VARRES, *state);
  const int row = in.history.row_of(in.CASO.ANOPREV);
  for (int k = 1; k <= kLeads; ++k) {
    const int t = lead_week(SEMPREV, k, NSEM);
    step_every_series(pass, {row, t, SEMPREV, k == 1, false}, out.VARRES, *state);
    record_target_week(in, t, *state, f);
    if (in.combined_run) store_joined(in, t, f, out.joined);
    set_lead_values(in, k, t, f);
    if (check) check(k, t);
    if (in.PASSO != 2) write_block(in, t, f, out.forecast_table);
  }
  out.forecast_table.close();
}

}  // namespace darcalim
