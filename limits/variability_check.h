// VARIAPREV: the variability check of one lead of the final forecast.
//
// The lead's forecast divided by QANT, the flow of the week before it (the
// last observed flow for lead 1, the kept forecast of the lead before
// otherwise; 4-byte), must lie within the ratio limits [RAZINF, RAZSUP] drawn
// from the history (DETLIMITE; the target week's own ratios when the codes of
// the percentile file name no sample). Outside them, the next model of the
// week's ranking is tried, and so on down the ranking. When no model passes,
// the candidate nearest the band is kept on the side where most models fell
// (CODESC 0 from below, 200 from above); otherwise CODESC is the ranking
// position of the kept model. The history of the checks is V, the display
// flows of the rows before the forecast year (check_history), built once by
// the caller for its series of six checks. The first check of each series
// builds the ratio samples (VAZSEMPER); every check orders the models by the limits
// for the error-ranking report (ORDENLIMOD), which the check of lead 6
// rewrites.
//
// In a pass the candidates are the pass's models (in.pass_forecast); in the
// combined step of a combined run (in.combined), the joined list
// (in.joined_forecast). The caller hands in the lead results of the same
// list (out.lead). Nothing is reported; a QANT of zero accepts the forecast
// in hand.
//
// Failure: an error-ranking report that cannot be reopened or written stops
// the run (RunStop, from ORDENLIMOD).
#pragma once

#include <filesystem>
#include <memory>
#include <vector>

#include "common/case_settings.h"
#include "common/evaluation_tables.h"
#include "common/fixed_array.h"
#include "common/flow_history.h"
#include "common/forecast_tables.h"
#include "common/model_list.h"
#include "common/output_file.h"
#include "common/series_table.h"
#include "common/table_sizes.h"
#include "common/variability_tables.h"
#include "common/week_groupings.h"

namespace darcalim {

// What the check reads: which list it checks, the forecasts of both lists,
// the tables the ordering of the error-ranking report reads (ORDENLIMOD),
// the pass's models (the joined list follows from NANOS), the weekly choice
// (RANKMOD), the groupings, the percentiles, the case (NSEM, TIPOTRANS,
// ZCONF, ANOPREV), the history (NANOS, FAC, first_year), the last observed
// flow QPASS(1) and where the error-ranking report goes.
struct VariabilityCheckInputs {
  bool combined;
  const PassForecast& pass_forecast;
  const JoinedForecast& joined_forecast;
  const ErrorTables& errors;
  const JoinedErrorTables& joined_errors;
  const ModelList& models;
  const WeeklyChoice& choice;
  const WeekGroupings& groupings;
  const PercentileTable& percentiles;
  const CaseSettings& CASO;
  const FlowHistory& history;
  double last_flow;
  const std::filesystem::path& ranking_report_path;
};

// What it writes: the lead results of the list checked, the ratio samples
// and limits, the target weeks and re-ordered lists of the leads, and the
// error-ranking report.
struct VariabilityCheckOutputs {
  LeadResults& lead;
  RatioSamples& samples;
  RatioLimits& limits;
  Array<int, kLeads>& TARGET;
  Array<std::vector<OrderedModel>, kLeads>& reordered;
  OutputFile& ranking_report;
};

// once_flag: 0 until the ratio samples have been built for this series of
// checks; the caller owns it.
void VARIAPREV(const VariabilityCheckInputs& in, int LEAD, int WEEK, const SeriesTable& V, int& once_flag,
               const VariabilityCheckOutputs& out);

// YF: the row of ANOPREV in a history that starts in first_year, at most
// 101; the flows of rows 1..YF - 1 are the history of the check.
int forecast_row(int ANOPREV, int first_year);

// V = HISTORICO * FAC / 604.8 for rows 1..YF - 1 and weeks 1..NSEM, zero
// elsewhere.
void display_history(const FlowHistory& history, int NSEM, int YF, SeriesTable& V);

// V of the forecast row of ANOPREV: the history of a series of checks.
std::unique_ptr<SeriesTable> check_history(const FlowHistory& history, int ANOPREV, int NSEM);

}  // namespace darcalim
