#include "common/week_groupings.h"

namespace darcalim {

WeekGroupings make_week_groupings(int NSEM, const Array<int, kMonths>& NSEMMES, int start_month) {
  WeekGroupings GRUPO;
  // First weeks of the months; C(13) closes the year.
  Array<int, kMonths + 1> C;
  C(1) = 1;
  for (int m = 2; m <= kMonths; ++m) C(m) = C(m - 1) + NSEMMES(m - 1);
  C(13) = NSEM + 1;

  WeekGrouping& half = GRUPO(kHalfYears);
  half.NPER = 2;
  half.INIPER(1) = 1;
  half.INIPER(2) = C(7);
  half.INIPER(3) = NSEM + 1;
  WeekGrouping& quarter = GRUPO(kQuarters);
  quarter.NPER = 4;
  quarter.INIPER(1) = 1;
  for (int q = 2; q <= 4; ++q) quarter.INIPER(q) = C(3 * q - 2);
  quarter.INIPER(5) = NSEM + 1;
  WeekGrouping& months = GRUPO(kMonthsGrouping);
  months.NPER = kMonths;
  for (int m = 1; m <= kMonths + 1; ++m) months.INIPER(m) = C(m);
  WeekGrouping& weeks = GRUPO(kWeeksGrouping);
  weeks.NPER = NSEM;
  for (int t = 1; t <= NSEM + 1; ++t) weeks.INIPER(t) = t;

  const int start = C(start_month);
  for (int i = 1; i <= NSEM; ++i) {
    months.ORDSEM(i) = i;
    weeks.ORDSEM(i) = i;
    const int week = start + i - 1 > NSEM ? start + i - 1 - NSEM : start + i - 1;
    half.ORDSEM(i) = week;
    quarter.ORDSEM(i) = week;
  }
  return GRUPO;
}

}  // namespace darcalim
