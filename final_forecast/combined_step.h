// The combined step at the end of a combined run: the Box-Cox and
// untransformed models of the first pass and the logarithmic models of the
// second are joined into one list of 140 models (26 with a short history).
//
//  1. PREVISAO.DAT is written anew with the joined forecasts and limits;
//     every week's models are ranked by their 4-byte weekly RQEMQ (RQMMED).
//  2. The ranking is revised (VERCONSZONAL).
//  3. The error-ranking report is deleted and written anew over the joined
//     list (RELATXLS); the revised ranking becomes RANKMOD.
//  4. Each lead takes the forecast and limits of its week's first model;
//     `check` (the variability check, variability option on) may replace
//     them. The driver appends their forecast record and model-file line
//     once every other file of the run is complete.
// Failure: only a file that cannot be written stops the run (RunStop, from
// OutputFile).
#pragma once

#include <filesystem>

#include "common/case_settings.h"
#include "common/evaluation_tables.h"
#include "common/flow_history.h"
#include "common/forecast_tables.h"
#include "common/output_file.h"
#include "common/week_groupings.h"
#include "final_forecast/final_forecast.h"

namespace darcalim {

// What the combined step reads: the case, the history (FAC, the station,
// NANOS), the week groupings, the joined weekly errors of the simulation
// (RQMMED) and the joined error tables, and where PREVISAO.DAT and the
// error-ranking report are.
struct CombinedStepInputs {
  const CaseSettings& CASO;
  const FlowHistory& history;
  const WeekGroupings& groupings;
  const SimulationErrors& simulation;
  const JoinedErrorTables& errors;
  std::filesystem::path forecast_table_path;
  std::filesystem::path ranking_report_path;
};

// What it writes: the joined forecast (its tables are read; the leads, the
// revised ranking R2 and the report's first names are written), the weekly
// ranking RANKMOD, PREVISAO.DAT and the error-ranking report.
struct CombinedStepOutputs {
  JoinedForecast& joined;
  WeeklyChoice& choice;
  OutputFile& forecast_table;
  OutputFile& ranking_report;
};

void combined_step(const CombinedStepInputs& in, const CombinedStepOutputs& out, const LeadCheck& check);

}  // namespace darcalim
