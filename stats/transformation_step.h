// The preparation of the series with transformation, run once per pass by
// the case input after the history has been read, validated and scaled.
//
// By the pass's option in.TIPOTRANS:
//  - 1 and 3 (logarithm): LAMBDA(t) = 0 for the NSEM weeks;
//  - 2 and 4 (Box-Cox): the run report receives
//    "  VAZOES SEMANAIS COM TRANSFORMACAO " and the option's label, then an
//    empty line; the Box-Cox report is opened for rewriting at
//    in.boxcox_report_path; BOXCOX chooses LAMBDA and LIMBC;
//  - 0: LAMBDA is left at 1.
// With a zero flow in the history (in.zero_flow) under any option from 1
// to 4 no exponent is chosen: the console receives "Vazao Nula. ... Nao sera
// considerada a opcao c\ transformacao", the run report the "*** ATENCAO ***"
// note, LAMBDA(t) = 1 for every week, and the Box-Cox report, under options 2
// and 4, is opened and left unwritten. The logarithm of a zero flow is thus
// never taken.
// Then, for every option, TRANS builds out.transformed from the history.
//
// Failure: BOXCOX stops the run (RunStop) on an unsuitable exponent; the
// Box-Cox report that cannot be opened stops it too (OutputFile).
#pragma once

#include <filesystem>
#include <ostream>

#include "common/fixed_array.h"
#include "common/flow_history.h"
#include "common/output_file.h"
#include "common/series_table.h"
#include "common/table_sizes.h"

namespace darcalim {

// What the preparation reads: the history (stored units), the pass's
// transformation option and weeks a year, whether the history holds a zero
// flow, and where the Box-Cox report goes (named after the run report).
struct TransformationInputs {
  const FlowHistory& history;
  int TIPOTRANS;
  int NSEM;
  bool zero_flow;
  const std::filesystem::path& boxcox_report_path;
};

// What it writes: the exponents and bounds of the weeks, the series with
// transformation, and the console, run report and Box-Cox report.
struct TransformationOutputs {
  Array<double, kMaxWeeks>& LAMBDA;
  Array<double, kMaxWeeks>& LIMBC;
  SeriesTable& transformed;
  std::ostream& console;
  OutputFile& run_report;
  OutputFile& boxcox_report;
};

void prepare_transformation(const TransformationInputs& in, const TransformationOutputs& out);

}  // namespace darcalim
