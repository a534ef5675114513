#include "estimation/periodic_ar.h"

#include <stdexcept>
#include <string>

#include "estimation/linalg/square_root_solver.h"
#include "estimation/periodic_correlations.h"
#include "estimation/week_regression.h"

namespace darcalim {
namespace {

void check_order(int p, const char* routine) {
  if (p < 1 || p > kMaxArOrder) throw std::invalid_argument(std::string(routine) + ": order outside 1..4");
}

// 1 - sum over i = 1..p of phi(i, t) rho(t, i).
double noise_ratio(const PeriodicCorrelations& rho, const SeriesParameters& params, int t, int p, int g) {
  double sum = 0.0;
  for (int i = 1; i <= p; ++i) sum += params.FIPAR(i, t, p, g) * rho.rho(t, i);
  return 1.0 - sum;
}

// Correlations of the weeks t - 1..t - p among themselves and with week t.
void yule_walker_system(const PeriodicCorrelations& rho, int t, int p, SymmetricMatrix& T, SystemVector& rhs) {
  for (int i = 1; i <= p; ++i) {
    T(i, i) = 1.0;
    for (int j = i + 1; j <= p; ++j) {
      T(i, j) = rho.rho(t - i, j - i);
      T(j, i) = T(i, j);
    }
    rhs(i) = rho.rho(t, i);
  }
}

void fit_ro_week(const StandardisedSeries& z, int t, int anchor, int p, SeriesParameters& params) {
  const RegressionResult fit = regress_week(z, t, anchor, p, nullptr);
  if (fit.code == kSolved) {
    for (int j = 1; j <= p; ++j) params.FIPARRO(j, t, p) = fit.B(j);
  } else if (p == 1) {
    params.FIPARRO(1, t, 1) = params.FIPAR(1, t, 1, kWeeksGrouping);
  } else {
    for (int j = 1; j < p; ++j) params.FIPARRO(j, t, p) = params.FIPARRO(j, t, p - 1);
    params.FIPARRO(p, t, p) = 0.0;
  }
}

// Mean square of z(y, t) - sum FIPARRO(j, t, p) z(lag j of t) over the
// fitted years, divided by the years of the window, in the series' scale.
double ro_noise_variance(const StandardisedSeries& z, const SeriesStatistics& stats,
                         const SeriesParameters& params, int t, int p) {
  const Window& window = z.window();
  double squares = 0.0;
  for (int y = first_fitted_year(window, t, p); y <= window.last; ++y) {
    double fitted = 0.0;
    for (int j = 1; j <= p; ++j) fitted += params.FIPARRO(j, t, p) * z.lagged(y, t, j);
    const double e = z.z(y, t) - fitted;
    squares += e * e;
  }
  return (squares / window.years()) * stats.VARSEM(t);
}

}  // namespace

WeekCodes ESTPAR(int NSEM, int p, int g, const SeriesStatistics& stats, SeriesParameters& params) {
  check_order(p, "ESTPAR");
  const PeriodicCorrelations rho(stats, NSEM, g);
  WeekCodes codes;
  for (int t = 1; t <= NSEM; ++t) {
    SymmetricMatrix T;
    SystemVector rhs;
    yule_walker_system(rho, t, p, T, rhs);
    const SquareRootSolution solution = solve_by_square_root(T, rhs, p);
    codes(t) = solution.code;
    if (solution.code == kNegativeRoot || solution.code == kZeroPivot) continue;
    for (int i = 1; i <= p; ++i) params.FIPAR(i, t, p, g) = solution.phi(i);
    if (noise_ratio(rho, params, t, p, g) < 0.0 && codes(t) == kSolved) codes(t) = kNegativeNoise;
  }
  return codes;
}

void VARBP(int NSEM, int p, int g, const SeriesStatistics& stats, const SeriesParameters& params,
           NoiseVariances& VARRES, int model) {
  check_order(p, "VARBP");
  const PeriodicCorrelations rho(stats, NSEM, g);
  for (int t = 1; t <= NSEM; ++t) VARRES(t, model) = noise_ratio(rho, params, t, p, g) * stats.VARSEM(t);
}

void ESTPRL(int NSEM, const Window& window, const SeriesTable& series, const SeriesStatistics& stats,
            const WeekGroupings& groupings, SeriesParameters& params, NoiseVariances& VARRES, int first_model) {
  const StandardisedSeries z(NSEM, window, series, stats);
  const AnchorWeeks anchors = month_start_anchors(NSEM, groupings);
  for (int t = 1; t <= NSEM; ++t) {
    for (int p = 1; p <= kMaxArOrder; ++p) {
      fit_ro_week(z, t, anchors(t), p, params);
      VARRES(t, first_model + p - 1) = ro_noise_variance(z, stats, params, t, p);
    }
  }
}

}  // namespace darcalim
