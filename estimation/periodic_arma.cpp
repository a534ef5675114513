#include "estimation/periodic_arma.h"

#include <array>
#include <cmath>
#include <stdexcept>
#include <string>

#include "estimation/iteration_limits.h"
#include "estimation/linalg/lu_solver.h"
#include "estimation/periodic_correlations.h"
#include "estimation/week_regression.h"

namespace darcalim {
namespace {

// A sweep has converged in a week when its noise ratio moved by at most this
// fraction of itself.
constexpr double kSweepTolerance = 0.01;
// Sweeps made before convergence is looked at.
constexpr int kMinSweeps = 2;
// Passes of the iterated regressions.
constexpr int kRegressionPasses = 3;

using ArmaCoefficients = Array<double, 5, kMaxWeeks, 4>;  // FIPARMAR / FIPARMARO layout

void check_order(int p, const char* routine) {
  if (p < 1 || p > kMaxMovingAverageArOrder) {
    throw std::invalid_argument(std::string(routine) + ": order outside 1..3");
  }
}

// ESTMAP for one order and one grouping. phi(i, t) and theta(t) live in
// FIPARMA(., t, p, g) throughout; q(t) is the noise ratio of week t.
class MomentEstimator {
 public:
  MomentEstimator(int NSEM, int p, int g, const SeriesStatistics& stats, SeriesParameters& params)
      : nsem_(NSEM), p_(p), g_(g), rho_(stats, NSEM, g), params_(params) {}

  WeekCodes start() {
    WeekCodes codes;
    for (int t = 1; t <= nsem_; ++t) {
      codes(t) = solve_autoregressive_part(t);
      const double r1 = rho_.rho(t, 1);
      q_(t) = 1.0 - r1 * r1;
    }
    return codes;
  }

  void sweep_until_settled() {
    for (int sweep = 1; sweep <= kMaxIterationRounds; ++sweep) {
      bool settled = true;
      for (int t = 1; t <= nsem_; ++t) {
        const double q_new = sweep_week(t);
        if (!(std::fabs(q_new - q_(t)) / q_(t) <= kSweepTolerance)) settled = false;
        q_(t) = q_new;
      }
      if (sweep >= kMinSweeps && settled) return;
    }
  }

  double q(int t) const { return q_(t); }

 private:
  double& coef(int i, int t) { return params_.FIPARMA(i, t, p_, g_); }
  double lower_order(int i, int t, int r) const { return params_.FIPARMA(i, t, r, g_); }
  double par1(int t) const { return params_.FIPAR(1, t, 1, g_); }
  int previous(int t) const { return t == 1 ? nsem_ : t - 1; }

  // Correlations of lags 2..p + 1 follow the autoregressive recursion.
  int solve_autoregressive_part(int t) {
    LuMatrix a;
    LuVector b;
    for (int e = 1; e <= p_; ++e) {
      for (int j = 1; j <= p_; ++j) a(e, j) = rho_.between(t - j, t - 1 - e);
      b(e) = rho_.rho(t, e + 1);
    }
    const int code = SOLVLU(a, b, p_);
    for (int i = 1; i <= p_; ++i) coef(i, t) = b(i);
    if (code != kSolved) {
      if (p_ >= 2) {
        take_lower_order(t, p_);
      } else {
        coef(1, t) = par1(t);
      }
    }
    return code;
  }

  // phi(1..r - 1) of PARMA(r - 1,1) and phi(r) = 0.
  void take_lower_order(int t, int r) {
    for (int i = 1; i < r; ++i) coef(i, t) = lower_order(i, t, r - 1);
    coef(r, t) = 0.0;
  }

  // 1 - sum over l = 1..terms of phi(l) rho(t, l) + theta (phi1 - theta) q(t - 1).
  double noise_ratio(int t, int terms, double theta, double q_before) {
    double sum = 0.0;
    for (int l = 1; l <= terms; ++l) sum += coef(l, t) * rho_.rho(t, l);
    return 1.0 - sum + theta * (coef(1, t) - theta) * q_before;
  }

