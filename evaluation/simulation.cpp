#include "evaluation/simulation.h"

#include <cmath>
#include <memory>
#include <span>

#include "common/flow_history.h"
#include "forecast/model_step.h"

namespace darcalim {

namespace {

// The forecast of model m in the stored units of the history.
double stored_forecast(const ModelList& models, const WalkState& state, int m) {
  return models.transformed(m) ? state.A(m) : state.P(m);
}

}  // namespace

void SIMPREV(const SimulationInputs& in, int c, const Window& eval, const SimulationOutputs& out,
             const std::function<void()>& read_percentiles, const SimulationClamp& clamp) {
  const PassWalkData& pass = in.walk;
  const ModelList& models = pass.models;
  const int NSEM = pass.NSEM;
  const int NMOD = models.NMOD;
  const double FAC = in.FAC;
  const int option = in.variability_option;
  const WeekGrouping& months = in.groupings(kMonthsGrouping);
  SimulationErrors& simulation = out.errors;
  auto state = std::make_unique<WalkState>();
  for (int s = 1; s <= models.series_count; ++s) INISP(*state, s, eval.first, NSEM, pass.of(s));
  Array<double, kMaxWeeks, kMaxPassModels> squares;
  ModelValues D;
  std::array<double, kMaxPassModels> record{};
  int record_number = 0;
  out.records.reserve(eval.years() * NSEM);
  Array<bool, kSeries> moved;  // the clamp moved a forecast that the series' walk carries on
  for (int Y = eval.first; Y <= eval.last; ++Y) {
    for (int M = 1; M <= kMonths; ++M) {
      const int t0 = months.INIPER(M);
      for (int t = t0; t <= months.INIPER(M + 1) - 1; ++t) {
        step_every_series(pass, {Y, t, t0, t == t0, true}, out.VARRES, *state);
        const double O = display_value(in.history(Y, t), FAC);
        for (int m = 1; m <= NMOD; ++m) D(m) = display_value(stored_forecast(models, *state, m), FAC);
        if (option == 1 || option == 2) {
          if (record_number == 0 && read_percentiles) read_percentiles();
        }
        if (option == 1 && clamp) {
          ModelValues adjusted = D;
          clamp(c, Y, t, adjusted);
          for (int m = 1; m <= NMOD; ++m) {
            if (adjusted(m) == D(m)) continue;
            D(m) = adjusted(m);
            if (models.transformed(m)) {
              state->A(m) = stored_value(D(m), FAC);
            } else {
              state->P(m) = stored_value(D(m), FAC);
              moved(models.model(m).series) = true;
            }
          }
        }
        for (int m = 1; m <= NMOD; ++m) {
          const double e = D(m) - O;
          squares(t, m) += e * e;
        }
        ++record_number;
        for (int m = 1; m <= NMOD; ++m) record[static_cast<std::size_t>(m - 1)] = stored_forecast(models, *state, m);
        out.records.write(record_number, std::span<const double>(record.data(), static_cast<std::size_t>(NMOD)));
      }
    }
    if (out.checkpoint != nullptr && Y == out.checkpoint->year) {
      out.checkpoint->state = std::make_unique<WalkState>(*state);
      for (int s = 1; s <= kSeries; ++s) out.checkpoint->holds(s) = !moved(s);
    }
  }
  const double years = eval.years();
  for (int m = 1; m <= NMOD; ++m) {
    for (int t = 1; t <= NSEM; ++t) simulation.RQMSEM(c, t, m) = std::sqrt(squares(t, m) / years);
  }
  if (c != 2) return;
  for (int t = 1; t <= NSEM; ++t) {
    for (int m = 1; m <= NMOD; ++m) {
      simulation.RQMMED(t, m + in.joined_offset) =
          static_cast<float>((simulation.RQMSEM(1, t, m) + simulation.RQMSEM(2, t, m)) / 2.0);
    }
  }
}

}  // namespace darcalim
