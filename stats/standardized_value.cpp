#include "stats/standardized_value.h"

#include <algorithm>
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
  values_.reserve(static_cast<std::size_t>((window.last - first_stored_ + 1) * NSEM));
  for (int y = first_stored_; y <= window.last; ++y) {
    for (int t = 1; t <= NSEM; ++t) values_.push_back(standardized_value(series, stats, y, t));
  }
}

void StandardisedSeries::out_of_window() {
  throw std::out_of_range("standardised value outside the window and the year before it");
}

}  // namespace darcalim
