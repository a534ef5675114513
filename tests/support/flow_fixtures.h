// Flows built from a known answer, and runs in a scratch folder, shared by
// the tests of the statistics and of the phases built on them.
#pragma once

#include <cmath>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "driver/run.h"
#include "common/series_table.h"
#include "tests/support/run_in_folder.h"

namespace darcalim::testing {

// Flows 100 + t + (-1)^y over 52 weeks: every standardised value is +1 in
// even years and -1 in odd ones (windows of an even number of years), so a
// pair within a year multiplies to 1 and a pair across years to -1.
inline SeriesTable alternating_flows() {
  constexpr int kWeeks = 52;
  SeriesTable X;
  for (int y = 1; y <= kMaxYears; ++y) {
    for (int t = 1; t <= kWeeks; ++t) X(y, t) = 100.0 + t + (y % 2 == 0 ? 1.0 : -1.0);
  }
  return X;
}

// A symmetric sample of n values about 0 in [-1, 1] (n even): its skewness
// is zero up to rounding.
inline std::vector<double> symmetric_sample(int n) {
  std::vector<double> q;
  for (int j = 1; j <= n / 2; ++j) {
    const double v = std::pow(static_cast<double>(j) / (n / 2), 1.5);
    q.push_back(-v);
    q.push_back(v);
  }
  return q;
}

// Flows whose Box-Cox transform with `lambda` is the symmetric sample
// centre + spread * q: the inverse of the transform applied to it (the
// exponential for lambda = 0, a lognormal week).
inline std::vector<double> flows_symmetric_under(double lambda, double centre, double spread, int n) {
  std::vector<double> x;
  for (double q : symmetric_sample(n)) {
    const double z = centre + spread * q;
    x.push_back(lambda == 0.0 ? std::exp(z) : std::pow(1.0 + lambda * z, 1.0 / lambda));
  }
  return x;
}

// Writes `values` into years 1.. of week `week`.
inline void set_week(SeriesTable& X, int week, const std::vector<double>& values) {
  for (std::size_t i = 0; i < values.size(); ++i) X(static_cast<int>(i) + 1, week) = values[i];
}

// The lines of a text, without their line ends.
inline std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

}  // namespace darcalim::testing
