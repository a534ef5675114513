// PREVISAO.DAT, the forecast table: every model's six forecasts with limits.
#pragma once

#include <string>
#include <vector>

#include "common/model_names.h"
#include "common/run.h"

namespace darcalim {

inline const char* const kForecastTableFileName = "PREVISAO.DAT";

// Column names of the table's header, 14 characters each, by option and
// history length: NOMEABR names with 20 or more complete years, the short
// 20-character lists cut to 14 otherwise.
std::vector<std::string> forecast_table_header_names(int TIPOTRANS, int NANOS, const ModelNameLists& names);

// Writes the header line (2X,A8,6X,n(2X,A14)): "SEMANA" and the names.
void write_forecast_table_header(Run& run);

}  // namespace darcalim
