// ORDENLIMOD: the error-ranking report rewritten with the effect of the
// ratio limits.
//
// At each lead, the models of the target week's ranking are split into those
// whose forecast divided by QANT (4-byte) lies within [RAZINF, RAZSUP] and the
// others; the lead's re-ordered list holds the first group, then the second,
// each in ranking order. The call of lead 6 writes the whole report in the
// layout of the error-ranking report: the overall and monthly rankings, and
// for each week of each month either its ordinary section or, for the target
// weeks of the six leads (not wrapped past the end of the year), the
// re-ordered list with the line " MELHOR MODELO APOS LIMITES, ". Every call
// closes the report's connection and reopens it for rewriting at
// in.report_path; only lead 6 writes, and closes it again.
//
// Failure: a report that cannot be opened or written stops the run
// (RunStop, from OutputFile).
#pragma once

#include <filesystem>
#include <functional>
#include <vector>

#include "common/evaluation_tables.h"
#include "common/fixed_array.h"
#include "common/forecast_tables.h"
#include "common/model_list.h"
#include "common/output_file.h"
#include "common/table_sizes.h"
#include "common/variability_tables.h"
#include "common/week_groupings.h"

namespace darcalim {

// What the ordering reads. With `combined` (the combined step of a combined
// run) the report ranks the joined list: the joined tables, the joined list's
// names and the first names kept by the joined forecast; otherwise the pass's
// models: the combined slot of the pass's error tables, the models' names and
// the weekly choice. Both read the ranking RANKMOD, the month grouping, the
// pass's option and years (the joined list of their length, the repeat counts
// of the names lines), FAC (QANT to stored units) and the ratio limits last
// drawn.
struct LimitOrderingInputs {
  bool combined;
  const ErrorTables& errors;
  const JoinedErrorTables& joined_errors;
  const ModelList& models;
  const WeeklyChoice& choice;
  const JoinedForecast& joined_forecast;
  const WeekGroupings& groupings;
  int NSEM;
  int TIPOTRANS;
  int NANOS;
  double FAC;
  const RatioLimits& limits;
  const std::filesystem::path& report_path;
};

// What it writes: the target weeks of the leads (set at lead 1), the
// re-ordered list of each lead, and the error-ranking report.
struct LimitOrderingOutputs {
  Array<int, kLeads>& TARGET;
  Array<std::vector<OrderedModel>, kLeads>& reordered;
  OutputFile& report;
};

void ORDENLIMOD(const LimitOrderingInputs& in, int LEAD, int WEEK, float QANT, int NM,
                const std::function<double(int)>& forecast, const LimitOrderingOutputs& out);

}  // namespace darcalim
