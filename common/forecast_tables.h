// Tables of the final forecast: every model's forecast and limits for the six
// forecast weeks, the final values of the six leads, and the joined tables of
// a combined run.
#pragma once

#include <string>

#include "common/fixed_array.h"
#include "common/table_sizes.h"

namespace darcalim {

// The final values of the six leads, in display units, and how each was kept.
struct LeadResults {
  Array<double, kLeads> PREV;
  Array<double, kLeads> LINF;
  Array<double, kLeads> LSUP;
  Array<double, kLeads> LINF0;  // LINF, or 0 when LINF is below 0
  Array<std::string, kLeads> ESCOLHA;  // 20 characters: the model kept
  Array<int, kLeads> CODESC;            // how it was found
};

// The final month of a pass, by target week t and model m, in the stored
// units of the history.
struct PassForecast {
  Array<double, kMaxWeeks, kMaxPassModels> S;     // S(t, m) = sqrt(VARRES(t, m))
  Array<double, kMaxWeeks, kMaxPassModels> P;     // forecasts in the scale of each model's series
  Array<double, kMaxWeeks, kMaxPassModels> A;     // forecasts of the transformed models, in flows
  Array<double, kMaxWeeks, kMaxPassModels> FC;    // forecasts in flows (A or P)
  Array<double, kMaxWeeks, kMaxPassModels> LOWT;  // lower limits in flows
  Array<double, kMaxWeeks, kMaxPassModels> UPPT;  // upper limits in flows
  LeadResults lead;
};

// The joined list of a combined run: forecasts and limits in flows by target
// week and joined position, and the forecast standard deviations.
struct JoinedForecast {
  Array<double, kMaxWeeks, kMaxModels> F140;
  Array<double, kMaxWeeks, kMaxModels> LOW140;
  Array<double, kMaxWeeks, kMaxModels> UP140;
  Array<double, kMaxModels, kMaxWeeks> SD140;
  Array<int, kMaxModels, kMaxWeeks> R2;           // ranking after the consistency check
  Array<std::string, kMaxWeeks> first_ranked;     // 14 characters, by week
  Array<std::string, kMaxWeeks> revised_first;    // 14 characters, by week
  LeadResults lead;
};

}  // namespace darcalim
