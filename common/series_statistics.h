// Weekly and annual statistics of one series over one estimation window.
#pragma once

#include "common/fixed_array.h"
#include "common/table_sizes.h"

namespace darcalim {

struct SeriesStatistics {
  Array<double, kMaxWeeks> MEDSEM;                            // MEDSEM(t): mean of week t
  Array<double, kMaxWeeks> VARSEM;                            // VARSEM(t): variance, divisor NY
  double MEDGER = 0.0;                                        // MEDGER: overall mean
  double VARGER = 0.0;                                        // VARGER: overall variance
  Array<double, kMaxLags, kMaxWeeks, kGroupings> FACPER;      // FACPER(k, t, g)
  Array<double, kMaxLags> FACANU;                             // FACANU(k)
};

}  // namespace darcalim
