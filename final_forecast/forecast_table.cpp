#include "final_forecast/forecast_table.h"

#include <cstdint>

#include "common/layout.h"

namespace darcalim {

namespace {

constexpr int kTwoSeriesRepeat = 94;
constexpr int kOneSeriesRepeat = 47;

FieldValues field_values(const std::vector<double>& values, bool floor) {
  FieldValues out;
  out.reserve(values.size());
  for (const double v : values) out.emplace_back(floor ? floored(v) : v);
  return out;
}

}  // namespace

std::vector<std::string> forecast_table_header_names(const ModelList& models) {
  std::vector<std::string> out;
  for (int m = 1; m <= models.NMOD; ++m) out.push_back(models.model(m).heading);
  return out;
}

void write_forecast_table_header(OutputFile& table, const std::vector<std::string>& names) {
  const Layout header("(2X,A8,6X," + std::to_string(names.size()) + "(2X,A14))");
  FieldValues values{std::string("SEMANA")};
  for (const std::string& n : names) values.emplace_back(n);
  table.write(header, values);
}

void write_forecast_table_header(OutputFile& table, const ModelList& models) {
  write_forecast_table_header(table, forecast_table_header_names(models));
}

int pass_table_repeat(int TIPOTRANS) {
  return (TIPOTRANS == 1 || TIPOTRANS == 2) ? kTwoSeriesRepeat : kOneSeriesRepeat;
}

void write_forecast_table_block(OutputFile& table, int repeat, const ForecastTableBlock& block) {
  const std::string n = std::to_string(repeat);
  const Layout forecasts("(4X,I4," + n + "(F16.1))");
  const Layout limits("(8X," + n + "(F16.1))");
  FieldValues line{std::int64_t{block.week}};
  for (FieldValue& v : field_values(block.forecast, false)) line.push_back(std::move(v));
  table.write(forecasts, line);
  table.write(limits, field_values(block.lower, true));
  table.write(limits, field_values(block.upper, false));
  table.write_free({std::string("  ")});
}

}  // namespace darcalim
