// The tidy summary of a batch: the forecasts of every folder, as CSV or JSON.
//
// CSV: one row per station and lead,
//   location_id,location_name,issue_year,issue_week,lead_weeks,target_week,
//   value,lower,upper,level,model,unit,folder,state,message
// and, for a run that stopped, one row with its folder, state and message and
// no forecast. JSON: one time series per folder, with the header items of the
// common hydrological exchange format (locationId, parameterId, units,
// timeStep, forecastDate, missVal), its events (one per lead) and the run's
// state and message; a missing value is null.
//
// value, lower and upper are the numbers of the appended forecast record
// (F9.1: the forecast, the lower limit floored at 0, the upper limit).
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "batch/batch_options.h"
#include "batch/batch_runner.h"

namespace darcalim::batch {

inline constexpr const char* kSummarySchemaName = "darcalim-forecast-summary";
inline constexpr int kSummarySchemaVersion = 1;
inline constexpr const char* kFlowUnit = "m3/s";
inline constexpr const char* kParameterId = "Q.mean.week";

void write_csv_summary(std::ostream& out, const std::vector<FolderOutcome>& outcomes);
void write_json_summary(std::ostream& out, const std::vector<FolderOutcome>& outcomes);
void write_summary(std::ostream& out, SummaryFormat format, const std::vector<FolderOutcome>& outcomes);

// Date (YYYY-MM-DD) of the Saturday that starts operating week `week` of
// `year` (week 1 holds 1 January).
std::string week_start_date(int year, int week);

}  // namespace darcalim::batch
