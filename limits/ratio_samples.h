// VAZSEMPER: flow classes and week-to-week flow ratios of the history, kept
// by period of the year and by the class of the flow each ratio starts from.
//
// The year is cut into periods in four ways, named by a period code CODPER:
//   1 every week its own period (NSEM periods, grouping G4),
//   2 months (12, G3), 3 quarters (4, G2), 4 half-years (2, G1).
// Period k of a grouping covers the weeks INIPER(k) .. INIPER(k + 1) - 1
// (INIPER is read as week numbers; the grouping's ORDSEM list is not used).
//
// For each code and period the routine fills:
//   LIMCLASSE(CODPER, k, q), q = 1..5: the flow thresholds at 25, 33, 50, 66
//     and 75 % of the period's pooled weekly flows. The pooled flows are
//     rounded to 4-byte reals and sorted ascending; the threshold is the flow
//     at position trunc(n * p) (4-byte product, p the 4-byte 0.25, 0.33, 0.5,
//     0.66 or 0.75; position 0 becomes 1) times the 4-byte 1.00001, so that a
//     flow equal to the sorted value lies in the lower class. A period without
//     flows (no years) gets thresholds 0.
//   RAZOES(CODPER, k, class): the ratios flow(w) / flow(w - 1), 8-byte, for
//     every week w of period k and every year, in the order years, then
//     weeks. The flow before the period's first week is the week before it in
//     the same year, or for k = 1 the last week (NSEM) of the year before;
//     in year 1 that flow does not exist and the period's own first week is
//     used, so the first ratio of year 1 is exactly 1. A ratio is classed by
//     its starting flow against the thresholds of the period the starting
//     flow belongs to: the previous period (NPER when k = 1) for the first
//     week of k, k itself for the others. Each ratio enters the total sample
//     and one class of each of the median, tercile and quartile
//     classifications (see classes_of_flow), so every classification's class
//     sizes add up to the total's.
//
// Zero flows: a ratio whose starting flow is zero is left out of every
// sample; a zero flow at the end of a ratio gives the ratio 0, which is kept.
// A class sample may be empty.
//
// The sorted keys of the samples built before are dropped.
//
// Both tables are rebuilt from scratch on every call, so a second call with
// the same flows gives the same tables. FIRST..LAST must be rows of the
// history (1..100) and every INIPER of the groupings a week 1..NSEM + 1: the
// checked table access throws std::out_of_range otherwise.
#pragma once

#include <cstddef>
#include <vector>

#include "common/fixed_array.h"
#include "common/table_sizes.h"
#include "common/series_table.h"
#include "common/variability_tables.h"
#include "common/week_groupings.h"

namespace darcalim {

// Longest sample the sort of the keys can hold (its indices are 2-byte); the
// samples of a history of at most 100 years never come near it.
inline constexpr std::size_t kMaxRatioKeys = 10000;

// Index of the week grouping (GRUPO) of a period code: 1 -> 4 (weeks),
// 2 -> 3 (months), 3 -> 2 (quarters), 4 -> 1 (half-years). Any other code
// throws std::invalid_argument.
int grouping_of_period_code(int CODPER);

// The median, tercile and quartile classes of a flow against the thresholds
// L25..L75 of period P of a code: median lower when flow <= L50, else upper;
// tercile 1 when <= L33, 2 when <= L66, else 3; quartile 1 when <= L25, 2
// when <= L50, 3 when <= L75, else 4.
struct FlowClasses {
  RatioClass median = kMedianLower;
  RatioClass tercile = kTercile1;
  RatioClass quartile = kQuartile1;
};
FlowClasses classes_of_flow(const RatioSamples& samples, int CODPER, int P, double flow);

// The sorted keys of sample RAZOES(CODPER, k, c): each ratio rounded to a
// 4-byte key, a weekly or monthly (CODPER 1 or 2) sample of one ratio r
// joined by the key r * 1.01 (4-byte product), in the ascending order that
// ESCO7 gives them (ascending_values).
// They are sorted at the sample's first lookup and kept with the samples
// (only the samples a run draws limits from are ever sorted); VAZSEMPER drops
// them. An empty sample, or one longer than kMaxRatioKeys (which the ratio
// limits refuse), has no keys. A sample changed by hand after its first
// lookup keeps its old keys.
const std::vector<float>& sorted_ratio_keys(const RatioSamples& samples, int CODPER, int k, RatioClass c);

// Fills `out` from the flows V (m3/s) of the years FIRST..LAST, with the
// groupings GRUPO and NSEM weeks a year, and sets once_flag to 1.
void VAZSEMPER(const SeriesTable& V, int FIRST, int LAST, const WeekGroupings& GRUPO, int NSEM,
               RatioSamples& out, int& once_flag);

}  // namespace darcalim
