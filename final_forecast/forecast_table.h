// PREVISAO.DAT, the forecast table: every model's six forecasts with limits.
//
// A header line (2X,A8,6X,n(2X,A14)): "SEMANA" and the 14-character names of
// the models. Then a block per lead: (4X,I4,n(F16.1)) the target week and the
// forecasts, (8X,n(F16.1)) the lower limits floored at 0, (8X,n(F16.1)) the
// upper limits, and a line of two blanks. n is the layout's repeat count:
// 94 in a pass of two series, 47 in a pass of one, the length of the joined
// list (140 or 26) in the table of a combined run; a line carries as many
// values as the table has models.
// Failure: a table that cannot be written stops the run (RunStop, from
// OutputFile).
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

// The header line with these names.
void write_forecast_table_header(OutputFile& table, const std::vector<std::string>& names);
// The header line of a pass: "SEMANA" and the names of the pass's models.
void write_forecast_table_header(OutputFile& table, const ModelList& models);

// Repeat count of the block layouts of a pass's table under a transformation
// option: 94 with two series (options 1 and 2), 47 otherwise.
int pass_table_repeat(int TIPOTRANS);

// One lead's block, in display units; `lower` is floored at 0 here.
struct ForecastTableBlock {
  int week = 0;
  std::vector<double> forecast;
  std::vector<double> lower;
  std::vector<double> upper;
};
void write_forecast_table_block(OutputFile& table, int repeat, const ForecastTableBlock& block);

// LINF0: a lower limit below 0 becomes 0 (-0.0 stays as it is).
inline double floored(double lower) { return lower < 0.0 ? 0.0 : lower; }

}  // namespace darcalim
