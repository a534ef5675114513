#include "estimation/stationary_models.h"

#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "estimation/iteration_limits.h"
#include "estimation/linalg/lu_solver.h"
#include "estimation/linalg/square_root_solver.h"
#include "estimation/linalg/schur_stationarity.h"

namespace darcalim {
namespace {

constexpr int kMaxArmaOrder = kMaxArOrder - 1;

// The theta iteration stops once the noise ratio moves by at most this
// fraction of itself in one round.
constexpr double kNoiseRatioTolerance = 0.001;

// r(k) with r(0) = 1.
double r(const SeriesStatistics& stats, int k) { return k == 0 ? 1.0 : stats.FACANU(k); }

// 1 - sum over i = 1..p of phi(i) r(i): the noise ratio of the autoregressive part.
template <typename Coefficient>
double unexplained(const SeriesStatistics& stats, int p, Coefficient phi) {
  double sum = 0.0;
  for (int i = 1; i <= p; ++i) sum += phi(i) * r(stats, i);
  return 1.0 - sum;
}

void check_order(int p, int highest, const char* routine) {
  if (p < 1 || p > highest) throw std::invalid_argument(std::string(routine) + ": order out of range");
}

struct ThetaResult {
  double theta = 0.0;
  int code = kSolved;
};

// Fixed point of theta = (phi1 - r(1) + sum phi(j+1) r(j)) / q and
// q = (1 - sum phi(j) r(j)) / (1 - theta phi1 + theta^2), from q = 1 - r(1)^2.
ThetaResult iterate_theta(const SeriesStatistics& stats, int p, const ArCoefficients& phi) {
  const double r1 = r(stats, 1);
  const double numerator = unexplained(stats, p, [&phi](int i) { return phi(i); });
  double q = 1.0 - r1 * r1;
  ThetaResult result;
  for (int round = 1; round <= kMaxIterationRounds; ++round) {
    double sum = 0.0;
    for (int j = 1; j <= p - 1; ++j) sum += phi(j + 1) * r(stats, j);
    result.theta = (phi(1) - r1 + sum) / q;
    if (std::fabs(result.theta) >= 1.0) {
      result.code = kThetaOut;
      return result;
    }
    const double theta = result.theta;
    const double q_new = numerator / (1.0 - theta * phi(1) + theta * theta);
    if (!(std::fabs(q_new - q) / q > kNoiseRatioTolerance)) return result;
    q = q_new;
  }
  return result;
}

}  // namespace

StationaryFit ESTPA(int p, const SeriesStatistics& stats, SeriesParameters& params) {
  check_order(p, kMaxArOrder, "ESTPA");
  SymmetricMatrix toeplitz;
  SystemVector rhs;
  for (int i = 1; i <= p; ++i) {
    for (int j = 1; j <= p; ++j) toeplitz(i, j) = r(stats, std::abs(i - j));
    rhs(i) = r(stats, i);
  }
  const SquareRootSolution solution = solve_by_square_root(toeplitz, rhs, p);
  StationaryFit fit;
  fit.code = solution.code;
  if (fit.code != kNegativeRoot && fit.code != kZeroPivot) {
    for (int i = 1; i <= p; ++i) params.FIAR(i, p) = solution.phi(i);
  }
  ArCoefficients phi;
  for (int i = 1; i <= p; ++i) phi(i) = params.FIAR(i, p);
  fit.flag = SCHUR(phi, p);
  return fit;
}

StationaryFit ESTMA(int p, const SeriesStatistics& stats, SeriesParameters& params) {
  check_order(p, kMaxArmaOrder, "ESTMA");
  LuMatrix a;
  LuVector b;
  for (int e = 1; e <= p; ++e) {
    for (int j = 1; j <= p; ++j) a(e, j) = r(stats, std::abs(e + 1 - j));
    b(e) = r(stats, e + 1);
  }
  StationaryFit fit;
  fit.code = SOLVLU(a, b, p);
  ArCoefficients phi;
  for (int i = 1; i <= p; ++i) {
    phi(i) = b(i);
    params.FIARMA(i, p) = b(i);
  }
  fit.flag = SCHUR(phi, p);
  if (fit.flag == kNotStationary) return fit;

  const ThetaResult theta = iterate_theta(stats, p, phi);
  params.FIARMA(p + 1, p) = theta.theta;
  if (theta.code != kSolved) fit.code = theta.code;
  return fit;
}

void VARB(int NSEM, int p, const SeriesStatistics& stats, const SeriesParameters& params,
          NoiseVariances& VARRES, int model) {
  check_order(p, kMaxArOrder, "VARB");
  const double s = unexplained(stats, p, [&](int i) { return params.FIAR(i, p); });
  for (int t = 1; t <= NSEM; ++t) VARRES(t, model) = s * stats.VARSEM(t);
}

void VARBM(int NSEM, int p, const SeriesStatistics& stats, const SeriesParameters& params,
           NoiseVariances& VARRES, int model) {
  check_order(p, kMaxArmaOrder, "VARBM");
  const double s = unexplained(stats, p, [&](int i) { return params.FIARMA(i, p); });
  const double phi1 = params.FIARMA(1, p);
  const double theta = params.FIARMA(p + 1, p);
  const double d = 1.0 - phi1 * theta + theta * theta;
  for (int t = 1; t <= NSEM; ++t) VARRES(t, model) = (s / d) * stats.VARSEM(t);
}

}  // namespace darcalim
