// The forecast equations: one week of the walk of one series.
//
// The simulation over the history and the final forecast both walk the years
// month by month. At the first week of a month every model starts from the
// observed state; on the k-th week of a month a model has forecast k weeks
// ahead. This is the one step that both walks take for each series and week:
//
//  1. the observed state Z shifts (Z(i + 1) = Z(i), Z(1) = Z0);
//  2. every model of the series, in model order, sets its lag buffer (the
//     observed deviations on the month's first week; otherwise its own
//     previous forecast as newest lag, except the -RO models, which keep the
//     month-start lags all month) and forecasts P(m):
//       mu(t) + sum_j phi_j * c(t, t - j) * B(j)  - theta * c(t, t - 1) * a
//     (-RO models: lags t0 - j, and for PARMA-RO the innovation a0 saved at
//     the month's first week, every week; ARMA and PARMA: the innovation a on
//     the month's first week only), with c(t, u) = sqrt(var t) / sqrt(var u)
//     and a = Z(1) - (R(m) - mu(t - 1)); R(m), the one-week-ahead forecast
//     from observed data, is updated after P(m) for moving-average models;
//  3. in the first year of the history a model of order p >= t (-RO:
//     p >= t0) forecasts the observed value itself, and R(m) takes it;
//  4. a negative forecast takes the value its reference model holds at that
//     moment: F1 for AR and ARMA, F2 for the periodic models;
//  5. SAZONAL forecasts mu(t) and CONSTANTE the overall mean; their noise
//     variances of the week become VARSEM(t) and VARGER.
//
// After the step, a transformed series returns its forecasts to flows
// (return_to_flows) and an untransformed series holds its last model within
// its band (limit_last_model). The caller sets Z0 from the week's observation;
// step_every_series does all of this for every series of the pass.
// Nothing here can fail.
#pragma once

#include <array>
#include <memory>

#include "common/fixed_array.h"
#include "common/table_sizes.h"
#include "common/model_list.h"
#include "common/parameter_store.h"
#include "common/series_statistics.h"
#include "common/series_table.h"
#include "stats/inverse_transformation.h"

namespace darcalim {

// Half-width of the bands, in standard deviations of the week.
inline constexpr double kBandDeviations = 1.96;

// State of a walk: per series, the observed deviations; per model, its lag
// buffer, forecast, one-week-ahead forecast and, for the PARMA-RO models, the
// innovation saved at the month's first week. A walk starts from zero.
struct WalkState {
  static constexpr int kMovingAverageOrders = 3;  // PARMA(1..3,1)

  Array<double, 4, kSeries> Z;        // deviations of the last four observed weeks, most recent first
  Array<double, kSeries> Z0;          // deviation of the week just processed
  Array<double, 4, kMaxPassModels> B; // lag buffers
  ModelValues P;                      // forecasts, in the scale of the series
  ModelValues R;                      // one-week-ahead forecasts from observed data
  ModelValues A;                      // forecasts of a transformed series returned to flows
  Array<double, kMovingAverageOrders, kSeries> a0;  // PARMA(p,1)-RO innovation of the month, by order
};

// The state of a walk at the end of a year. The simulation over the whole
// history keeps it at the end of `year` when asked to; the final forecast,
// whose replay of the history takes the same steps with the same parameters
// up to that year, starts each series that the checkpoint holds from it
// instead of taking those steps again. The series of a pass are walked
// independently of one another (each step of a series reads and writes only
// that series' state and its own models), so a series can be held without
// the other.
struct WalkCheckpoint {
  int year = 0;                      // the year asked for (0: none)
  std::unique_ptr<WalkState> state;  // the state at its end, once reached
  Array<bool, kSeries> holds;        // series whose part of `state` is the plain walk's
};

// Copies the state of series s (its observed deviations, and the lag
// buffers, forecasts and innovations of its models) from `from` to `to`.
void copy_series_state(const ModelList& models, int s, const WalkState& from, WalkState& to);

// The week a step forecasts.
struct StepWeek {
  int t = 1;                // target week
  int t0 = 1;               // first week of the month (first forecast week in the final month)
  bool first_week = true;   // t is the first week of the month
  bool first_year = false;  // the year is the first row of the history
  double x = 0.0;           // observed value of the week (used by the warm-up)
};

// What one series contributes to a step.
struct SeriesWalkData {
  const SeriesTable& series;         // the values of the series
  const SeriesStatistics& stats;     // of the window whose parameters are used
  const SeriesParameters& params;
};

// INISP: the state of series s at the start of year Y: zero when Y < 2,
// otherwise the deviations of the last five weeks of the year before.
void INISP(WalkState& state, int s, int Y, int NSEM, const SeriesWalkData& data);

// One week of series s: steps 1 to 5 above.
void forecast_series_week(const ModelList& models, int s, const SeriesWalkData& data, int NSEM, const StepWeek& week,
                          NoiseVariances& VARRES, WalkState& state);

// A transformed series: A = P for its models, then ATRANS with the week's
// exponent and bound, K0 = F2 and V = VARSEM(t); ATRANS may move P onto its
// band.
void return_to_flows(const ModelList& models, int s, const SeriesStatistics& stats, double LAMBDA, double LIMBC,
                     const NoiseVariances& VARRES, int t, WalkState& state);

// An untransformed series: its last model is held within
// F +- 1.96 sqrt(VARSEM(t)) around the forecast F of F2 (when F2 precedes it)
// or of F1.
void limit_last_model(const ModelList& models, int s, const SeriesStatistics& stats, int t, WalkState& state);

// Deviation of an observed value from the week's mean.
inline double deviation(const SeriesStatistics& stats, double x, int t) { return x - stats.MEDSEM(t); }

// What a step over every series of a pass reads: the model list, each
// series with the statistics and parameters of the window in use (series 1
// the transformed values or the only series, series 2 the history), and the
// transformation's exponent and bound of each week.
struct PassWalkData {
  const ModelList& models;
  std::array<SeriesWalkData, kSeries> series;
  int NSEM;
  const Array<double, kMaxWeeks>& LAMBDA;
  const Array<double, kMaxWeeks>& LIMBC;

  const SeriesWalkData& of(int s) const { return series[static_cast<std::size_t>(s - 1)]; }
};

// The week of a step over every series: target week t of history row `row`
// in a month (or final month) starting at t0; `observed` false where the
// week's observation is not yet known (the final month).
struct PassWeek {
  int row = 1;
  int t = 1;
  int t0 = 1;
  bool first_week = true;
  bool observed = true;
};

// One week of series s of the pass: the forecasts (forecast_series_week
// with the observed value of row and week), a transformed series' return to
// flows or an untransformed series' band on its last model, then, for an
// observed week, Z0 from that value.
void step_series(const PassWalkData& pass, int s, const PassWeek& week, NoiseVariances& VARRES, WalkState& state);

// step_series for every series of the pass, in series order.
void step_every_series(const PassWalkData& pass, const PassWeek& week, NoiseVariances& VARRES, WalkState& state);

}  // namespace darcalim
