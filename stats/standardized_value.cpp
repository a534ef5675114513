#include "stats/standardized_value.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>

#include "common/table_sizes.h"

namespace darcalim {

StandardisedSeries::StandardisedSeries(int NSEM, const Window& window, const SeriesTable& series,
                                       const SeriesStatistics& stats)
    : nsem_(NSEM), window_(window), first_stored_(std::max(1, window.first - 1)) {
  if (NSEM < 1 || NSEM > kMaxWeeks || window.first < 1 || window.last < window.first ||
      window.last > kMaxYears) {
    throw std::invalid_argument("standardised series: weeks or window out of range");
  }
  // Each week's mean and standard deviation, once.
  std::array<double, kMaxWeeks> mean{};
  std::array<double, kMaxWeeks> deviation{};
  for (int t = 1; t <= NSEM; ++t) {
    mean[static_cast<std::size_t>(t - 1)] = stats.MEDSEM(t);
    deviation[static_cast<std::size_t>(t - 1)] = std::sqrt(stats.VARSEM(t));
  }
  values_.reserve(static_cast<std::size_t>((window.last - first_stored_ + 1) * NSEM));
  for (int y = first_stored_; y <= window.last; ++y) {
    for (int t = 1; t <= NSEM; ++t) {
      const std::size_t week = static_cast<std::size_t>(t - 1);
      values_.push_back((series(y, t) - mean[week]) / deviation[week]);
    }
  }
}

void StandardisedSeries::out_of_window() {
  throw std::out_of_range("standardised value outside the window and the year before it");
}

}  // namespace darcalim
