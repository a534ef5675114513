// The one-week regressions of the periodic regression estimators (ESTPRL,
// ESTMAPR, ESTMAPRL), on the standardised history (stats/standardized_value.h).
//
// A regression of week t of order p uses the years of the window, except the
// first one when the window starts at year 1 and t <= p (its lags would lie
// before the history).
#pragma once

#include <cstddef>
#include <vector>

#include "common/fixed_array.h"
#include "common/table_sizes.h"
#include "common/series_statistics.h"
#include "common/series_table.h"
#include "common/week_groupings.h"
#include "estimation/linalg/least_squares.h"
#include "stats/standardized_value.h"

namespace darcalim {

// First year of the window that a regression (or residual) of week t and
// order p takes in.
int first_fitted_year(const Window& window, int t, int p);

// Residuals a(y, w) of one order over the years of a window: w = 1..NSEM are
// the weeks of year y and w = 0 stands for week NSEM of year y - 1, the
// moving-average regressor of week 1.
class ResidualSeries {
 public:
  ResidualSeries(int NSEM, const Window& window);
  double& operator()(int y, int w) { return values_[offset(y, w)]; }
  double operator()(int y, int w) const { return values_[offset(y, w)]; }

 private:
  std::size_t offset(int y, int w) const {
    if (y < window_.first || y > window_.last || w < 0 || w > nsem_) out_of_window();
    return static_cast<std::size_t>(y - window_.first) * static_cast<std::size_t>(nsem_ + 1) +
           static_cast<std::size_t>(w);
  }
  [[noreturn]] static void out_of_window();
  int nsem_;
  Window window_;
  std::vector<double> values_;
};

// Week whose values are known when the regressors of week t are frozen: week
// t itself for the one-step regressions; the first week of t's month (the
// periods of grouping G3) for the regressions several steps ahead, week 1
// excepted, which is always a one-step regression.
using AnchorWeeks = Array<int, kMaxWeeks>;
AnchorWeeks one_step_anchors(int NSEM);
AnchorWeeks month_start_anchors(int NSEM, const WeekGroupings& groupings);

// Least squares of z(y, t) on the lags 1..p of the anchor week and, when a
// residual series is given, on its value at the week before the anchor
// (B(p + 1) is then the theta of that term). A week or anchor outside
// 1..NSEM, or an order outside 0..4 or not below NSEM, is a fault of the
// program (std::out_of_range).
RegressionResult regress_week(const StandardisedSeries& z, int t, int anchor, int p,
                              const ResidualSeries* residual);

}  // namespace darcalim
