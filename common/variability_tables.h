// Tables of the variability check: the week-to-week ratio samples of the
// history by period and flow class, the ratio limits drawn from them, and
// what the check keeps between its calls (the ordering of the models by the
// limits of each lead, written to the error-ranking report at lead 6).
#pragma once

#include <vector>

#include "common/fixed_array.h"
#include "common/table_sizes.h"

namespace darcalim {

// Period codes CODPER: 1 weeks, 2 months, 3 quarters, 4 half-years.
inline constexpr int kPeriodCodes = 4;

// The samples kept for each period.
enum RatioClass : int {
  kTotal = 1,
  kMedianLower,
  kMedianUpper,
  kTercile1,
  kTercile2,
  kTercile3,
  kQuartile1,
  kQuartile2,
  kQuartile3,
  kQuartile4,
};
inline constexpr int kRatioClasses = 10;

// Positions q of the thresholds in LIMCLASSE(CODPER, period, q).
inline constexpr int kLim25 = 1;
inline constexpr int kLim33 = 2;
inline constexpr int kLim50 = 3;
inline constexpr int kLim66 = 4;
inline constexpr int kLim75 = 5;
inline constexpr int kThresholds = 5;

struct RatioSamples {
  Array<double, kPeriodCodes, kMaxWeeks, kThresholds> LIMCLASSE;              // (CODPER, period, q)
  Array<std::vector<double>, kPeriodCodes, kMaxWeeks, kRatioClasses> RAZOES;  // (CODPER, period, class)
  // The 4-byte keys of each sample in ascending order, as the ratio limits
  // draw from them: made at a sample's first lookup (sorted_ratio_keys) and
  // kept with it until the samples are rebuilt.
  mutable Array<std::vector<float>, kPeriodCodes, kMaxWeeks, kRatioClasses> sorted_keys;
};

struct RatioLimits {
  double RAZINF = 0.0;
  double RAZSUP = 0.0;
  double CLASSLIM[2] = {0.0, 0.0};  // flow bounds (m3/s) of the class whose sample was used
};

struct OrderedModel {
  int model = 0;
  double error = 0.0;  // the week's RQEMQ
};

struct VariabilityState {
  RatioSamples samples;
  RatioLimits limits;                 // RAZINF, RAZSUP as last drawn
  int final_forecast_once = 0;        // the samples were built for the final forecast's checks
  Array<int, kLeads> TARGET;          // target weeks of the six leads, not wrapped
  Array<std::vector<OrderedModel>, kLeads> reordered;  // models inside the limits first, by lead
};

}  // namespace darcalim
