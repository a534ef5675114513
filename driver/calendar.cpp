#include "driver/calendar.h"

#include <chrono>
#include <stdexcept>
#include <string>

namespace darcalim {

namespace {

// Month lengths used for counting days: February has 29 days in every year
// divisible by 4.
int counting_month_length(int month, int year) {
  static constexpr int kLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month == 2 && year % 4 == 0) return 29;
  return kLengths[month - 1];
}

bool is_leap_year(int year) {
  if (year % 4 != 0) return false;
  if (year % 1000 == 0) return year % 4000 != 0;
  if (year % 100 == 0) return year % 400 == 0;
  return true;
}

int weekday_month_length(int month, int year) {
  if (month == 2) return is_leap_year(year) ? 29 : 28;
  return 30 + ((month + month / 8) % 2);
}

constexpr int kSaturday = 7;
constexpr int kDaysPerWeek = 7;
constexpr int kMonths = 12;

// Days from the Saturday on or before a date to the date (0 on a Saturday).
int days_since_saturday(int weekday) { return weekday % kSaturday; }

}  // namespace

int ZEL(int day, int month, int year) {
  if (month > 12 || month < 1 || day < 1) return 0;
  if (day > weekday_month_length(month, year)) return 0;
  // The proleptic Gregorian weekday, right for every year (a congruence with
  // truncating division would miscount the years before 1920).
  const std::chrono::year_month_day date{std::chrono::year{year}, std::chrono::month{static_cast<unsigned>(month)},
                                         std::chrono::day{static_cast<unsigned>(day)}};
  const std::chrono::weekday weekday{std::chrono::sys_days{date}};
  return static_cast<int>(weekday.c_encoding()) + 1;
}

int WEEK(int month, int year) {
  int first_saturday = 1;
  while (first_saturday < 7 && ZEL(first_saturday, month, year) != 7) ++first_saturday;

  // Start of the month's first operating week, and the year its day count runs from.
  int start_month = month;
  int start_year = year;
  int start_day = 1;
  if (first_saturday != 1) {
    start_month = month == 1 ? 12 : month - 1;
    start_year = month == 1 ? year - 1 : year;
    const int previous_length = counting_month_length(start_month, start_year);
    start_day = previous_length + first_saturday - 7;
  }

  // Day numbers counted from 1 January of the start's year.
  int start = start_day;
  for (int m = 1; m < start_month; ++m) start += counting_month_length(m, start_year);
  int end = 0;
  for (int y = start_year; y <= year; ++y) {
    const int last_month = (y == year) ? month : 12;
    for (int m = 1; m <= last_month; ++m) end += counting_month_length(m, y);
  }

  int count = 0;
  for (int k = 1; k <= 6; ++k) {
    if (start + 7 * k - 1 <= end) ++count;
  }
  return count;
}

OperatingWeek operating_week_of(std::chrono::year_month_day date) {
  using namespace std::chrono;
  const int day = static_cast<int>(static_cast<unsigned>(date.day()));
  const int month = static_cast<int>(static_cast<unsigned>(date.month()));
  const int weekday = ZEL(day, month, static_cast<int>(date.year()));
  if (weekday == 0) {
    throw std::invalid_argument("no such date: " + std::to_string(static_cast<int>(date.year())) + "-" +
                                std::to_string(month) + "-" + std::to_string(day));
  }
  const sys_days friday = sys_days{date} + days{kDaysPerWeek - 1 - days_since_saturday(weekday)};
  const year friday_year = year_month_day{friday}.year();
  const auto day_of_year = (friday - sys_days{friday_year / January / 1}).count();
  return {static_cast<int>(friday_year), static_cast<int>(day_of_year / kDaysPerWeek) + 1};
}

int operating_weeks_of_year(int year) {
  int weeks = 0;
  for (int month = 1; month <= kMonths; ++month) weeks += WEEK(month, year);
  return weeks;
}

std::chrono::sys_days operating_week_start(int year, int week) {
  using namespace std::chrono;
  const sys_days january_first{std::chrono::year{year} / January / 1};
  const int back = days_since_saturday(ZEL(1, 1, year));
  return january_first - days{back} + days{kDaysPerWeek * (week - 1)};
}

}  // namespace darcalim
