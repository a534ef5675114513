// Daily flows made into the mean flows of operating weeks (Saturday to
// Friday, week 1 the week that contains 1 January), by the program's
// calendar.
//
// A week is observed when at least `min_days` of its days have a flow; its
// flow is then the mean of those days, summed in date order. The weeks in
// between that are not observed are filled by linear interpolation in time
// between the nearest observed weeks, when there are at most `max_gap` of
// them in a row. Only whole weeks up to the last day (`until`, else the
// last day of the record) are made; the series ends with its last observed
// week, the weeks after it up to that day being listed as not observed.
//
// The series begins with week 1 of the first year (by default the first
// year whose week 1 is observed), or, when the import goes on from an
// existing history, right after that history's last observed week, whose
// flow `flow_before` then serves for the interpolation.
//
// Refused with an ImportError naming the weeks and their dates: a first week
// that is not observed with nothing before it, a run of more than `max_gap`
// weeks that are not observed, no observed week at all, a last year after
// the last observed week.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "driver/calendar.h"

namespace darcalim::import {

// One day of a record in m3/s; none when missing.
struct DayFlow {
  std::chrono::sys_days date;
  std::optional<double> flow;
};

struct WeekFlow {
  OperatingWeek week;
  std::chrono::sys_days start;  // its Saturday
  double flow = 0.0;            // m3/s
  int days = 0;                 // days with a flow
  bool interpolated = false;
};

struct WeeklySettings {
  int min_days = 4;
  int max_gap = 8;
};

// Where the series begins and ends.
struct WeeklySpan {
  std::optional<int> first_year;
  std::optional<int> last_year;
  std::optional<std::chrono::sys_days> until;
  // Going on from a history: the week after which the series begins, and its flow.
  std::optional<OperatingWeek> week_before;
  double flow_before = 0.0;
};

struct WeeklySeries {
  std::vector<WeekFlow> weeks;         // consecutive, the first week to the last observed one
  std::vector<WeekFlow> not_observed;  // the weeks after the last observed one, up to the last day
};

WeeklySeries weekly_series(const std::vector<DayFlow>& days, const WeeklySpan& span, const WeeklySettings& settings);

// "1962 week 7 (1962-02-10 to 1962-02-16)".
std::string week_text(const WeekFlow& week);
std::string week_text(OperatingWeek week);

}  // namespace darcalim::import
