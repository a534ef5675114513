// The operating-week calendar.
//
// An operating week runs from Saturday to Friday and belongs to the month in
// which its Friday falls; week 1 of a year is the operating week that
// contains 1 January.
#pragma once

#include <chrono>

namespace darcalim {

// Day of the week of a date: 1 Sunday .. 7 Saturday, 0 for an invalid date
// (month above 12 or day beyond the month). The true weekday of the proleptic
// Gregorian calendar for every year.
int ZEL(int day, int month, int year);

// Number of operating weeks of a month (the number of its Fridays, 4 or 5).
int WEEK(int month, int year);

// An operating week: the year it belongs to and its number in that year.
struct OperatingWeek {
  int year = 0;
  int week = 0;
  friend bool operator==(const OperatingWeek&, const OperatingWeek&) = default;
};

// The operating week of a date: the week of its Friday, in the Friday's year
// (so the last days of December may fall in week 1 of the next year). A date
// that ZEL calls invalid throws std::invalid_argument.
OperatingWeek operating_week_of(std::chrono::year_month_day date);

// The operating weeks of a year, 52 or 53: the WEEK counts of its months.
int operating_weeks_of_year(int year);

// The Saturday that starts week `week` of `year`; weeks past the last of the
// year go on into the next year.
std::chrono::sys_days operating_week_start(int year, int week);

}  // namespace darcalim
