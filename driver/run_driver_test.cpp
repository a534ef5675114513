#include "driver/run_driver.h"

#include <gtest/gtest.h>

#include <sstream>

#include "driver/calendar.h"

namespace darcalim {
namespace {

struct DriverRun {
  std::ostringstream console;
  Run run{".", console};
};

TEST(WeekGroupings, MonthsOf2010AndAHydrologicalYearFromNovember) {
  DriverRun d;
  d.run.CASO.NSEM = 52;
  d.run.CASO.start_month = 11;
  for (int m = 1; m <= 12; ++m) d.run.NSEMMES(m) = WEEK(m, 2010);  // 5,4,4,5,4,4,5,4,4,5,4,5
  build_week_groupings(d.run);
  const WeekGrouping& months = d.run.GRUPO(kMonthsGrouping);
  const int first_weeks[13] = {1, 6, 10, 14, 19, 23, 27, 32, 36, 40, 45, 49, 53};
  for (int m = 1; m <= 13; ++m) EXPECT_EQ(months.INIPER(m), first_weeks[m - 1]) << m;
  const WeekGrouping& half = d.run.GRUPO(kHalfYears);
  EXPECT_EQ(half.INIPER(2), 27);
  EXPECT_EQ(half.INIPER(3), 53);
  const WeekGrouping& quarters = d.run.GRUPO(kQuarters);
  EXPECT_EQ(quarters.INIPER(2), 14);
  EXPECT_EQ(quarters.INIPER(3), 27);
  EXPECT_EQ(quarters.INIPER(4), 40);
  // Half-years and quarters take the weeks from the first week of November.
  EXPECT_EQ(half.ORDSEM(1), 45);
  EXPECT_EQ(half.ORDSEM(8), 52);
  EXPECT_EQ(half.ORDSEM(9), 1);
  EXPECT_EQ(quarters.ORDSEM(52), 44);
  EXPECT_EQ(months.ORDSEM(17), 17);
  EXPECT_EQ(d.run.GRUPO(kWeeksGrouping).INIPER(53), 53);
}

TEST(WeekGroupings, HydrologicalYearFromJanuaryKeepsTheCalendarOrder) {
  DriverRun d;
  d.run.CASO.NSEM = 53;
  d.run.CASO.start_month = 1;
  for (int m = 1; m <= 12; ++m) d.run.NSEMMES(m) = WEEK(m, 2010);
  build_week_groupings(d.run);
  for (int t = 1; t <= 53; ++t) {
    EXPECT_EQ(d.run.GRUPO(kHalfYears).ORDSEM(t), t);
    EXPECT_EQ(d.run.GRUPO(kQuarters).ORDSEM(t), t);
  }
  EXPECT_EQ(d.run.GRUPO(kMonthsGrouping).INIPER(13), 54);
}

struct WindowCase {
  int nanos;
  int anofest;
  int first_half_last;
  int last;
};

TEST(Windows, HalvesOfTheYearsUsedForEstimation) {
  const WindowCase cases[] = {{41, 2050, 20, 41}, {41, 1929, 15, 30}, {41, 1940, 20, 41}};
  for (const WindowCase& c : cases) {
    DriverRun d;
    d.run.history.first_year = 1900;
    d.run.history.NANOS = c.nanos;
    d.run.CASO.ANOFEST = c.anofest;
    build_windows(d.run);
    EXPECT_EQ(d.run.JANELA(1).first, 1);
    EXPECT_EQ(d.run.JANELA(1).last, c.first_half_last);
    EXPECT_EQ(d.run.JANELA(2).first, c.first_half_last + 1);
    EXPECT_EQ(d.run.JANELA(2).last, c.last);
    EXPECT_EQ(d.run.JANELA(3).first, 1);
    EXPECT_EQ(d.run.JANELA(3).last, c.last);
  }
}

}  // namespace
}  // namespace darcalim