  double sweep_week(int t) {
    const int before = previous(t);
    const double q_before = q_(before);
    double sum = 0.0;
    for (int l = 1; l <= p_ - 1; ++l) sum += coef(l + 1, t) * rho_.rho(before, l);
    const double theta = (coef(1, t) - rho_.rho(t, 1) + sum) / q_before;
    coef(p_ + 1, t) = theta;
    const double q_new = noise_ratio(t, p_, theta, q_before);
    if (q_new < 0.0 || std::fabs(theta) >= 1.0) return lower_until_positive(t, q_before);
    return q_new;
  }

  // Lowers week t from order p step by step; an order-1 week whose noise
  // ratio is still negative keeps it.
  double lower_until_positive(int t, double q_before) {
    double q_new = 0.0;
    for (int r = p_; r >= 1; --r) {
      if (r >= 2) {
        take_lower_order(t, r);
        const double theta = lower_order(r, t, r - 1);
        coef(p_ + 1, t) = theta;
        q_new = noise_ratio(t, r - 1, theta, q_before);
      } else {
        coef(1, t) = par1(t);
        coef(p_ + 1, t) = 0.0;
        q_new = 1.0 - coef(1, t) * rho_.rho(t, 1);
      }
      if (q_new >= 0.0) break;
    }
    return q_new;
  }

  int nsem_;
  int p_;
  int g_;
  PeriodicCorrelations rho_;
  SeriesParameters& params_;
  Array<double, kMaxWeeks> q_;
};

// The iterated regressions of ESTMAPR (anchors one step back, residuals of
// the coefficients being fitted) and ESTMAPRL (anchors at the month starts,
// residuals of the -RR coefficients).
class RegressionEstimator {
 public:
  RegressionEstimator(const StandardisedSeries& z, const AnchorWeeks& anchors, const SeriesStatistics& stats,
                      const SeriesParameters& params, const ArmaCoefficients& residual_coefficients,
                      ArmaCoefficients& out)
      : z_(z),
        anchors_(anchors),
        stats_(stats),
        params_(params),
        residual_coefficients_(residual_coefficients),
        out_(out),
        residuals_{ResidualSeries(z.NSEM(), z.window()), ResidualSeries(z.NSEM(), z.window()),
                   ResidualSeries(z.NSEM(), z.window())} {}

  void run(NoiseVariances& VARRES, int first_model) {
    const int nsem = z_.NSEM();
    set_starting_residuals();
    for (int pass = 1; pass <= kRegressionPasses; ++pass) {
      for (int p = 1; p <= kMaxMovingAverageArOrder; ++p) fit(1, p);
      for (int t = 2; t <= nsem; ++t) {
        for (int p = 1; p <= kMaxMovingAverageArOrder; ++p) {
          VARRES(t - 1, first_model + p - 1) = update_residuals(t - 1, p);
          fit(t, p);
        }
      }
      for (int p = 1; p <= kMaxMovingAverageArOrder; ++p) VARRES(nsem, first_model + p - 1) = update_residuals(nsem, p);
      carry_last_week_residuals();
    }
  }

 private:
  ResidualSeries& residuals(int p) { return residuals_[static_cast<std::size_t>(p - 1)]; }

  // Week NSEM of the year before year y: z(y - 1, NSEM) - phi z(y - 1, NSEM - 1)
  // with phi of PAR(1)-G4; 0 before the history.
  double starting_residual(int y) const {
    if (y == 1) return 0.0;
    const int nsem = z_.NSEM();
    const double phi = params_.FIPAR(1, nsem, 1, kWeeksGrouping);
    return z_.z(y - 1, nsem) - phi * z_.z(y - 1, nsem - 1);
  }

  void set_starting_residuals() {
    const Window& window = z_.window();
    for (int y = window.first; y <= window.last; ++y) {
      const double start = starting_residual(y);
      for (int p = 1; p <= kMaxMovingAverageArOrder; ++p) residuals(p)(y, 0) = start;
    }
  }

