// BOXCOX: the Box-Cox exponent of every week, with the Box-Cox report.
//
// Searches the weeks 1..NSEM in order over the complete years 1..NANOS of
// the untransformed history (search_boxcox_week) and writes each search to
// the Box-Cox report, which must be open: a form feed and the title line
// once, then for every week its "SEMANA" header, for every pass (and every
// new start of pass 1) its "APROXIMACAO" header, and one line per trial
// exponent followed by an empty line. Then the summary table, week by week:
// the row of the week (week, LAMBDA, skewness), and LAMBDA(w) and, for an
// exponent other than 0, LIMBC(w) are set.
//
// Failure: after the row of a week whose exponent is above 4.0, or whose
// search could not start below zero skewness, the run report receives
//   "*** A TRANSFORMACAO BOX-COX NAO E APROPRIADA PARA ESTE CASO. USE OUTRA
//   TRANSFORMACAO ***" after two empty lines
// and the run stops (RunStop); rows of later weeks are not written.
#pragma once

#include "common/fixed_array.h"
#include "common/table_sizes.h"
#include "common/output_file.h"
#include "common/series_table.h"

namespace darcalim {

void BOXCOX(const SeriesTable& X, int NSEM, int NANOS, Array<double, kMaxWeeks>& LAMBDA,
            Array<double, kMaxWeeks>& LIMBC, OutputFile& boxcox_report, OutputFile& run_report);

// LIMBC of an exponent other than 0: -1/LAMBDA, plus the 4-byte 0.000001 when
// LAMBDA > 0, minus it when LAMBDA < 0.
double boxcox_bound(double LAMBDA);

}  // namespace darcalim
