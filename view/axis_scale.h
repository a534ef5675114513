// The scale of a chart axis: round tick values that cover the data.
#pragma once

#include <vector>

namespace darcalim::view {

struct AxisScale {
  double low = 0.0;   // first tick, at or below the smallest value
  double high = 1.0;  // last tick, at or above the largest value
  double step = 1.0;  // between ticks: 1, 2, 2.5 or 5 times a power of ten
  int decimals = 0;   // decimals the tick labels need

  std::vector<double> ticks() const;
  // Position of `value` between `from` (at low) and `to` (at high).
  double place(double value, double from, double to) const;
};

// About `target` intervals from `low` to `high`; an empty or one-point range
// is widened about its value.
AxisScale axis_scale(double low, double high, int target);

}  // namespace darcalim::view
