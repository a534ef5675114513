// The four week groupings GRUPO G1..G4 (half-years, quarters, months, weeks).
//
// A grouping cuts the NSEM weeks of the year into NPER periods. ORDSEM lists
// the weeks in the order the periods take them; period p covers the positions
// INIPER(p) .. INIPER(p + 1) - 1 of ORDSEM, with INIPER(NPER + 1) = NSEM + 1.
#pragma once

#include "common/fixed_array.h"
#include "common/table_sizes.h"

namespace darcalim {

struct WeekGrouping {
  int NPER = 0;                          // NPER
  Array<int, kMaxWeeks + 1> INIPER;      // INIPER(1..NPER + 1)
  Array<int, kMaxWeeks> ORDSEM;          // ORDSEM(1..NSEM)
  bool enabled = true;                   // the grouping's switch ("S")

  // Number of weeks of period p.
  int weeks_in_period(int p) const { return INIPER(p + 1) - INIPER(p); }
};

// Groupings indexed 1..4: G1 half-years, G2 quarters, G3 months, G4 weeks.
using WeekGroupings = Array<WeekGrouping, kGroupings>;

// The four groupings of a year of NSEM weeks whose months have NSEMMES(m)
// operating weeks: half-years and quarters of the calendar's lengths that
// start at the first week of the hydrological year's month `start_month`
// (ORDSEM runs on from week 1 after week NSEM), months and single weeks in
// calendar order. Every grouping is switched on.
WeekGroupings make_week_groupings(int NSEM, const Array<int, kMonths>& NSEMMES, int start_month);

inline constexpr int kHalfYears = 1;
inline constexpr int kQuarters = 2;
inline constexpr int kMonthsGrouping = 3;
inline constexpr int kWeeksGrouping = 4;

}  // namespace darcalim
