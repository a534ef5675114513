#include "stats/boxcox_search.h"

#include <cmath>

#include "common/fixed_array.h"
#include "common/table_sizes.h"

namespace darcalim {

namespace {

constexpr double kStart = -2.0;
constexpr double kFirstStep = 0.1;
constexpr double kLastExponent = 5.0;
// Single-precision constants: the step shrinks by the 4-byte 0.1 and the
// convergence bound is the 4-byte 0.00003.
const double kStepFactor = static_cast<double>(0.1f);
const double kConverged = static_cast<double>(0.00003f);
constexpr int kMaxLowerings = 100;
constexpr int kMaxPasses = 11;
constexpr int kLaterPassTrials = 10;

bool all_equal(const SeriesTable& X, int week, int NANOS) {
  for (int y = 2; y <= NANOS; ++y) {
    if (X(y, week) != X(1, week)) return false;
  }
  return true;
}

bool within_convergence(double g) { return -kConverged < g && g < kConverged; }

// The state of the search between trials and passes.
struct SearchState {
  double lambda0 = kStart;
  double h = kFirstStep;
  double lp = 0.0;   // previous point
  double gp = 0.0;
  double lambda = 0.0;  // last point
  double g = 0.0;
};

// Runs one pass (pass 1 included, with its lowerings) and records it.
// Returns false when pass 1 could not start below zero skewness.
bool run_pass(const SeriesTable& X, int week, int NANOS, int P, SearchState& s, BoxCoxWeekSearch& out) {
  int lowerings = 0;
  for (;;) {
    out.approximations.push_back(BoxCoxApproximation{P, {}});
    std::vector<BoxCoxTrial>& trials = out.approximations.back().trials;
    const int first = P == 1 ? 1 : 2;
    const int K = P == 1 ? static_cast<int>((kLastExponent - s.lambda0) * 10.0) + 1 : kLaterPassTrials;
    bool restart = false;
    for (int k = first; k <= K; ++k) {
      s.lambda = s.lambda0 + (k - 1) * s.h;
      s.g = boxcox_skewness(X, week, NANOS, s.lambda);
      trials.push_back(BoxCoxTrial{s.lambda, s.g});
      if (P == 1 && k == 1) {
        if (s.g >= 0.0) {
          if (lowerings == kMaxLowerings) return false;
          ++lowerings;
          s.lambda0 = s.lambda0 - s.h;
          restart = true;
          break;
        }
        s.gp = -100.0;
      }
      if ((s.g >= 0.0 && s.gp <= 0.0) || (s.g <= 0.0 && s.gp >= 0.0)) return true;
      s.lp = s.lambda;
      s.gp = s.g;
    }
    if (!restart) return true;
  }
}

}  // namespace

double boxcox_skewness(const SeriesTable& X, int week, int NANOS, double LAMBDA) {
  Array<double, kMaxYears> T;
  double sum = 0.0;
  for (int y = 1; y <= NANOS; ++y) {
    const double x = X(y, week);
    T(y) = LAMBDA == 0.0 ? std::log(x) : (std::pow(x, LAMBDA) - 1.0) / LAMBDA;
    sum += T(y);
  }
  const double n = NANOS;
  const double m = sum / n;
  double squares = 0.0;
  double cubes = 0.0;
  for (int y = 1; y <= NANOS; ++y) {
    const double d = T(y) - m;
    squares += d * d;
    cubes += d * d * d;
  }
  const double s = std::sqrt(squares / n);
  const double denominator = static_cast<double>((NANOS - 1) * (NANOS - 2));
  return (n * cubes / denominator) / (s * s * s);
}

BoxCoxWeekSearch search_boxcox_week(const SeriesTable& X, int week, int NANOS) {
  BoxCoxWeekSearch out;
  if (all_equal(X, week, NANOS)) return out;
  out.searched = true;
  SearchState s;
  for (int P = 1;; ++P) {
    if (!run_pass(X, week, NANOS, P, s, out)) {
      out.start_found = false;
      out.LAMBDA = s.lambda;
      out.skewness = s.g;
      return out;
    }
    s.lambda0 = s.g >= 0.0 ? s.lp : s.lambda;
    s.h = s.h * kStepFactor;
    if (within_convergence(s.g) || within_convergence(s.gp) || P >= kMaxPasses) break;
  }
  const bool previous_closer = std::fabs(s.gp) < std::fabs(s.g);
  out.LAMBDA = previous_closer ? s.lp : s.lambda;
  out.skewness = previous_closer ? s.gp : s.g;
  return out;
}

}  // namespace darcalim