  // The residuals of week NSEM become the week-1 regressor of the year after.
  void carry_last_week_residuals() {
    const Window& window = z_.window();
    const int nsem = z_.NSEM();
    for (int p = 1; p <= kMaxMovingAverageArOrder; ++p) {
      ResidualSeries& a = residuals(p);
      for (int y = window.last; y > window.first; --y) a(y, 0) = a(y - 1, nsem);
      a(window.first, 0) = starting_residual(window.first);
    }
  }

  // a(y, w) = z(y, w) - sum phi(j, w) z(lag j of w) + theta(w) a(y, w - 1)
  // over the years of the window (0 for a first year whose lags would lie
  // before the history); returns the noise variance of week w.
  double update_residuals(int w, int p) {
    const Window& window = z_.window();
    ResidualSeries& a = residuals(p);
    const int from = first_fitted_year(window, w, p);
    double phi[kMaxMovingAverageArOrder + 1];
    for (int j = 1; j <= p; ++j) phi[j] = residual_coefficients_(j, w, p);
    const double theta = residual_coefficients_(p + 1, w, p);
    double squares = 0.0;
    for (int y = window.first; y <= window.last; ++y) {
      double e = 0.0;
      if (y >= from) {
        const StandardisedSeries::WindowYear values = z_.window_year(y);
        double fitted = 0.0;
        for (int j = 1; j <= p; ++j) fitted += phi[j] * values.lagged(w, j);
        e = values.z(w) - fitted + theta * a(y, w - 1);
      }
      a(y, w) = e;
      squares += e * e;
    }
    return (squares / window.years()) * stats_.VARSEM(w);
  }

  void fit(int t, int p) {
    const RegressionResult result = regress_week(z_, t, anchors_(t), p, &residuals(p));
    if (result.code == kSolved) {
      for (int i = 1; i <= p + 1; ++i) out_(i, t, p) = result.B(i);
    } else if (p == 1) {
      out_(1, t, 1) = params_.FIPAR(1, t, 1, kWeeksGrouping);
      out_(2, t, 1) = 0.0;
    } else {
      for (int i = 1; i < p; ++i) out_(i, t, p) = out_(i, t, p - 1);
      out_(p, t, p) = 0.0;
      out_(p + 1, t, p) = out_(p, t, p - 1);
    }
  }

  const StandardisedSeries& z_;
  const AnchorWeeks& anchors_;
  const SeriesStatistics& stats_;
  const SeriesParameters& params_;
  const ArmaCoefficients& residual_coefficients_;
  ArmaCoefficients& out_;
  std::array<ResidualSeries, kMaxMovingAverageArOrder> residuals_;
};

}  // namespace

WeekCodes ESTMAP(int NSEM, int p, int g, const SeriesStatistics& stats, SeriesParameters& params,
                 NoiseVariances& VARRES, int model) {
  check_order(p, "ESTMAP");
  MomentEstimator estimator(NSEM, p, g, stats, params);
  const WeekCodes codes = estimator.start();
  estimator.sweep_until_settled();
  for (int t = 1; t <= NSEM; ++t) VARRES(t, model) = estimator.q(t) * stats.VARSEM(t);
  return codes;
}

void ESTMAPR(int NSEM, const Window& window, const SeriesTable& series, const SeriesStatistics& stats,
             SeriesParameters& params, NoiseVariances& VARRES, int first_model) {
  const StandardisedSeries z(NSEM, window, series, stats);
  const AnchorWeeks anchors = one_step_anchors(NSEM);
  RegressionEstimator estimator(z, anchors, stats, params, params.FIPARMAR, params.FIPARMAR);
  estimator.run(VARRES, first_model);
}

void ESTMAPRL(int NSEM, const Window& window, const SeriesTable& series, const SeriesStatistics& stats,
              const WeekGroupings& groupings, SeriesParameters& params, NoiseVariances& VARRES, int first_model) {
  const StandardisedSeries z(NSEM, window, series, stats);
  const AnchorWeeks anchors = month_start_anchors(NSEM, groupings);
  RegressionEstimator estimator(z, anchors, stats, params, params.FIPARMAR, params.FIPARMARO);
  estimator.run(VARRES, first_model);
}

}  // namespace darcalim
