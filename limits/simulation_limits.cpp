#include "limits/simulation_limits.h"

#include <vector>

#include "common/flow_history.h"
#include "evaluation/sorting.h"
#include "limits/ratio_limits.h"
#include "limits/ratio_samples.h"

namespace darcalim {

namespace {

struct SampleYears {
  int first = 0;
  int last = 0;
};

SampleYears sample_years(const Window& whole, const Window& eval) {
  if (eval.first >= 2) return {1, eval.first - 1};
  if (eval.first == whole.first && eval.last == whole.last) return {eval.first, eval.last};
  return {eval.last + 1, 2 * eval.last};
}

// The 4-byte ratios of week t over the week before in the sample years, in
// ascending order (the first week of the history, which has no week before,
// gives 1; a week before of zero flow gives none).
std::vector<float> sorted_week_ratios(const SeriesTable& O, SampleYears years, int t, int NSEM) {
  std::vector<float> ratios;
  for (int y = years.first; y <= years.last && y <= kMaxYears; ++y) {
    if (y == 1 && t == 1) {
      ratios.push_back(1.0f);
      continue;
    }
    const double denominator = t == 1 ? O(y - 1, NSEM) : O(y, t - 1);
    if (denominator == 0.0) continue;
    ratios.push_back(static_cast<float>(O(y, t) / denominator));
  }
  return ascending_values(ratios);
}

// RAZINF and RAZSUP at the week's percentiles of the sample years' ratios.
WeekBand week_band(const SeriesTable& O, SampleYears years, int t, int NSEM, const PercentileTable& perc) {
  WeekBand band;
  band.drawn = true;
  const std::vector<float> ratios = sorted_week_ratios(O, years, t, NSEM);
  const int n = static_cast<int>(ratios.size());
  if (n == 0) return band;
  auto position = [&](double percentile) {
    for (int k = 1; k <= n; ++k) {
      if (static_cast<double>(k) / n * 100.0 >= percentile) return k;
    }
    return 0;
  };
  const int iL = position(perc.PERCINF(t));
  const int iU = position(perc.PERCSUP(t));
  if (iL == 0 || iU == 0) return band;
  band.found = true;
  band.RAZINF = ratios[static_cast<std::size_t>(iL - 1)];
  band.RAZSUP = ratios[static_cast<std::size_t>(iU - 1)];
  return band;
}

}  // namespace

void display_flows(const SeriesTable& history, double FAC, SeriesTable& O) {
  for (int y = 1; y <= kMaxYears; ++y) {
    for (int w = 1; w <= kMaxWeeks; ++w) O(y, w) = display_value(history(y, w), FAC);
  }
}

void VARIHIDRO(const SimulationLimitInputs& in, const Window& eval, int Y, int t, ModelValues& D,
               const SimulationLimitOutputs& out) {
  const SeriesTable& O = in.O;
  const int NSEM = in.NSEM;
  const SampleYears years = sample_years(in.whole, eval);
  if (out.samples_built == 0) {
    VAZSEMPER(O, years.first, years.last > kMaxYears ? kMaxYears : years.last, in.groupings, NSEM, out.samples,
              out.samples_built);
  }
  RatioLimits& limits = out.limits;
  const PercentileTable& perc = in.percentiles;
  WeekBand& band = out.week_bands.band(t);
  if (!band.drawn) band = week_band(O, years, t, NSEM, perc);
  if (band.found) {
    limits.RAZINF = band.RAZINF;
    limits.RAZSUP = band.RAZSUP;
  }
  double Qp = 0.0;
  if (t == 1) {
    Qp = Y == 1 ? O(Y, t) : O(Y - 1, NSEM);
  } else {
    Qp = O(Y, t - 1);
  }
  DETLIMITE(out.samples, in.groupings, perc.PERCINF(t), perc.PERCSUP(t), t, perc.CODPER, perc.CODCLA, Qp, NSEM, limits);
  if (Qp == 0.0) return;
  for (int m = 1; m <= in.NMOD; ++m) {
    const double ratio = static_cast<float>(D(m) / Qp);
    if (ratio > limits.RAZSUP) {
      D(m) = limits.RAZSUP * Qp;
    } else if (ratio < limits.RAZINF) {
      D(m) = limits.RAZINF * Qp;
    }
  }
}

}  // namespace darcalim
