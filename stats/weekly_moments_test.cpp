#include "stats/weekly_moments.h"

#include <gtest/gtest.h>

namespace darcalim {
namespace {

constexpr int kNSEM = 52;

// Flows 10 t + y: over a window of NY consecutive years the mean of week t
// is 10 t + the mean year, its variance (NY^2 - 1) / 12 whatever t; the
// overall variance adds the spread of the weeks, 100 (NSEM^2 - 1) / 12.
SeriesTable linear_flows() {
  SeriesTable X;
  for (int y = 1; y <= kMaxYears; ++y) {
    for (int t = 1; t <= kNSEM; ++t) X(y, t) = 10.0 * t + y;
  }
  return X;
}

class MomentsOfWindow : public ::testing::TestWithParam<Window> {};

TEST_P(MomentsOfWindow, MatchTheClosedForms) {
  const Window w = GetParam();
  SeriesStatistics s;
  ASSERT_EQ(MOMENT(linear_flows(), kNSEM, w, s), 0);
  const double NY = w.years();
  const double mean_year = (w.first + w.last) / 2.0;
  for (int t = 1; t <= kNSEM; ++t) {
    EXPECT_NEAR(s.MEDSEM(t), 10.0 * t + mean_year, 1e-12) << "week " << t;
    EXPECT_NEAR(s.VARSEM(t), (NY * NY - 1.0) / 12.0, 1e-10) << "week " << t;
  }
  EXPECT_NEAR(s.MEDGER, 10.0 * (kNSEM + 1) / 2.0 + mean_year, 1e-11);
  EXPECT_NEAR(s.VARGER, 100.0 * (kNSEM * kNSEM - 1) / 12.0 + (NY * NY - 1.0) / 12.0, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Windows, MomentsOfWindow,
                         ::testing::Values(Window{1, 20}, Window{21, 41}, Window{1, 41}, Window{37, 38}));

TEST(MOMENT, OnlyTheYearsOfTheWindowCount) {
  SeriesTable X = linear_flows();
  SeriesTable disturbed = X;
  for (int t = 1; t <= kNSEM; ++t) {
    disturbed(4, t) = 1e6;   // before the window
    disturbed(11, t) = -7.0;  // after it
  }
  SeriesStatistics a;
  SeriesStatistics b;
  MOMENT(X, kNSEM, Window{5, 10}, a);
  MOMENT(disturbed, kNSEM, Window{5, 10}, b);
  EXPECT_EQ(a.MEDSEM, b.MEDSEM);
  EXPECT_EQ(a.VARSEM, b.VARSEM);
  EXPECT_EQ(a.MEDGER, b.MEDGER);
  EXPECT_EQ(a.VARGER, b.VARGER);
}

class ZeroVarianceWeek : public ::testing::TestWithParam<int> {};

// A week with one flow in every year of the window is named and ends the
// computation: the weeks before it are done, the later ones and the overall
// moments are not touched.
TEST_P(ZeroVarianceWeek, IsReturnedAndStopsTheComputation) {
  const int bad = GetParam();
  SeriesTable X = linear_flows();
  for (int y = 3; y <= 8; ++y) X(y, bad) = 55.0;
  X(2, bad) = 1.0;  // outside the window: does not give the week a spread
  SeriesStatistics s;
  s.MEDSEM.fill(-1.0);
  s.MEDGER = -1.0;
  s.VARGER = -1.0;
  EXPECT_EQ(MOMENT(X, kNSEM, Window{3, 8}, s), bad);
  for (int t = 1; t < bad; ++t) EXPECT_NEAR(s.MEDSEM(t), 10.0 * t + 5.5, 1e-12);
  EXPECT_EQ(s.MEDSEM(bad), 55.0);
  EXPECT_EQ(s.VARSEM(bad), 0.0);
  if (bad < kNSEM) {
    EXPECT_EQ(s.MEDSEM(bad + 1), -1.0);
  }
  EXPECT_EQ(s.MEDGER, -1.0);
  EXPECT_EQ(s.VARGER, -1.0);
}

INSTANTIATE_TEST_SUITE_P(Weeks, ZeroVarianceWeek, ::testing::Values(1, 17, kNSEM));

}  // namespace
}  // namespace darcalim
