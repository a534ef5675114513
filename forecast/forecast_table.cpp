#include "forecast/forecast_table.h"

#include "common/layout.h"
#include "common/model_catalogue.h"

namespace darcalim {

namespace {

std::string cut(const std::string& name) { return name.substr(0, kShortNameWidth); }

std::vector<std::string> long_history_names(int TIPOTRANS) {
  std::vector<std::string> out;
  auto add = [&](bool transformed, int last) {
    for (int pos = 1; pos <= last; ++pos) out.push_back(NOMEABR(pos, transformed));
  };
  switch (TIPOTRANS) {
    case 0: add(false, kBaseModels); break;
    case 1: add(true, kBaseModels); add(false, kBaseModels); break;
    case 2: add(true, kSazonalPosition); add(false, kBaseModels); break;
    case 3: add(true, kBaseModels); break;
    default: add(true, kSazonalPosition); break;
  }
  return out;
}

std::vector<std::string> short_history_names(int TIPOTRANS, const ModelNameLists& names) {
  std::vector<std::string> out;
  auto add_combined = [&](int first, int last) {
    for (int i = first; i <= last; ++i) out.push_back(cut(names.short_combined(i)));
  };
  switch (TIPOTRANS) {
    case 0: add_combined(9, 17); break;
    case 1:
      for (int k = 1; k <= kShortBaseModels; ++k) out.push_back(cut(names.short_plain_and_log(k, 2)));
      for (int k = 1; k <= kShortBaseModels; ++k) out.push_back(cut(names.short_plain_and_log(k, 1)));
      break;
    case 2: add_combined(1, 17); break;
    case 3: add_combined(18, 26); break;
    default:
      for (int k = 1; k < kShortBaseModels; ++k) out.push_back(cut(names.short_boxcox(k)));
      break;
  }
  return out;
}

}  // namespace

std::vector<std::string> forecast_table_header_names(int TIPOTRANS, int NANOS, const ModelNameLists& names) {
  return is_short_history(NANOS) ? short_history_names(TIPOTRANS, names) : long_history_names(TIPOTRANS);
}

void write_forecast_table_header(Run& run) {
  const std::vector<std::string> names = forecast_table_header_names(run.CASO.TIPOTRANS, run.history.NANOS, run.names);
  const Layout header("(2X,A8,6X," + std::to_string(names.size()) + "(2X,A14))");
  FieldValues values{std::string("SEMANA")};
  for (const std::string& n : names) values.emplace_back(n);
  run.forecast_table.write(header, values);
}

}  // namespace darcalim
