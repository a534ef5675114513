// z(y, t): a value of a series standardised by the moments of its own week.
//
// z(y, t) = (X(y, t) - MEDSEM(t)) / sqrt(VARSEM(t)), always with the mean and
// variance of the week t the value belongs to, whatever the lag it is paired
// at. The autocorrelation functions build their products from it, and the
// periodic regression estimators regress on it.
//
// StandardisedSeries holds z over a window, with the statistics in hand, and
// over the year before the window, each value computed once; a value before
// the history (year 0) is taken as 0, and one outside those years is a fault
// of the program (std::out_of_range). The lag j of week t of year y is week
// t - j of the same year, or week NSEM + t - j of year y - 1 when t - j < 1.
#pragma once

#include <cstddef>
#include <vector>


#include "common/series_statistics.h"
#include "common/series_table.h"
#include "common/table_sizes.h"

namespace darcalim {

class StandardisedSeries {
 public:
  StandardisedSeries(int NSEM, const Window& window, const SeriesTable& series, const SeriesStatistics& stats);

  int NSEM() const { return nsem_; }
  const Window& window() const { return window_; }

  double z(int y, int t) const {
    if (y < 1) return 0.0;  // before the history
    if (y < first_stored_ || y > window_.last || t < 1 || t > nsem_) out_of_window();
    return values_[static_cast<std::size_t>((y - first_stored_) * nsem_ + t - 1)];
  }

  double lagged(int y, int t, int j) const {
    const int week = t - j;
    return week >= 1 ? z(y, week) : z(y - 1, nsem_ + week);
  }

  // Year y of the window and the year before it, read without a check per
  // value: z(t) and lagged(t, j) are z(y, t) and lagged(y, t, j) for weeks
  // t in 1..NSEM and lags j in 0..NSEM - 1, which the caller checks once.
  // A year outside the window is a fault of the program (std::out_of_range).
  struct WindowYear {
    const double* year;    // z(y, t) at [t - 1]
    const double* before;  // z(y - 1, t) at [t - 1]
    int nsem;
    double z(int t) const { return year[t - 1]; }
    double before_z(int t) const { return before[t - 1]; }  // z(y - 1, t)
    double lagged(int t, int j) const {
      const int week = t - j;
      return week >= 1 ? year[week - 1] : before[nsem + week - 1];
    }
  };
  WindowYear window_year(int y) const {
    if (y < window_.first || y > window_.last) out_of_window();
    return WindowYear{stored_year(y), stored_year(y - 1), nsem_};
  }

 private:
  static constexpr double kYearBeforeHistory[kMaxWeeks] = {};
  // The values of a stored year y, or zeros for y < 1.
  const double* stored_year(int y) const {
    if (y < 1) return kYearBeforeHistory;
    return &values_[static_cast<std::size_t>((y - first_stored_) * nsem_)];
  }
  [[noreturn]] static void out_of_window();
  int nsem_;
  Window window_;
  int first_stored_;            // the year before the window, or year 1
  std::vector<double> values_;  // by year from first_stored_, then week
};

}  // namespace darcalim
