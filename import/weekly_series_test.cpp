#include "import/weekly_series.h"

#include <gtest/gtest.h>

#include "import/history_table.h"
#include "import/import_error.h"

namespace darcalim::import {
namespace {

using std::chrono::sys_days;
using Days = std::chrono::days;

sys_days day(int y, unsigned m, unsigned d) {
  return std::chrono::year{y} / std::chrono::month{m} / std::chrono::day{d};
}

// Daily flows from `first` to `last`, each day the flow given by `flow`
// (none: missing).
template <typename Flow>
std::vector<DayFlow> record(sys_days first, sys_days last, Flow flow) {
  std::vector<DayFlow> out;
  for (sys_days d = first; d <= last; d += Days{1}) out.push_back({d, flow(d)});
  return out;
}

std::string refusal(const std::vector<DayFlow>& daily, const WeeklySpan& span, const WeeklySettings& settings = {}) {
  try {
    weekly_series(daily, span, settings);
  } catch (const ImportError& e) {
    return e.what();
  }
  return "no refusal";
}

// 2011: week w runs from 1 January + 7 (w - 1).
sys_days week_start_2011(int week) {
  return day(2011, 1, 1) + Days{7 * (week - 1)};
}

TEST(WeeklySeries, AGapIsFilledLinearlyBetweenItsNeighbours) {
  // Weeks 1..10 of 2011 at 10 w, but week 7 at 100 and weeks 4, 5 and 6
  // without data: 30 and 100 around them give 47.5, 65, 82.5.
  const auto daily = record(day(2011, 1, 1), day(2011, 3, 11), [](sys_days d) -> std::optional<double> {
    const int week = static_cast<int>((d - day(2011, 1, 1)).count() / 7) + 1;
    if (week >= 4 && week <= 6) return std::nullopt;
    return week == 7 ? 100.0 : 10.0 * week;
  });
  const WeeklySeries s = weekly_series(daily, {}, {});
  ASSERT_EQ(s.weeks.size(), 10u);
  const double expected[] = {10, 20, 30, 47.5, 65, 82.5, 100, 80, 90, 100};
  for (std::size_t i = 0; i < 10; ++i) {
    EXPECT_DOUBLE_EQ(s.weeks[i].flow, expected[i]) << "week " << i + 1;
    EXPECT_EQ(s.weeks[i].interpolated, i >= 3 && i <= 5);
  }
  // With a gap limit of 2 the three weeks are refused, named with their dates.
  EXPECT_EQ(refusal(daily, {}, {4, 2}),
            "3 weeks in a row are not observed (fewer than 4 days with a flow): 2011 week 4 (2011-01-22 to "
            "2011-01-28) to 2011 week 6 (2011-02-05 to 2011-02-11); more than the 2 weeks that are filled (--max-gap)");
}

TEST(WeeklySeries, AWeekNeedsItsMinimumOfDays) {
  // Week 2 has 3 days of 100 (the rest missing): below 4 days it is filled
  // between 10 and 10; with a minimum of 3 it is their mean.
  const auto daily = record(week_start_2011(1), week_start_2011(4) - Days{1}, [](sys_days d) -> std::optional<double> {
    if (d >= week_start_2011(2) && d < week_start_2011(3)) {
      return d < week_start_2011(2) + Days{3} ? std::optional<double>(100.0) : std::nullopt;
    }
    return 10.0;
  });
  EXPECT_DOUBLE_EQ(weekly_series(daily, {}, {4, 8}).weeks[1].flow, 10.0);
  EXPECT_DOUBLE_EQ(weekly_series(daily, {}, {3, 8}).weeks[1].flow, 100.0);
}

TEST(WeeklySeries, TheLastDayEndsTheSeriesAtItsLastWholeWeek) {
  const auto daily = record(day(2011, 1, 1), day(2011, 12, 30), [](sys_days) { return std::optional<double>(5.0); });
  // Until a Thursday: its week is not whole, the week before is the last.
  WeeklySpan span;
  span.until = day(2011, 6, 16);
  WeeklySeries s = weekly_series(daily, span, {});
  EXPECT_EQ(s.weeks.back().week, (OperatingWeek{2011, 23}));
  // Until its Friday: that week is in.
  span.until = day(2011, 6, 17);
  s = weekly_series(daily, span, {});
  EXPECT_EQ(s.weeks.back().week, (OperatingWeek{2011, 24}));
  // Weeks without data after the last observed one are listed, not made.
  const auto ending_dry = record(day(2011, 1, 1), day(2011, 3, 31), [](sys_days d) {
    return d < week_start_2011(6) ? std::optional<double>(5.0) : std::nullopt;
  });
  s = weekly_series(ending_dry, {}, {});
  EXPECT_EQ(s.weeks.back().week, (OperatingWeek{2011, 5}));
  ASSERT_EQ(s.not_observed.size(), 7u);
  EXPECT_EQ(s.not_observed.back().week, (OperatingWeek{2011, 12}));
}

TEST(WeeklySeries, TheFirstYearIsTheFirstWhoseWeek1IsObserved) {
  // The record starts on 1 October 2010: 2011 is the first year by default,
  // and 2010 asked for is refused (weeks 1 to 40 lie before it) (nothing before its week 1 to fill from).
  const auto daily = record(day(2010, 10, 1), day(2011, 3, 31), [](sys_days) { return std::optional<double>(5.0); });
  EXPECT_EQ(weekly_series(daily, {}, {}).weeks.front().week, (OperatingWeek{2011, 1}));
  WeeklySpan span;
  span.first_year = 2010;
  EXPECT_EQ(refusal(daily, span),
            "the series begins with weeks that are not observed (fewer than 4 days with a flow): 2010 week 1 "
            "(2009-12-26 to 2010-01-01) to 2010 week 40 (2010-09-25 to 2010-10-01); no observed week comes before "
            "them to interpolate from; choose a later --first year");
  span.first_year.reset();
  span.last_year = 2012;
  EXPECT_NE(refusal(daily, span).find("the last year 2012 has no observed week"), std::string::npos);
}

TEST(WeeklySeries, GoingOnFromAHistoryFillsFromItsLastFlow) {
  // The history ends with 2011 week 2 at 40; the record starts with week 4
  // at 100: week 3 is filled with 70.
  const auto daily =
      record(week_start_2011(4), week_start_2011(6) - Days{1}, [](sys_days) { return std::optional<double>(100.0); });
  WeeklySpan span;
  span.week_before = OperatingWeek{2011, 2};
  span.flow_before = 40.0;
  const WeeklySeries s = weekly_series(daily, span, {});
  ASSERT_EQ(s.weeks.size(), 3u);
  EXPECT_EQ(s.weeks[0].week, (OperatingWeek{2011, 3}));
  EXPECT_DOUBLE_EQ(s.weeks[0].flow, 70.0);
  // Nothing after the history: an empty series, not a refusal.
  span.week_before = OperatingWeek{2011, 5};
  EXPECT_TRUE(weekly_series(daily, span, {}).weeks.empty());
}

// 2009 has 52 operating weeks, 2010 has 53 (1 January 2010 is a Friday).
TEST(HistoryCells, The53rdWeekIsLeftOutOrTakenFromTheNextWeek1) {
  struct Case {
    OperatingWeek week;
    int weeks_per_year;
    std::vector<HistoryCell> cells;
  };
  const Case cases[] = {
      {{2010, 53}, 52, {}},         {{2010, 53}, 53, {{2010, 53}}},
      {{2010, 1}, 52, {{2010, 1}}}, {{2010, 1}, 53, {{2009, 53}, {2010, 1}}},
      {{2011, 1}, 53, {{2011, 1}}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(cells_of(c.week, c.weeks_per_year), c.cells)
        << c.week.year << " week " << c.week.week << ", " << c.weeks_per_year;
  }
  EXPECT_EQ(week_of({2009, 53}), (OperatingWeek{2010, 1}));
  EXPECT_EQ(week_of({2010, 53}), (OperatingWeek{2010, 53}));
}

}  // namespace
}  // namespace darcalim::import
