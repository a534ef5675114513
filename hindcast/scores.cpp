#include "hindcast/scores.h"

#include <cmath>
#include <functional>

namespace darcalim::hindcast {

namespace {

// The point pairs of one group: forecast and observation.
struct Points {
  std::vector<double> f;
  std::vector<double> o;
  std::size_t n() const { return f.size(); }
};

double mean(const std::vector<double>& x) {
  double sum = 0.0;
  for (const double v : x) sum += v;
  return sum / static_cast<double>(x.size());
}

// Population standard deviation.
double deviation(const std::vector<double>& x, double m) {
  double sum = 0.0;
  for (const double v : x) sum += (v - m) * (v - m);
  return std::sqrt(sum / static_cast<double>(x.size()));
}

double sum_squared_error(const std::vector<double>& f, const std::vector<double>& o) {
  double sum = 0.0;
  for (std::size_t i = 0; i < f.size(); ++i) sum += (f[i] - o[i]) * (f[i] - o[i]);
  return sum;
}

// a / b, none when b is zero.
std::optional<double> ratio(double a, double b) {
  if (b == 0.0) return std::nullopt;
  return a / b;
}

std::optional<double> mean_error(const Points& p) {
  if (p.n() == 0) return std::nullopt;
  double sum = 0.0;
  for (std::size_t i = 0; i < p.n(); ++i) sum += p.f[i] - p.o[i];
  return sum / static_cast<double>(p.n());
}

std::optional<double> percent_bias(const Points& p) {
  if (p.n() == 0) return std::nullopt;
  double error = 0.0;
  double observed = 0.0;
  for (std::size_t i = 0; i < p.n(); ++i) {
    error += p.f[i] - p.o[i];
    observed += p.o[i];
  }
  const auto r = ratio(error, observed);
  if (!r) return std::nullopt;
  return 100.0 * *r;
}

std::optional<double> mean_absolute_error(const Points& p) {
  if (p.n() == 0) return std::nullopt;
  double sum = 0.0;
  for (std::size_t i = 0; i < p.n(); ++i) sum += std::fabs(p.f[i] - p.o[i]);
  return sum / static_cast<double>(p.n());
}

std::optional<double> root_mean_square_error(const Points& p) {
  if (p.n() == 0) return std::nullopt;
  return std::sqrt(sum_squared_error(p.f, p.o) / static_cast<double>(p.n()));
}

std::optional<double> nash_sutcliffe(const Points& p) {
  if (p.n() == 0) return std::nullopt;
  const double m = mean(p.o);
  double spread = 0.0;
  for (const double v : p.o) spread += (v - m) * (v - m);
  const auto r = ratio(sum_squared_error(p.f, p.o), spread);
  if (!r) return std::nullopt;
  return 1.0 - *r;
}

std::optional<double> correlation(const Points& p) {
  if (p.n() == 0) return std::nullopt;
  const double mf = mean(p.f);
  const double mo = mean(p.o);
  double cross = 0.0;
  double ff = 0.0;
  double oo = 0.0;
  for (std::size_t i = 0; i < p.n(); ++i) {
    cross += (p.f[i] - mf) * (p.o[i] - mo);
    ff += (p.f[i] - mf) * (p.f[i] - mf);
    oo += (p.o[i] - mo) * (p.o[i] - mo);
  }
  return ratio(cross, std::sqrt(ff * oo));
}

std::optional<double> bias_ratio(const Points& p) {
  if (p.n() == 0) return std::nullopt;
  return ratio(mean(p.f), mean(p.o));
}

std::optional<double> variability_ratio(const Points& p) {
  if (p.n() == 0) return std::nullopt;
  const double mf = mean(p.f);
  const double mo = mean(p.o);
  const auto cv_f = ratio(deviation(p.f, mf), mf);
  const auto cv_o = ratio(deviation(p.o, mo), mo);
  if (!cv_f || !cv_o) return std::nullopt;
  return ratio(*cv_f, *cv_o);
}

std::optional<double> kling_gupta(const Points& p) {
  const auto r = correlation(p);
  const auto beta = bias_ratio(p);
  const auto gamma = variability_ratio(p);
  if (!r || !beta || !gamma) return std::nullopt;
  return 1.0 - std::sqrt((*r - 1.0) * (*r - 1.0) + (*gamma - 1.0) * (*gamma - 1.0) + (*beta - 1.0) * (*beta - 1.0));
}

// The points of the pairs of one lead (0: all) that have a forecast value.
Points points_of(const std::vector<Pair>& pairs, int lead) {
  Points p;
  for (const Pair& pair : pairs) {
    if ((lead != 0 && pair.lead != lead) || !pair.value) continue;
    p.f.push_back(*pair.value);
    p.o.push_back(pair.observed);
  }
  return p;
}

bool has_limits(const Pair& p) {
  return p.lower && p.upper;
}

// The metrics that take forecast and observation only.
struct PointMetric {
  const char* name;
  std::optional<double> (*compute)(const Points&);
};

constexpr PointMetric kPointMetrics[] = {
    {"ME", mean_error},           {"PBIAS", percent_bias},
    {"MAE", mean_absolute_error}, {"RMSE", root_mean_square_error},
    {"NSE", nash_sutcliffe},      {"KGEprime", kling_gupta},
    {"r", correlation},           {"beta", bias_ratio},
    {"gamma", variability_ratio},
};

ScoreRow skill_score(const std::vector<Pair>& pairs, int lead, const char* reference,
                     std::optional<double> Pair::*flow) {
  ScoreRow row{"SS", reference, lead, 0, std::nullopt};
  double forecast_error = 0.0;
  double reference_error = 0.0;
  for (const Pair& p : pairs) {
    if ((lead != 0 && p.lead != lead) || !p.value || !(p.*flow)) continue;
    ++row.n;
    forecast_error += (*p.value - p.observed) * (*p.value - p.observed);
    reference_error += (*(p.*flow) - p.observed) * (*(p.*flow) - p.observed);
  }
  if (row.n == 0) return row;
  const auto r = ratio(forecast_error, reference_error);
  if (r) row.value = 1.0 - *r;
  return row;
}

// Sums over the pairs with limits of one group, for the interval metrics.
struct IntervalSums {
  std::size_t n = 0;
  std::size_t inside = 0;
  std::size_t below = 0;
  std::size_t above = 0;
  double width = 0.0;
  double penalty = 0.0;  // sum of (L - o)[o < L] + (o - U)[o > U]
};

IntervalSums interval_sums(const std::vector<Pair>& pairs, int lead) {
  IntervalSums s;
  for (const Pair& p : pairs) {
    if ((lead != 0 && p.lead != lead) || !p.value || !has_limits(p)) continue;
    ++s.n;
    s.width += *p.upper - *p.lower;
    if (p.observed < *p.lower) {
      ++s.below;
      s.penalty += *p.lower - p.observed;
    } else if (p.observed > *p.upper) {
      ++s.above;
      s.penalty += p.observed - *p.upper;
    } else {
      ++s.inside;
    }
  }
  return s;
}

std::optional<double> share(std::size_t count, std::size_t n) {
  if (n == 0) return std::nullopt;
  return static_cast<double>(count) / static_cast<double>(n);
}

std::optional<double> interval_score(const IntervalSums& s, int level) {
  const double alpha = 1.0 - level / 100.0;
  if (s.n == 0 || !(alpha > 0.0)) return std::nullopt;
  return (s.width + 2.0 / alpha * s.penalty) / static_cast<double>(s.n);
}

void add_for_every_group(std::vector<ScoreRow>& rows, const std::function<ScoreRow(int)>& row_of_lead) {
  for (int lead = 1; lead <= kLeads; ++lead) rows.push_back(row_of_lead(lead));
  rows.push_back(row_of_lead(0));
}

}  // namespace

std::vector<ScoreRow> score_pairs(const std::vector<Pair>& pairs, int level) {
  std::vector<ScoreRow> rows;
  for (const PointMetric& m : kPointMetrics) {
    add_for_every_group(rows, [&](int lead) {
      const Points p = points_of(pairs, lead);
      return ScoreRow{m.name, "none", lead, p.n(), m.compute(p)};
    });
  }
  add_for_every_group(rows, [&](int lead) { return skill_score(pairs, lead, "persistence", &Pair::persistence); });
  add_for_every_group(rows, [&](int lead) { return skill_score(pairs, lead, "climatology", &Pair::climatology); });

  struct IntervalMetric {
    const char* name;
    std::optional<double> (*compute)(const IntervalSums&, int level);
  };
  const IntervalMetric interval_metrics[] = {
      {"coverage", [](const IntervalSums& s, int) { return share(s.inside, s.n); }},
      {"below", [](const IntervalSums& s, int) { return share(s.below, s.n); }},
      {"above", [](const IntervalSums& s, int) { return share(s.above, s.n); }},
      {"width",
       [](const IntervalSums& s, int) -> std::optional<double> {
         if (s.n == 0) return std::nullopt;
         return s.width / static_cast<double>(s.n);
       }},
      {"interval_score", interval_score},
  };
  for (const IntervalMetric& m : interval_metrics) {
    add_for_every_group(rows, [&](int lead) {
      const IntervalSums s = interval_sums(pairs, lead);
      return ScoreRow{m.name, "none", lead, s.n, m.compute(s, level)};
    });
  }
  return rows;
}

std::vector<CaseScores> score_cases(const std::vector<CasePairs>& cases) {
  std::vector<CaseScores> scores;
  for (const CasePairs& c : cases) {
    scores.push_back({c.folder, c.location_id, c.level, score_pairs(c.pairs, c.level)});
  }
  return scores;
}

}  // namespace darcalim::hindcast
