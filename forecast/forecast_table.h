// PREVISAO.DAT, the forecast table: every model's six forecasts with limits.
#pragma once

#include <string>
#include <vector>

#include "common/model_list.h"
#include "common/output_file.h"

namespace darcalim {

inline const char* const kForecastTableFileName = "PREVISAO.DAT";

// Column names of the table's header, 14 characters each, one per model of
// the pass's list in model order: the models' headings (the abbreviated names
// with 20 or more complete years, the 20-character names cut to 14 otherwise).
std::vector<std::string> forecast_table_header_names(const ModelList& models);

// Writes the header line (2X,A8,6X,n(2X,A14)) to the forecast table:
// "SEMANA" and the names of the pass's models.
void write_forecast_table_header(OutputFile& table, const ModelList& models);

}  // namespace darcalim
