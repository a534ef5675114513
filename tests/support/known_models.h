// Test support: the exact correlations of models with chosen coefficients,
// and series simulated from them, for known-answer tests of the estimators.
#pragma once

#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "common/fixed_array.h"
#include "common/parameter_store.h"
#include "common/table_sizes.h"
#include "common/series_statistics.h"
#include "common/series_table.h"
#include "common/week_groupings.h"

namespace darcalim::testing_support {

// The tables an estimator reads and fills, on the heap (they are large).
struct Tables {
  std::unique_ptr<SeriesStatistics> stats = std::make_unique<SeriesStatistics>();
  std::unique_ptr<SeriesParameters> params = std::make_unique<SeriesParameters>();
  std::unique_ptr<NoiseVariances> varres = std::make_unique<NoiseVariances>();
  std::unique_ptr<SeriesTable> series = std::make_unique<SeriesTable>();
};


// Terms of the moving-average expansions: the models used keep their roots
// well inside the unit circle, so the tails beyond this are far below 1e-16.
inline constexpr int kExpansionTerms = 4000;

// Autocorrelations r(1..lags) of the stationary ARMA(p,1)
// z(t) = sum phi(j) z(t - j) + a(t) - theta a(t - 1), from its psi weights.
inline std::vector<double> stationary_autocorrelations(const std::vector<double>& phi, double theta, int lags) {
  std::vector<double> psi(kExpansionTerms, 0.0);
  psi[0] = 1.0;
  for (int k = 1; k < kExpansionTerms; ++k) {
    double v = k == 1 ? -theta : 0.0;
    for (std::size_t j = 1; j <= phi.size() && static_cast<int>(j) <= k; ++j) v += phi[j - 1] * psi[static_cast<std::size_t>(k) - j];
    psi[static_cast<std::size_t>(k)] = v;
  }
  auto gamma = [&psi](int l) {
    double s = 0.0;
    for (int i = 0; i + l < kExpansionTerms; ++i) s += psi[static_cast<std::size_t>(i)] * psi[static_cast<std::size_t>(i + l)];
    return s;
  };
  const double g0 = gamma(0);
  std::vector<double> r;
  for (int l = 1; l <= lags; ++l) r.push_back(gamma(l) / g0);
  return r;
}

// A periodic ARMA(p,1) model of NSEM weeks: phi[t][j - 1] = phi(j, t),
// theta[t], noise variance sigma2[t], for t = 1..NSEM (index 0 unused).
struct PeriodicModel {
  int NSEM = 52;
  std::vector<std::vector<double>> phi;
  std::vector<double> theta;
  std::vector<double> sigma2;

  int wrap(int t) const { return ((t - 1) % NSEM + NSEM) % NSEM + 1; }
  double coef(int j, int t) const {
    const std::vector<double>& c = phi[static_cast<std::size_t>(wrap(t))];
    return j <= static_cast<int>(c.size()) ? c[static_cast<std::size_t>(j - 1)] : 0.0;
  }
};

// Exact periodic second moments of a PeriodicModel, from the periodic psi
// weights z(t) = sum over k of psi(k, t) a(t - k).
class PeriodicMoments {
 public:
  explicit PeriodicMoments(const PeriodicModel& m) : m_(m), psi_(static_cast<std::size_t>(m.NSEM + 1)) {
    const int terms = kExpansionTerms / 4;
    for (int t = 1; t <= m.NSEM; ++t) psi_[static_cast<std::size_t>(t)].assign(static_cast<std::size_t>(terms), 0.0);
    for (int k = 0; k < terms; ++k) {
      for (int t = 1; t <= m.NSEM; ++t) {
        double v = k == 0 ? 1.0 : (k == 1 ? -m.theta[static_cast<std::size_t>(t)] : 0.0);
        for (int j = 1; j <= k && j <= 4; ++j) v += m.coef(j, t) * psi(k - j, t - j);
        psi_[static_cast<std::size_t>(t)][static_cast<std::size_t>(k)] = v;
      }
    }
  }

