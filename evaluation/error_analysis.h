// ANAPREV: the errors of the forecasts of one evaluation window, and the
// model blocks in which the run report shows error statistics.
//
// The window's records are read back in the order they were written; every
// forecast F is compared with the observed flow Q of HISTORICO (both in the
// stored units), e = Q - F. Slot c of the error tables receives the bias and
// the root mean square error of every model overall (ERRGER), by month
// (ERRMES) and by week (ERRSEM: the week's bias and its RQEMQ); the run
// report receives the window's three sections. combine_half_windows then
// averages slots 1 and 2 into the combined slot.
#pragma once

#include <functional>

#include "common/evaluation_tables.h"
#include "common/layout.h"
#include "common/model_list.h"
#include "common/output_file.h"
#include "common/record_file.h"
#include "common/series_table.h"
#include "common/week_groupings.h"

namespace darcalim {

// What the evaluation of a pass reads: its models, the week groupings (the
// months of the calendar), the flow history HISTORICO and the weeks a year.
struct EvaluationInputs {
  const ModelList& models;
  const WeekGroupings& groupings;
  const SeriesTable& history;
  int NSEM;
};

// Fills slot c of `errors` from the records of window `eval` and writes the
// window's sections to `report`.
void ANAPREV(const EvaluationInputs& in, int c, const Window& eval, RecordFile& records, ErrorTables& errors,
             OutputFile& report);

// Combined slot = the plain average of the two half windows, for every entry.
void combine_half_windows(ErrorTables& errors, int NMOD, int NSEM);

// The model blocks of a statistics section: series by series, blocks of five
// models (four then two when one would be left alone), each a line of names,
// a line of biases and a line of root mean square errors.
void write_model_blocks(OutputFile& report, const ModelList& models, const std::function<double(int)>& bias,
                        const std::function<double(int)>& error);

// The titles of the three sections of a statistics report; each takes the
// page break that starts its section as its one field.
struct StatisticsTitles {
  const Layout& general;
  const Layout& monthly;
  const Layout& weekly;
};

// The overall, monthly (MES 1..12) and weekly (SEMANA 1..NSEM) sections of
// slot `slot` of the error tables, each after its title, in model blocks.
void write_statistics_sections(OutputFile& report, const ModelList& models, const ErrorTables& errors, int slot,
                               int NSEM, const StatisticsTitles& titles);

}  // namespace darcalim
