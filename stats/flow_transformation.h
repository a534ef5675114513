// TRANS: the series with transformation, week by week.
//
// For every year y = 1..NANOSARQ of the history (the last row, possibly
// incomplete, for its weeks 1..NSEMULT only; the other rows for weeks
// 1..NSEM) and LAMBDA(t) the exponent of week t:
//   LAMBDA(t) = 0:  Y(y, t) = ln X(y, t)
//   LAMBDA(t) = 1:  Y(y, t) = X(y, t)
//   otherwise:      Y(y, t) = (X(y, t)^LAMBDA(t) - 1) / LAMBDA(t)
// Cells outside those weeks and years are left as they are. A flow outside
// the domain of its week's transformation (a zero under the logarithm or a
// negative exponent) gives an IEEE infinity or NaN; the preparation step
// keeps such flows away from it.
#pragma once

#include "common/fixed_array.h"
#include "common/table_sizes.h"
#include "common/series_table.h"

namespace darcalim {

void TRANS(const SeriesTable& X, int NSEM, int NANOSARQ, int NSEMULT, const Array<double, kMaxWeeks>& LAMBDA,
           SeriesTable& Y);

}  // namespace darcalim
