#include "driver/calendar.h"

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>

namespace darcalim {
namespace {

TEST(ZEL, KnownDatesAndInvalidOnes) {
  EXPECT_EQ(ZEL(1, 1, 2011), 7);   // Saturday
  EXPECT_EQ(ZEL(31, 2, 2011), 0);
  EXPECT_EQ(ZEL(29, 2, 2012), 4);  // Wednesday
  EXPECT_EQ(ZEL(29, 2, 2100), 0);
  EXPECT_EQ(ZEL(1, 13, 2011), 0);
}

TEST(ZEL, GivesTheTrueWeekdayFrom1800To2099) {
  using namespace std::chrono;
  for (sys_days d = sys_days{year{1800} / January / 1}; d <= sys_days{year{2099} / December / 31}; d += days{1}) {
    const year_month_day ymd{d};
    const int expected = static_cast<int>(weekday{d}.c_encoding()) + 1;  // 1 = Sunday
    ASSERT_EQ(ZEL(static_cast<int>(static_cast<unsigned>(ymd.day())), static_cast<int>(static_cast<unsigned>(ymd.month())),
                  static_cast<int>(ymd.year())),
              expected)
        << static_cast<int>(ymd.year()) << "-" << static_cast<unsigned>(ymd.month()) << "-"
        << static_cast<unsigned>(ymd.day());
  }
}

TEST(WEEK, MonthCountsOfTwoYears) {
  const int counts_2010[12] = {5, 4, 4, 5, 4, 4, 5, 4, 4, 5, 4, 5};
  const int counts_2011[12] = {4, 4, 4, 5, 4, 4, 5, 4, 5, 4, 4, 5};
  for (int m = 1; m <= 12; ++m) {
    EXPECT_EQ(WEEK(m, 2010), counts_2010[m - 1]) << "2010-" << m;
    EXPECT_EQ(WEEK(m, 2011), counts_2011[m - 1]) << "2011-" << m;
  }
}

TEST(WEEK, CountsTheFridaysOfEveryMonthFrom1801To2099) {
  using namespace std::chrono;
  for (int y = 1801; y <= 2099; ++y) {
    for (unsigned m = 1; m <= 12; ++m) {
      int fridays = 0;
      const year_month ym{year{y}, month{m}};
      for (sys_days d = sys_days{ym / 1}; d <= sys_days{ym / last}; d += days{1}) {
        if (weekday{d} == Friday) ++fridays;
      }
      ASSERT_EQ(WEEK(static_cast<int>(m), y), fridays) << y << "-" << m;
    }
  }
}

std::chrono::year_month_day date(int y, unsigned m, unsigned d) {
  return std::chrono::year{y} / std::chrono::month{m} / std::chrono::day{d};
}

TEST(OperatingWeek, DatesAtTheTurnOfTheYear) {
  struct Case {
    std::chrono::year_month_day date;
    OperatingWeek week;
  };
  const Case cases[] = {
      {date(2009, 12, 25), {2009, 52}},  // a Friday: the last week of 2009
      {date(2009, 12, 26), {2010, 1}},   // the Saturday that starts week 1 of 2010 (1 January a Friday)
      {date(2010, 1, 1), {2010, 1}},
      {date(2010, 6, 12), {2010, 25}},   // Saturday, first day of week 25
      {date(2010, 6, 18), {2010, 25}},   // Friday, its last day
      {date(2010, 12, 31), {2010, 53}},  // 2010 has 53 Fridays
      {date(2011, 1, 1), {2011, 1}},     // a Saturday: week 1 starts on 1 January
      {date(2012, 2, 29), {2012, 9}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(operating_week_of(c.date), c.week) << static_cast<int>(c.date.year()) << "-"
                                                 << static_cast<unsigned>(c.date.month()) << "-"
                                                 << static_cast<unsigned>(c.date.day());
  }
  EXPECT_EQ(operating_weeks_of_year(2009), 52);
  EXPECT_EQ(operating_weeks_of_year(2010), 53);
  EXPECT_EQ(operating_weeks_of_year(2011), 52);
  EXPECT_THROW(operating_week_of(date(2011, 2, 29)), std::invalid_argument);
}

TEST(OperatingWeek, EveryDayFrom1850To2099LiesInTheSevenDaysItsWeekStarts) {
  using namespace std::chrono;
  OperatingWeek previous = operating_week_of(year_month_day{year{1849} / December / 31});
  for (sys_days d = sys_days{year{1850} / January / 1}; d <= sys_days{year{2099} / December / 31}; d += days{1}) {
    const OperatingWeek w = operating_week_of(year_month_day{d});
    const sys_days start = operating_week_start(w.year, w.week);
    ASSERT_TRUE(start <= d && d < start + days{7}) << w.year << " week " << w.week;
    ASSERT_EQ(weekday{start}, Saturday);
    ASSERT_LE(w.week, operating_weeks_of_year(w.year));
    // Weeks follow one another without a hole: the same week, the next one,
    // or week 1 after the last week of the year before.
    const bool same = w == previous;
    const bool next = w.year == previous.year && w.week == previous.week + 1;
    const bool new_year = w.year == previous.year + 1 && w.week == 1 && previous.week == operating_weeks_of_year(previous.year);
    ASSERT_TRUE(same || next || new_year) << w.year << " week " << w.week;
    previous = w;
  }
}

}  // namespace
}  // namespace darcalim
