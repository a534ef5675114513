#include "forecast/forecast_table.h"

#include "common/layout.h"

namespace darcalim {

std::vector<std::string> forecast_table_header_names(const ModelList& models) {
  std::vector<std::string> out;
  for (int m = 1; m <= models.NMOD; ++m) out.push_back(models.model(m).heading);
  return out;
}

void write_forecast_table_header(OutputFile& table, const ModelList& models) {
  const std::vector<std::string> names = forecast_table_header_names(models);
  const Layout header("(2X,A8,6X," + std::to_string(names.size()) + "(2X,A14))");
  FieldValues values{std::string("SEMANA")};
  for (const std::string& n : names) values.emplace_back(n);
  table.write(header, values);
}

}  // namespace darcalim
