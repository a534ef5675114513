#include "view/axis_scale.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace darcalim::view {

namespace {

// Steps that read well: 1, 2, 2.5 and 5 times a power of ten.
constexpr std::array<double, 4> kNiceSteps = {1.0, 2.0, 2.5, 5.0};
// A range narrower than this is widened so that the axis still has ticks.
constexpr double kSmallestRange = 1e-9;

int decimals_of(double step) {
  for (int d = 0; d <= 6; ++d) {
    const double scaled = step * std::pow(10.0, d);
    if (std::abs(scaled - std::round(scaled)) < 1e-6) return d;
  }
  return 6;
}

}  // namespace

std::vector<double> AxisScale::ticks() const {
  std::vector<double> t;
  const int n = static_cast<int>(std::lround((high - low) / step));
  for (int i = 0; i <= n; ++i) t.push_back(low + i * step);
  return t;
}

double AxisScale::place(double value, double from, double to) const {
  return from + (value - low) / (high - low) * (to - from);
}

AxisScale axis_scale(double low, double high, int target) {
  if (!(high - low > kSmallestRange)) {
    const double half = std::max(std::abs(low) * 0.1, 1.0);
    low -= half;
    high += half;
  }
  const double rough = (high - low) / std::max(target, 1);
  const double power = std::pow(10.0, std::floor(std::log10(rough)));
  double step = kNiceSteps.back() * power * 2.0;
  for (const double nice : kNiceSteps) {
    if (nice * power >= rough) {
      step = nice * power;
      break;
    }
  }
  AxisScale s;
  s.step = step;
  s.low = std::floor(low / step + 1e-9) * step;
  s.high = std::ceil(high / step - 1e-9) * step;
  s.decimals = decimals_of(step);
  return s;
}

}  // namespace darcalim::view
