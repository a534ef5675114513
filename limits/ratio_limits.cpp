#include "limits/ratio_limits.h"

#include <cstdint>
#include <stdexcept>
#include <vector>


namespace darcalim {

namespace {

// Period of the grouping that holds WEEK, or 0 when none does.
int period_of_week(const WeekGrouping& g, int WEEK) {
  for (int k = 1; k <= g.NPER; ++k) {
    if (g.INIPER(k + 1) - 1 >= WEEK) return k;
  }
  return 0;
}

struct ChosenClass {
  RatioClass sample = kTotal;
  double lower = 0.0;
  double upper = 0.0;
};

ChosenClass class_of_flow(const RatioSamples& samples, int CODPER, int P, int CODCLA, double QANT) {
  auto L = [&](int q) { return samples.LIMCLASSE(CODPER, P, q); };
  const FlowClasses c = classes_of_flow(samples, CODPER, P, QANT);
  switch (CODCLA) {
    case 2:
      return c.median == kMedianLower ? ChosenClass{c.median, 0.0, L(kLim50)}
                                      : ChosenClass{c.median, L(kLim50), kTopClassBound};
    case 3:
      switch (c.tercile) {
        case kTercile1:
          return {c.tercile, 0.0, L(kLim33)};
        case kTercile2:
          return {c.tercile, L(kLim33), L(kLim66)};
        default:
          return {c.tercile, L(kLim66), kTopClassBound};
      }
    case 4:
      switch (c.quartile) {
        case kQuartile1:
          return {c.quartile, 0.0, L(kLim25)};
        case kQuartile2:
          return {c.quartile, L(kLim25), L(kLim50)};
        case kQuartile3:
          return {c.quartile, L(kLim50), L(kLim75)};
        default:
          return {c.quartile, L(kLim75), kTopClassBound};
      }
    default:
      return {kTotal, 0.0, 0.0};
  }
}

}  // namespace

void DETLIMITE(const RatioSamples& samples, const WeekGroupings& GRUPO, double PA, double PB, int WEEK,
               int CODPER, int CODCLA, double QANT, int NSEM, RatioLimits& limits) {
  if (CODPER < 1 || CODPER > kPeriodCodes || CODCLA < 1 || CODCLA > 4) return;
  if (WEEK < 1 || WEEK > NSEM) return;
  int k = WEEK;
  int P = WEEK == 1 ? NSEM : WEEK - 1;
  if (CODPER != 1) {
    k = period_of_week(GRUPO(grouping_of_period_code(CODPER)), WEEK);
    if (k == 0) return;
    P = k;
  }
  const ChosenClass chosen = class_of_flow(samples, CODPER, P, CODCLA, QANT);
  const std::vector<double>& sample = samples.RAZOES(CODPER, k, chosen.sample);
  if (sample.empty()) return;
  if (sample.size() > kMaxRatioKeys) throw std::length_error("ratio sample longer than the sort can hold");

  const std::vector<float>& keys = sorted_ratio_keys(samples, CODPER, k, chosen.sample);
  const bool doubled = (CODPER == 1 || CODPER == 2) && sample.size() == 1;
  if (keys.size() != sample.size() + (doubled ? 1 : 0)) {
    throw std::logic_error("ratio sample without its sorted keys");
  }
  const int n = static_cast<int>(keys.size());

  // First position whose percentage reaches `percent`, or 0 when none does.
  auto position = [&](double percent) {
    for (int i = 1; i <= n; ++i) {
      if (!(static_cast<double>(i) / static_cast<double>(n) * 100.0 < percent)) return i;
    }
    return 0;
  };
  const int iL = position(PA);
  const int iU = position(PB);
  if (iL == 0 || iU == 0) return;
  auto key_at = [&](int i) { return static_cast<double>(keys[static_cast<std::size_t>(i - 1)]); };
  limits.RAZINF = key_at(iL);
  limits.RAZSUP = key_at(iU);
  limits.CLASSLIM[0] = chosen.lower;
  limits.CLASSLIM[1] = chosen.upper;
}

}  // namespace darcalim
