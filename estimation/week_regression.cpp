#include "estimation/week_regression.h"

#include <algorithm>
#include <stdexcept>

#include "stats/standardized_value.h"

namespace darcalim {

int first_fitted_year(const Window& window, int t, int p) {
  return (window.first == 1 && t <= p) ? window.first + 1 : window.first;
}

ResidualSeries::ResidualSeries(int NSEM, const Window& window)
    : nsem_(NSEM),
      window_(window),
      values_(static_cast<std::size_t>(window.years()) * static_cast<std::size_t>(NSEM + 1), 0.0) {}

void ResidualSeries::out_of_window() { throw std::out_of_range("residual outside the window"); }

AnchorWeeks one_step_anchors(int NSEM) {
  AnchorWeeks anchors;
  for (int t = 1; t <= NSEM; ++t) anchors(t) = t;
  return anchors;
}

AnchorWeeks month_start_anchors(int NSEM, const WeekGroupings& groupings) {
  const WeekGrouping& months = groupings(kMonthsGrouping);
  if (months.INIPER(1) != 1 || months.INIPER(kMonths + 1) != NSEM + 1) {
    throw std::invalid_argument("month grouping does not cover weeks 1..NSEM");
  }
  AnchorWeeks anchors = one_step_anchors(NSEM);
  for (int m = 1; m <= kMonths; ++m) {
    const int start = months.INIPER(m);
    for (int t = std::max(2, start); t < months.INIPER(m + 1) && t <= NSEM; ++t) anchors(t) = start;
  }
  return anchors;
}

RegressionResult regress_week(const StandardisedSeries& z, int t, int anchor, int p,
                              const ResidualSeries* residual) {
  // Only the first n observations are filled, and only they are read.
  Observations y_values(kUnset);
  Regressors x_values(kUnset);
  Observations w_values(kUnset);
  double* y_at = y_values.data();
  double* x_at = x_values.data();  // regressor j of observation r at (r - 1) * 4 + j - 1
  double* w_at = w_values.data();
  const int nsem = z.NSEM();
  if (t < 1 || t > nsem || anchor < 1 || anchor > nsem || p < 0 || p > kMaxArOrder || p >= nsem) {
    throw std::out_of_range("regress_week: week, anchor or order outside its range");
  }
  int n = 0;
  for (int y = first_fitted_year(z.window(), t, p); y <= z.window().last; ++y, ++n) {
    const StandardisedSeries::WindowYear values = z.window_year(y);
    y_at[n] = values.z(t);
    for (int j = 1; j <= p; ++j) x_at[n * kMaxArOrder + j - 1] = values.lagged(anchor, j);
    w_at[n] = residual != nullptr ? (*residual)(y, anchor - 1) : 0.0;
  }
  const int ng = residual != nullptr ? p + 1 : p;
  return REGRES(n, y_values, x_values, w_values, p, ng);
}

}  // namespace darcalim
