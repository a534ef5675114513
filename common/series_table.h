// A weekly series of the station: 100 years (rows) by 53 weeks, 8-byte reals.
// HISTORICO (the flows) and the series with transformation share this shape.
#pragma once

#include "common/fixed_array.h"
#include "common/table_sizes.h"

namespace darcalim {

using SeriesTable = Array<double, kMaxYears, kMaxWeeks>;

// A window of years: the first and the last row of the history it covers.
struct Window {
  int first = 0;
  int last = 0;
  int years() const { return last - first + 1; }
};

}  // namespace darcalim
