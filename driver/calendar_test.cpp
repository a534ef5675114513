#include "driver/calendar.h"

#include <gtest/gtest.h>

#include <chrono>

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

}  // namespace
}  // namespace darcalim
