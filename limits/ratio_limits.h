// DETLIMITE: the ratio limits of a forecast, two percentiles of the
// week-to-week flow ratios of the history (see ratio_samples.h) at the time
// of year of the target week and in the flow class of the flow it starts from.
//
// The sample is RAZOES(CODPER, k, class):
//   - period k: for CODPER 1 (weeks) k = WEEK, and the thresholds that class
//     QANT are those of the week before (P = WEEK - 1, or NSEM for week 1);
//     for CODPER 2, 3, 4 (months, quarters, half-years) k is the first period
//     of the grouping with INIPER(k + 1) - 1 >= WEEK, and P = k;
//   - class: by CODCLA, QANT against the thresholds Lq = LIMCLASSE(CODPER, P,
//     q), a flow equal to a threshold being in the class below it; CLASSLIM
//     gets the bounds of the class, 0 below the lowest and 100000 above the
//     highest:
//       1 total                                     CLASSLIM 0, 0
//       2 median:   lower (QANT <= L50), upper      0, L50 / L50, 100000
//       3 terciles: 1 (<= L33), 2 (<= L66), 3       0, L33 / L33, L66 / L66, 100000
//       4 quartiles: 1 (<= L25), 2 (<= L50),        0, L25 / L25, L50 / L50, L75 /
//                    3 (<= L75), 4                  L75, 100000
//
// The ratios are rounded to 4-byte keys and sorted ascending. For CODPER 1
// and 2 a sample of one ratio r becomes the two keys r, r * 1.01 (4-byte
// product); for CODPER 3 and 4 the one key gives both limits. The keys are
// sorted once per sample and kept with the samples (sorted_ratio_keys); keys
// that no longer match their sample (RAZOES changed by hand after a lookup)
// throw std::logic_error. Position i of
// n keys has the percentage i / n * 100 (8-byte); RAZINF is the key at the
// first position whose percentage is at least PA, RAZSUP the key at the first
// one at least PB, both widened to 8 bytes. So PA <= 0 takes the smallest
// ratio and PB = 100 the largest.
//
// `limits` is left untouched (no field changes) when CODPER or CODCLA lies
// outside 1..4, when WEEK lies outside 1..NSEM or after the last period of
// the grouping, when the chosen sample is empty, or when PA or PB is above
// 100 (no position reaches it). A sample longer than kMaxRatioKeys throws
// std::length_error.
#pragma once

#include <cstddef>

#include "common/week_groupings.h"
#include "limits/ratio_samples.h"

namespace darcalim {

inline constexpr double kTopClassBound = 100000.0;  // upper CLASSLIM of the highest class

// PA, PB: the week's percentile pair in per cent; WEEK: the target week of
// the year; QANT: the flow before the target week, m3/s.
void DETLIMITE(const RatioSamples& samples, const WeekGroupings& GRUPO, double PA, double PB, int WEEK,
               int CODPER, int CODCLA, double QANT, int NSEM, RatioLimits& limits);

}  // namespace darcalim
