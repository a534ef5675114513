// FPREV: the final forecast of a pass.
//
// With the parameters of window 3 every model replays the series month by
// month from the first year of the history to the week before SEMPREV, so
// that it reaches the forecast origin with its own state, then forecasts the
// six weeks SEMPREV..SEMPREV + 5 (counted from week 1 past NSEM) as one final
// month, one to six weeks ahead. When ANOPREV is later than ANOFEST the
// one-week-ahead forecasts R are set to the observed values of the week
// before SEMPREV, so that no innovation enters the final month.
//
// A series that the checkpoint of the simulation over the whole history
// holds at the end of replay_checkpoint_year (the same steps with the same
// parameters) is replayed from there; any other from the first year.
//
// Every model gets limits at ZCONF standard deviations S(t, m) =
// sqrt(VARRES(t, m)) (a transformed model's limits are returned to flows
// without bias correction); the model chosen for the target week of each lead
// gives the lead's forecast and limits (out.forecast). For each lead
// `check` (the variability check, with the variability option on, first pass
// only) may then replace them; then, except in the second pass of a combined
// run, the lead's block goes to PREVISAO.DAT. After lead 6 PREVISAO.DAT is
// closed; the forecast record and the model-file line of the leads are
// appended by the driver, last of all the run's outputs. In a combined run the
// pass's forecasts, limits and deviations also go to the joined tables, at
// the pass's positions of the joined list.
// Failure: only a file that cannot be written stops the run (RunStop, from
// OutputFile).
#pragma once

#include <functional>

#include "common/case_settings.h"
#include "common/evaluation_tables.h"
#include "common/flow_history.h"
#include "common/forecast_tables.h"
#include "common/output_file.h"
#include "common/parameter_store.h"
#include "common/series_table.h"
#include "common/week_groupings.h"
#include "forecast/model_step.h"

namespace darcalim {

// The check of one lead: lead 1..6 and its target week.
using LeadCheck = std::function<void(int lead, int week)>;

// What the final forecast reads: the walk data with the parameters of the
// whole history (the pass's models, its series, LAMBDA and LIMBC), the
// window of the whole history, the case, the history, the groupings, the
// weekly choice (MODESCOLHIDO), the pass (PASSO), whether the run is a
// combined one (either pass) and the checkpoint of the simulation over the
// whole history, if any.
struct FinalForecastInputs {
  const PassWalkData& walk;
  const Window& whole;
  const CaseSettings& CASO;
  const FlowHistory& history;
  const WeekGroupings& groupings;
  const WeeklyChoice& choice;
  int PASSO;
  bool combined_run;
  const WalkCheckpoint* checkpoint = nullptr;
};

// What it writes: the noise variances (read for S, set by the walk step),
// the pass's forecast, the joined tables (combined run) and PREVISAO.DAT.
struct FinalForecastOutputs {
  NoiseVariances& VARRES;
  PassForecast& forecast;
  JoinedForecast& joined;
  OutputFile& forecast_table;
};

void FPREV(const FinalForecastInputs& in, const FinalForecastOutputs& out, const LeadCheck& check);

// The last year that the replay of the history walks whole, as the
// simulation over the whole history `whole` walks it, and in which it resets
// no one-week-ahead forecast; 0 when there is none.
int replay_checkpoint_year(const CaseSettings& CASO, const FlowHistory& history, const Window& whole);

// Target week of lead k: SEMPREV + k - 1, less NSEM above NSEM.
int lead_week(int SEMPREV, int k, int NSEM);

// Year, month and week of the first forecast week, as the forecast record
// carries them: week SEMPREV of ANOPREV in the month of the operating
// calendar whose first week is the last one not after SEMPREV (week 1, month
// 1 of the next year were SEMPREV above NSEM).
struct FirstWeek {
  int year = 0;
  int month = 0;
  int week = 0;
};
FirstWeek first_forecast_week(const CaseSettings& CASO, const WeekGroupings& groupings);

// The forecast record of the appended forecast file and the model-file line
// of a set of lead results, for the station and its first forecast week.
// Each goes to its file whole, or not at all (a failed write is taken back
// and stops the run).
void write_forecast_record(OutputFile& forecast_file, int station_code, const FirstWeek& first,
                           const LeadResults& lead);
void write_model_file_line(OutputFile& model_file, int station_code, const FirstWeek& first, const LeadResults& lead);

}  // namespace darcalim
