// What the variability check keeps between its calls: the ratio samples of
// the history, the ratio limits last drawn, and the ordering of the models by
// the limits of each lead (written to the error-ranking report at lead 6).
#pragma once

#include <vector>

#include "common/fixed_array.h"
#include "common/limits.h"
#include "limits/ratio_limits.h"
#include "limits/ratio_samples.h"

namespace darcalim {

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
