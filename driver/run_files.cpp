#include "driver/run_files.h"

#include <system_error>

#include "common/file_access.h"
#include "common/field_codecs.h"
#include "common/output_file.h"
#include "common/record_file.h"
#include "driver/case_data_layout.h"
#include "driver/case_file.h"
#include "driver/run_trace.h"
#include "final_forecast/forecast_table.h"

namespace darcalim {

namespace {

bool writes_boxcox_report(int option) { return option == 2 || option == 4 || option == kCombinedOption; }

bool is_record_file(const std::string& name) { return name == kHalfRecordsFileName || name == kTotalRecordsFileName; }

}  // namespace

std::vector<RunFileName> fixed_outputs() {
  return {{kForecastTableFileName, "forecast table"},
          {kHalfRecordsFileName, "record file of the half windows"},
          {kTotalRecordsFileName, "record file of the whole history"},
          {kTraceFileName, "trace file"},
          {kStateFileName, "state file"}};
}

std::vector<RunFileName> case_outputs(const CaseSettings& c) {
  constexpr int kReportLine = case_data_line::kReportName.number;
  const std::string report = trimmed(c.report_name);
  std::vector<RunFileName> files{{report, "run report", kReportLine}};
  if (writes_boxcox_report(c.TIPOTRANS)) {
    files.push_back({trimmed(boxcox_report_name(report)), "Box-Cox report", kReportLine, true});
  }
  if (c.variability_option != 0) files.push_back({trimmed(model_file_name(report)), "model file", kReportLine, true});
  files.push_back({trimmed(c.forecast_file_name), "appended forecast file", case_data_line::kForecastFileName.number});
  files.push_back(
      {trimmed(c.ranking_report_name), "error-ranking report", case_data_line::kRankingReportName.number});
  return files;
}

std::vector<RunFileName> case_inputs(const CaseSettings& c) {
  std::vector<RunFileName> files{{c.case_file_name, "case data file", 0},
                                 {trimmed(c.history_name), "history", case_data_line::kHistoryName.number}};
  if (c.trend_source == 0) {
    files.push_back({trimmed(c.vazpasts_name), "recent-flow file", case_data_line::kRecentFlowName.number});
  }
  if (c.variability_option != 0) {
    files.push_back({trimmed(c.percentile_name), "percentile file", case_data_line::kPercentileName.number});
  }
  return files;
}

std::vector<std::string> all_run_file_names(const CaseSettings& c) {
  std::vector<std::string> names{kCaseIndexFileName};
  for (const auto& list : {case_inputs(c), case_outputs(c), fixed_outputs()}) {
    for (const RunFileName& f : list) names.push_back(f.name);
  }
  return names;
}

void check_fixed_outputs(const std::filesystem::path& folder) {
  for (const RunFileName& f : fixed_outputs()) {
    const std::filesystem::path path = folder / f.name;
    const std::string kind = irregular_kind(path, false);
    if (!kind.empty()) stop_cannot_write(path, kind + " has its name");
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (!ec && is_record_file(f.name)) require_whole_records(path, size);
  }
}

}  // namespace darcalim
