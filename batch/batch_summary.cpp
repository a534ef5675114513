#include "batch/batch_summary.h"

#include <chrono>

#include <nlohmann/json.hpp>

#include "common/layout.h"
#include "tools/csv_text.h"

namespace darcalim::batch {

namespace {

nlohmann::json number_or_null(const std::optional<double>& value) {
  return value ? nlohmann::json(*value) : nlohmann::json(nullptr);
}

// The run's texts are single-byte (the station name as the history file has
// it); bytes above 127 are taken as Latin-1 so that the JSON is valid UTF-8.
std::string utf8(const std::string& text) {
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      out += c;
    } else {
      out += static_cast<char>(0xC0 | (byte >> 6));
      out += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return out;
}

}  // namespace

std::string week_start_date(int year, int week) {
  using namespace std::chrono;
  const sys_days january_first = std::chrono::year{year} / January / 1;
  const weekday day{january_first};
  const auto back = (day - Saturday).count();  // days since the Saturday on or before 1 January
  const year_month_day start{january_first - days{back} + days{7 * (week - 1)}};
  return format_integer(static_cast<int>(start.year()), 4, 4) + "-" +
         format_integer(static_cast<unsigned>(start.month()), 2, 2) + "-" +
         format_integer(static_cast<unsigned>(start.day()), 2, 2);
}

void write_csv_summary(std::ostream& out, const std::vector<FolderOutcome>& outcomes) {
  write_csv_row(out, {"location_id", "location_name", "issue_year", "issue_week", "lead_weeks", "target_week", "value",
                      "lower", "upper", "level", "model", "unit", "folder", "state", "message"});
  for (const FolderOutcome& o : outcomes) {
    const RunResult& r = o.result;
    const std::string id = r.station_code == 0 ? "" : std::to_string(r.station_code);
    const std::string year = r.year == 0 ? "" : std::to_string(r.year);
    const std::string week = r.week == 0 ? "" : std::to_string(r.week);
    if (!r.normal_end()) {
      write_csv_row(out, {id, r.station_name, year, week, "", "", "", "", "", "", "", "", o.folder.string(),
                          state_name(r), r.message});
      continue;
    }
    for (const LeadForecast& l : r.leads) {
      write_csv_row(
          out, {id, r.station_name, year, week, std::to_string(l.lead), std::to_string(l.target_week),
                l.value ? l.value_text : "", l.lower ? l.lower_text : "", l.upper ? l.upper_text : "",
                std::to_string(r.confidence_level), l.model, kFlowUnit, o.folder.string(), state_name(r), r.message});
    }
  }
}

void write_json_summary(std::ostream& out, const std::vector<FolderOutcome>& outcomes) {
  using nlohmann::json;
  json series = json::array();
  for (const FolderOutcome& o : outcomes) {
    const RunResult& r = o.result;
    json header = {
        {"locationId", r.station_code == 0 ? json(nullptr) : json(std::to_string(r.station_code))},
        {"stationName", utf8(r.station_name)},
        {"parameterId", kParameterId},
        {"units", kFlowUnit},
        {"timeStep", {{"unit", "week"}, {"multiplier", "1"}}},
        {"forecastDate", nullptr},
        {"issueYear", r.year == 0 ? json(nullptr) : json(r.year)},
        {"issueWeek", r.week == 0 ? json(nullptr) : json(r.week)},
        {"missVal", nullptr},
        {"confidenceLevel", r.confidence_level == 0 ? json(nullptr) : json(r.confidence_level)},
    };
    json events = json::array();
    if (r.normal_end()) {
      header["forecastDate"] = {{"date", week_start_date(r.year, r.week)}, {"time", "00:00:00"}};
      for (const LeadForecast& l : r.leads) {
        events.push_back({{"leadWeeks", l.lead},
                          {"targetWeek", l.target_week},
                          {"date", week_start_date(r.year, r.week + l.lead - 1)},
                          {"time", "00:00:00"},
                          {"value", number_or_null(l.value)},
                          {"lower", number_or_null(l.lower)},
                          {"upper", number_or_null(l.upper)},
                          {"model", utf8(l.model)}});
      }
    }
    series.push_back({{"folder", utf8(o.folder.string())},
                      {"state", state_name(r)},
                      {"exitStatus", r.exit_status},
                      {"message", utf8(r.message)},
                      {"seconds", o.seconds},
                      {"header", header},
                      {"events", events}});
  }
  const json summary = {{"schema", {{"name", kSummarySchemaName}, {"version", kSummarySchemaVersion}}},
                        {"timeZone", 0.0},
                        {"timeSeries", series}};
  out << summary.dump(2) << "\n";
}

void write_summary(std::ostream& out, SummaryFormat format, const std::vector<FolderOutcome>& outcomes) {
  if (format == SummaryFormat::kCsv) {
    write_csv_summary(out, outcomes);
  } else {
    write_json_summary(out, outcomes);
  }
}

}  // namespace darcalim::batch
