// The combined step at the end of a combined run: the Box-Cox and
// untransformed models of the first pass and the logarithmic models of the
// second are joined into one list of 140 models (26 with a short history).
//
//  1. PREVISAO.DAT is written anew with the joined forecasts and limits;
//     every week's models are ranked by their 4-byte weekly RQEMQ (RQMMED).
//  2. The ranking is revised (VERCONSZONAL).
//  3. The error-ranking report is deleted and written anew over the joined
//     list (RELATXLS); the revised ranking becomes RANKMOD.
//  4. Each lead takes the forecast and limits of its week's first model;
//     `check` (the variability check, variability option on) may replace
//     them.
//  5. The forecast record and, with the variability option, the model-file
//     line are appended.
#pragma once

#include "driver/run.h"
#include "forecast/final_forecast.h"

namespace darcalim {

void combined_step(Run& run, const LeadCheck& check);

}  // namespace darcalim