  // Cov(z(t), z(t - l)).
  double covariance(int t, int l) const {
    const int terms = static_cast<int>(psi_[1].size());
    double s = 0.0;
    for (int k = 0; k + l < terms; ++k) {
      s += psi(k + l, t) * psi(k, t - l) * m_.sigma2[static_cast<std::size_t>(m_.wrap(t - l - k))];
    }
    return s;
  }
  double deviation(int t) const { return std::sqrt(covariance(m_.wrap(t), 0)); }
  double correlation(int t, int l) const {
    return covariance(m_.wrap(t), l) / (deviation(t) * deviation(t - l));
  }

  // FACPER(1..lags, t, g) of every week under grouping g.
  void fill_facper(SeriesStatistics& stats, int g, int lags) const {
    for (int t = 1; t <= m_.NSEM; ++t) {
      for (int l = 1; l <= lags; ++l) stats.FACPER(l, t, g) = correlation(t, l);
    }
  }

 private:
  double psi(int k, int t) const {
    return psi_[static_cast<std::size_t>(m_.wrap(t))][static_cast<std::size_t>(k)];
  }
  PeriodicModel m_;
  std::vector<std::vector<double>> psi_;
};

// Weeks per month of a 52-week year, and grouping G3 built from them (G4 too).
inline WeekGroupings calendar_groupings(int NSEM = 52) {
  const int weeks[kMonths] = {5, 4, 4, 5, 4, 4, 5, 4, 4, 5, 4, 4};
  WeekGroupings g;
  WeekGrouping& months = g(kMonthsGrouping);
  months.NPER = kMonths;
  int start = 1;
  for (int m = 1; m <= kMonths; ++m) {
    months.INIPER(m) = start;
    start += weeks[m - 1];
  }
  months.INIPER(kMonths + 1) = NSEM + 1;
  WeekGrouping& single = g(kWeeksGrouping);
  single.NPER = NSEM;
  for (int t = 1; t <= NSEM + 1; ++t) single.INIPER(t) = t;
  for (int t = 1; t <= NSEM; ++t) {
    months.ORDSEM(t) = t;
    single.ORDSEM(t) = t;
  }
  return g;
}

// Statistics under which z(y, t) is the series value itself.
inline void identity_standardisation(SeriesStatistics& stats, int NSEM) {
  for (int t = 1; t <= NSEM; ++t) {
    stats.MEDSEM(t) = 0.0;
    stats.VARSEM(t) = 1.0;
  }
}

// Simulates `years` rows of a PeriodicModel after `burn_in` years dropped.
inline void simulate(const PeriodicModel& m, int years, int burn_in, std::mt19937& rng, SeriesTable& series) {
  std::normal_distribution<double> normal(0.0, 1.0);
  const int total = (years + burn_in) * m.NSEM;
  std::vector<double> z(static_cast<std::size_t>(total), 0.0);
  std::vector<double> a(static_cast<std::size_t>(total), 0.0);
  for (int i = 0; i < total; ++i) {
    const int t = i % m.NSEM + 1;
    a[static_cast<std::size_t>(i)] = std::sqrt(m.sigma2[static_cast<std::size_t>(t)]) * normal(rng);
    double v = a[static_cast<std::size_t>(i)];
    if (i >= 1) v -= m.theta[static_cast<std::size_t>(t)] * a[static_cast<std::size_t>(i - 1)];
    for (int j = 1; j <= 4 && j <= i; ++j) v += m.coef(j, t) * z[static_cast<std::size_t>(i - j)];
    z[static_cast<std::size_t>(i)] = v;
  }
  for (int y = 1; y <= years; ++y) {
    for (int t = 1; t <= m.NSEM; ++t) {
      series(y, t) = z[static_cast<std::size_t>((y - 1 + burn_in) * m.NSEM + t - 1)];
    }
  }
}

}  // namespace darcalim::testing_support
