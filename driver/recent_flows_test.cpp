#include "driver/recent_flows.h"

#include <gtest/gtest.h>

#include <sstream>

namespace darcalim {
namespace {

// A case whose history covers 2000..2009 (rows 1..10), with QPASS = 11, 12, 13, 14.
struct RecentFlowCase {
  CaseSettings c;
  FlowHistory history;
  RecentFlowValues QPASS;
  RecentFlowCase(int semprev, int anoprev, int anofest, int nsem = 52) {
    history.first_year = 2000;
    history.last_year = 2009;
    history.NANOSARQ = 10;
    c.SEMPREV = semprev;
    c.ANOPREV = anoprev;
    c.ANOFEST = anofest;
    c.NSEM = nsem;
    for (int k = 1; k <= 4; ++k) QPASS(k) = 10.0 + k;
  }
  void write() { write_recent_flows_into_history(c, QPASS, history); }
  double flow(int row, int week) const { return history.HISTORICO(row, week); }
  int nonzero_flows() const {
    int n = 0;
    for (int y = 1; y <= kMaxYears; ++y)
      for (int t = 1; t <= kMaxWeeks; ++t) n += flow(y, t) != 0.0;
    return n;
  }
};

TEST(RecentFlows, ForecastWeek3WrapsIntoThePreviousRow) {
  RecentFlowCase r(3, 2009, 2009);
  r.write();
  EXPECT_EQ(r.flow(10, 2), 11.0);
  EXPECT_EQ(r.flow(10, 1), 12.0);
  EXPECT_EQ(r.flow(9, 52), 13.0);
  EXPECT_EQ(r.flow(9, 51), 14.0);
  EXPECT_EQ(r.nonzero_flows(), 4);
}

TEST(RecentFlows, ForecastWeekBeyondTheYearWritesNothing) {
  RecentFlowCase r(53, 2009, 2009);
  r.write();
  EXPECT_EQ(r.nonzero_flows(), 0);
}

TEST(RecentFlows, EstimationEndingBeforeTheForecastYearAlsoFillsTheLastRows) {
  // Forecast in 2011 (row 12), estimation to 2009: the last row of the file
  // (row 10) receives the flows too; the previous-year weeks go to row 9
  // only when the two years are not consecutive.
  RecentFlowCase r(2, 2011, 2009);
  r.write();
  EXPECT_EQ(r.flow(12, 1), 11.0);
  EXPECT_EQ(r.flow(10, 1), 11.0);
  EXPECT_EQ(r.flow(11, 52), 12.0);
  EXPECT_EQ(r.flow(9, 52), 12.0);
  EXPECT_EQ(r.flow(11, 50), 14.0);
  EXPECT_EQ(r.flow(9, 50), 14.0);
  EXPECT_EQ(r.nonzero_flows(), 8);

  RecentFlowCase consecutive(2, 2010, 2009);
  consecutive.write();
  EXPECT_EQ(consecutive.flow(11, 1), 11.0);
  EXPECT_EQ(consecutive.flow(10, 1), 11.0);
  EXPECT_EQ(consecutive.flow(10, 52), 12.0);
  EXPECT_EQ(consecutive.nonzero_flows(), 5);
}

TEST(RecentFlows, TakenFromTheHistoryAcrossTheYearEnd) {
  RecentFlowCase r(2, 2009, 2008, 53);
  r.history.HISTORICO(10, 1) = 5.0;
  r.history.HISTORICO(9, 53) = 6.0;
  r.history.HISTORICO(9, 52) = 7.0;
  r.history.HISTORICO(9, 51) = 8.0;
  std::ostringstream console;
  const RecentFlowValues q = recent_flows_from_history(r.history, r.c, console);
  EXPECT_EQ(q(1), 5.0);
  EXPECT_EQ(q(2), 6.0);
  EXPECT_EQ(q(3), 7.0);
  EXPECT_EQ(q(4), 8.0);
}

}  // namespace
}  // namespace darcalim
