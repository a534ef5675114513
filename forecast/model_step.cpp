#include "forecast/model_step.h"

#include <cmath>

namespace darcalim {

namespace {

constexpr int kNP = 4;  // highest autoregressive order

// Week t - j of the year, or of the year before when it falls before week 1.
int lagged_week(int t, int j, int NSEM) { return t - j < 1 ? NSEM + t - j : t - j; }

// The coefficients a model applies to week t: phi(1..p), read in place from
// its column of the parameter table, and theta.
struct Coefficients {
  const double* phi = nullptr;
  double theta = 0.0;
};

// phi(1..p) from a column of a parameter table (its first index running
// fastest), and theta after them when the model has one.
Coefficients column(const double* first, int p, bool with_theta) {
  return Coefficients{first, with_theta ? first[p] : 0.0};
}

Coefficients coefficients_of(const ModelInfo& info, const SeriesParameters& par, int t) {
  const int p = info.order;
  switch (info.family) {
    case ModelFamily::kAr:
      return column(&par.FIAR(1, p), p, false);
    case ModelFamily::kArma:
      return column(&par.FIARMA(1, p), p, true);
    case ModelFamily::kPar:
      return column(&par.FIPAR(1, t, p, info.grouping), p, false);
    case ModelFamily::kParRo:
      return column(&par.FIPARRO(1, t, p), p, false);
    case ModelFamily::kParma:
      return column(&par.FIPARMA(1, t, p, info.grouping), p, true);
    case ModelFamily::kParmaRr:
      return column(&par.FIPARMAR(1, t, p), p, true);
    case ModelFamily::kParmaRo:
      return column(&par.FIPARMARO(1, t, p), p, true);
    case ModelFamily::kSazonal:
    case ModelFamily::kConstante:
      break;
  }
  return Coefficients{};
}

// Everything one week of one series needs. The scale factors
// c(t, u) = sqrt(var t) / sqrt(var u) of the lags of t and of t0 are formed
// once per week.
struct SeriesWeek {
  SeriesWeek(const SeriesStatistics& statistics, int nsem, const StepWeek& step)
      : stats(statistics), NSEM(nsem), week(step) {
    mu_t = stats.MEDSEM(week.t);
    mu_before = stats.MEDSEM(lag(week.t, 1));
    const double sd_t = std::sqrt(stats.VARSEM(week.t));
    for (int j = 1; j <= kNP; ++j) {
      scale_t[j - 1] = sd_t / std::sqrt(stats.VARSEM(lag(week.t, j)));
      scale_t0[j - 1] = sd_t / std::sqrt(stats.VARSEM(lag(week.t0, j)));
    }
  }

  int lag(int t, int j) const { return lagged_week(t, j, NSEM); }
  // c(t, base - j) for base t or t0.
  double scale(bool from_month_start, int j) const {
    return from_month_start ? scale_t0[j - 1] : scale_t[j - 1];
  }

