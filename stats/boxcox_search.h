// The search of the Box-Cox exponent of one week: the exponent that makes
// the skewness of the week's transformed flows about zero.
//
// Skewness of a trial exponent L over the complete years y = 1..NANOS:
// T(y) = ln X(y, w) for L = 0, (X(y, w)^L - 1) / L otherwise; with m the
// mean of T, s2 = sum (T - m)^2 / NANOS and M3 = sum (T - m)^3,
// g = [NANOS M3 / ((NANOS - 1)(NANOS - 2))] / s^3. Values without spread or
// powers that overflow give IEEE NaN or infinity, never an exception.
//
// The search runs in passes ("approximations"). Pass 1 tries L0 + (k-1) h
// for k = 1..K, K = int((5.0 - L0) 10) + 1, from L0 = -2.0 with h = 0.1.
// When its first trial is not negative (g >= 0) the start is lowered by h
// and pass 1 begins again, at most 100 times; if the first trial is still
// not negative after the 100th lowering, the week ends with that trial
// (start_found = false) and the run must stop. A pass ends at the first sign
// change against the previous point, or after its last trial. The next pass
// starts from the point before the change when the last skewness is >= 0,
// from the last point otherwise, with the step times 0.1 (4-byte) and k =
// 2..10. The search ends when either of the two last skewnesses lies strictly
// within 0.00003 (4-byte) of zero, or after pass 11; the week takes, of the
// two last points, the one of smaller absolute skewness (the last point on a
// tie). A NaN fails every comparison of the search.
//
// A week whose flows over the complete years are all equal is not searched:
// no pass, LAMBDA = 1 and skewness 0.
#pragma once

#include <vector>

#include "common/series_table.h"

namespace darcalim {

struct BoxCoxTrial {
  double LAMBDA = 0.0;
  double skewness = 0.0;
};

// One pass of the search, or one start of pass 1 before a lowering: the
// pass counter P and the trials in the order made.
struct BoxCoxApproximation {
  int P = 1;
  std::vector<BoxCoxTrial> trials;
};

struct BoxCoxWeekSearch {
  bool searched = false;      // false: the week's flows are all equal
  bool start_found = true;    // false: pass 1 never started below zero skewness
  std::vector<BoxCoxApproximation> approximations;
  double LAMBDA = 1.0;        // the exponent chosen
  double skewness = 0.0;      // its skewness
};

// Skewness of week `week` of X over years 1..NANOS transformed with LAMBDA.
double boxcox_skewness(const SeriesTable& X, int week, int NANOS, double LAMBDA);

// The search of week `week` over the complete years 1..NANOS.
BoxCoxWeekSearch search_boxcox_week(const SeriesTable& X, int week, int NANOS);

}  // namespace darcalim
