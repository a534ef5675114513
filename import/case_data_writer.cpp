#include "import/case_data_writer.h"

#include "common/layout.h"
#include "common/layout_notation.h"
#include "driver/case_data_layout.h"
#include "import/import_error.h"

namespace darcalim::import {

namespace {

// The width of the single field of a line's layout.
int field_width(const char* layout) {
  for (const auto& step : layout_detail::expand_notation(layout).steps) {
    if (step.kind != layout_detail::Step::Kind::kNewLine) return step.width;
  }
  return 0;
}

std::string name_line(const CaseDataLine& line, const std::string& name) {
  if (name.empty() || name.size() > static_cast<std::size_t>(field_width(line.layout))) {
    throw ImportError("line " + std::to_string(line.number) + " of the case data file: the name \"" + name +
                      "\" must have 1 to " + std::to_string(field_width(line.layout)) + " characters");
  }
  return name + "\n";
}

std::string number_line(const CaseDataLine& line, int value) {
  const std::string text = Layout(line.layout).write({std::int64_t{value}});
  if (text.find('*') != std::string::npos) {
    throw ImportError("line " + std::to_string(line.number) + " of the case data file: " + std::to_string(value) +
                      " does not fit its layout " + line.layout);
  }
  return text;
}

}  // namespace

std::string case_index_text(const NewCase& c) {
  return name_line(CaseDataLine{1, kCaseIndexLine}, c.case_file_name);
}

std::string case_data_text(const NewCase& c) {
  using namespace case_data_line;
  return name_line(kReportName, c.report_name) + name_line(kPrintParameters, c.print_parameters) +
         name_line(kHistoryName, c.history_name) + number_line(kTransformation, c.option) +
         number_line(kStartMonth, c.start_month) + name_line(kForecastFileName, c.forecast_file_name) +
         name_line(kRankingReportName, c.ranking_report_name) + number_line(kConfidence, c.level) +
         number_line(kForecastWeek, c.forecast_week) + number_line(kForecastYear, c.forecast_year) +
         number_line(kTrendSource, c.trend_source) + name_line(kRecentFlowName, c.recent_flow_name) +
         number_line(kEstimationYear, c.estimation_year) + number_line(kStation, c.station_number) +
         number_line(kVariability, c.variability_option) + name_line(kPercentileName, c.percentile_name) +
         number_line(kWeeksPerYear, c.weeks_per_year == 53 ? 1 : 0);
}

}  // namespace darcalim::import