  const SeriesStatistics& stats;
  const int NSEM;
  const StepWeek& week;
  double mu_t = 0.0;       // mean of week t
  double mu_before = 0.0;  // mean of the week before t
  double scale_t[kNP] = {};
  double scale_t0[kNP] = {};
};

void shift_observed_state(WalkState& st, int s) {
  for (int i = 3; i >= 1; --i) st.Z(i + 1, s) = st.Z(i, s);
  st.Z(1, s) = st.Z0(s);
}

// The lags a model applies this week, newest first: `newest`, then
// older[0..2]. The sum reads them before the model's buffer is rewritten:
// a buffer read back right after it was shifted in memory stalls the
// processor on every model and week.
struct Lags {
  double newest;
  const double* older;
};

// On the month's first week the observed deviations Z; for a -RO model the
// month-start lags it keeps, B; otherwise its previous forecast as newest
// lag before its buffer B(1..3).
Lags lags_of(const ModelInfo& info, const SeriesWeek& w, double previous_forecast, const double* Z, const double* B) {
  if (w.week.first_week) return Lags{Z[0], Z + 1};
  if (info.is_month_start) return Lags{B[0], B + 1};
  return Lags{previous_forecast - w.mu_before, B};
}

// B(1..4) of the model become its lags of this week (older may point into B).
void keep_lags(const Lags& lags, double* B) {
  for (int j = kNP - 1; j >= 1; --j) B[j] = lags.older[j - 1];
  B[0] = lags.newest;
}

// sum over j = 1..p of phi_j * c(t, base - j) * v_j, base t or t0.
double lag_sum(const Coefficients& c, int p, const SeriesWeek& w, bool from_month_start, const Lags& v) {
  const double* scale = from_month_start ? w.scale_t0 : w.scale_t;
  double sum = 0.0;
  if (p == 0) return sum;
  sum += c.phi[0] * scale[0] * v.newest;
  for (int j = 1; j < p; ++j) sum += c.phi[j] * scale[j] * v.older[j - 1];
  return sum;
}

// The one-week-ahead forecast of week t from the observed deviations Z.
double one_week_ahead(const Coefficients& c, int p, const SeriesWeek& w, const double* Z, double innovation) {
  const double sum = lag_sum(c, p, w, false, Lags{Z[0], Z + 1});
  return w.mu_t + sum - c.theta * w.scale(false, 1) * innovation;
}

void forecast_model(const ModelInfo& info, const SeriesWeek& w, const SeriesWalkData& data, const SeriesModels& series,
                    int m, int s, NoiseVariances& VARRES, WalkState& st) {
  const int t = w.week.t;
  const int t0 = w.week.t0;
  if (info.family == ModelFamily::kSazonal) {
    st.P(m) = w.mu_t;
    VARRES(t, m) = data.stats.VARSEM(t);
    return;
  }
  if (info.family == ModelFamily::kConstante) {
    st.P(m) = data.stats.MEDGER;
    VARRES(t, m) = data.stats.VARGER;
    return;
  }
  const double* Z = &st.Z(1, s);
  double* B = &st.B(1, m);
  const Lags lags = lags_of(info, w, st.P(m), Z, B);
  const int p = info.order;
  if (w.week.first_year && p >= (info.is_month_start ? t0 : t)) {
    keep_lags(lags, B);
    st.P(m) = w.week.x;
    st.R(m) = w.week.x;
    return;
  }
  const Coefficients c = coefficients_of(info, data.params, t);
  const double innovation = Z[0] - (st.R(m) - w.mu_before);
  const double sum = lag_sum(c, p, w, info.is_month_start, lags);
  keep_lags(lags, B);
  double forecast = w.mu_t + sum;
  if (info.family == ModelFamily::kParmaRo) {
    if (w.week.first_week) st.a0(p, s) = innovation;
    forecast = forecast - c.theta * w.scale(true, 1) * st.a0(p, s);
  } else if (info.has_moving_average && w.week.first_week) {
    forecast = forecast - c.theta * w.scale(false, 1) * innovation;
  }
  const int reference = info.is_periodic ? series.F2 : series.F1;
  if (forecast < 0.0 && reference != m) forecast = st.P(reference);
  st.P(m) = forecast;
  if (info.has_moving_average) st.R(m) = one_week_ahead(c, p, w, Z, innovation);
}

}  // namespace

void INISP(WalkState& state, int s, int Y, int NSEM, const SeriesWalkData& data) {
  if (Y < 2) {
    for (int i = 1; i <= kNP; ++i) state.Z(i, s) = 0.0;
    state.Z0(s) = 0.0;
    return;
  }
  for (int i = 1; i <= kNP; ++i) state.Z(i, s) = deviation(data.stats, data.series(Y - 1, NSEM - i), NSEM - i);
  state.Z0(s) = deviation(data.stats, data.series(Y - 1, NSEM), NSEM);
}

void forecast_series_week(const ModelList& models, int s, const SeriesWalkData& data, int NSEM, const StepWeek& week,
                          NoiseVariances& VARRES, WalkState& state) {
  const SeriesWeek w{data.stats, NSEM, week};
  const SeriesModels& series = models.series(s);
  shift_observed_state(state, s);
  for (int m = series.first; m <= series.last; ++m) {
    forecast_model(models.model(m), w, data, series, m, s, VARRES, state);
  }
}

void return_to_flows(const ModelList& models, int s, const SeriesStatistics& stats, double LAMBDA, double LIMBC,
                     const NoiseVariances& VARRES, int t, WalkState& state) {
  const SeriesModels& series = models.series(s);
  for (int m = series.first; m <= series.last; ++m) state.A(m) = state.P(m);
  ATRANS(state.P, state.A, LAMBDA, VARRES, series.last, t, LIMBC, series.F2, stats.VARSEM(t));
}

void limit_last_model(const ModelList& models, int s, const SeriesStatistics& stats, int t, WalkState& state) {
  const SeriesModels& series = models.series(s);
  const int last = series.last;
  int centre_model = 0;
  if (series.F2 < last) {
    centre_model = series.F2;
  } else if (last >= 2) {
    centre_model = series.F1;
  } else {
    return;
  }
  const double centre = state.P(centre_model);
  const double half_width = kBandDeviations * std::sqrt(stats.VARSEM(t));
  const double upper = centre + half_width;
  const double lower = centre - half_width;
  if (state.P(last) > upper) {
    state.P(last) = upper;
  } else if (state.P(last) < lower) {
    state.P(last) = lower;
  }
}

void step_series(const PassWalkData& pass, int s, const PassWeek& week, NoiseVariances& VARRES, WalkState& state) {
  const ModelList& models = pass.models;
  const SeriesWalkData& data = pass.of(s);
  StepWeek step;
  step.t = week.t;
  step.t0 = week.t0;
  step.first_week = week.first_week;
  step.first_year = week.row == 1;
  step.x = data.series(week.row, week.t);
  forecast_series_week(models, s, data, pass.NSEM, step, VARRES, state);
  if (models.series(s).transformed) {
    return_to_flows(models, s, data.stats, pass.LAMBDA(week.t), pass.LIMBC(week.t), VARRES, week.t, state);
  } else {
    limit_last_model(models, s, data.stats, week.t, state);
  }
  if (week.observed) state.Z0(s) = deviation(data.stats, step.x, week.t);
}

void step_every_series(const PassWalkData& pass, const PassWeek& week, NoiseVariances& VARRES, WalkState& state) {
  for (int s = 1; s <= pass.models.series_count; ++s) step_series(pass, s, week, VARRES, state);
}

void copy_series_state(const ModelList& models, int s, const WalkState& from, WalkState& to) {
  for (int i = 1; i <= kNP; ++i) to.Z(i, s) = from.Z(i, s);
  to.Z0(s) = from.Z0(s);
  for (int p = 1; p <= WalkState::kMovingAverageOrders; ++p) to.a0(p, s) = from.a0(p, s);
  for (int m = models.series(s).first; m <= models.series(s).last; ++m) {
    for (int j = 1; j <= kNP; ++j) to.B(j, m) = from.B(j, m);
    to.P(m) = from.P(m);
    to.R(m) = from.R(m);
    to.A(m) = from.A(m);
  }
}

}  // namespace darcalim
