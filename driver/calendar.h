// The operating-week calendar.
//
// An operating week runs from Saturday to Friday and belongs to the month in
// which its Friday falls; week 1 of a year is the operating week that
// contains 1 January.
#pragma once

namespace darcalim {

// Day of the week of a date: 1 Sunday .. 7 Saturday, 0 for an invalid date
// (month above 12 or day beyond the month). The true weekday of the proleptic
// Gregorian calendar for every year.
int ZEL(int day, int month, int year);

// Number of operating weeks of a month (the number of its Fridays, 4 or 5).
int WEEK(int month, int year);

}  // namespace darcalim
