#include "import/import_report.h"

#include <charconv>

#include "import/daily_text.h"

namespace darcalim::import {

namespace {

constexpr int kReportDecimals = 3;

std::string number(double value, int decimals = kReportDecimals) {
  char buffer[64];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals).ptr;
  return std::string(buffer, end);
}

std::string counts(const std::map<std::string, int>& items) {
  if (items.empty()) return "none";
  std::string text;
  for (const auto& [name, days] : items)
    text += (text.empty() ? "" : ", ") + ("\"" + name + "\" " + std::to_string(days));
  return text;
}

void week_list(std::string& out, const std::string& title, const std::vector<WeekFlow>& weeks,
               std::string (*line)(const WeekFlow&)) {
  out += title + ": " + (weeks.empty() ? "none" : std::to_string(weeks.size())) + "\n";
  for (const WeekFlow& w : weeks) out += "  " + line(w) + "\n";
}

std::string with_flow(const WeekFlow& w) {
  return week_text(w) + ": " + std::to_string(w.days) + " days with a flow, " + number(w.flow) + " m3/s";
}

std::string without_flow(const WeekFlow& w) {
  return week_text(w) + ": " + std::to_string(w.days) + " days with a flow";
}

}  // namespace

std::string filled_week_text(const WeekFlow& w) {
  return week_text(w) + ": " + std::to_string(w.days) + " days with a flow, interpolated " + number(w.flow) + " m3/s";
}

std::string import_report_text(const ImportFacts& f) {
  const DailyRecord& r = *f.record;
  std::string out = "darcalim-import report\n\n";
  out += "Daily record: " + r.file_name + " (" + r.format + "), column \"" + r.value_column + "\"\n";
  out += "  days: " + std::to_string(r.days.size()) + ", " + date_text(r.days.front().date) + " to " +
         date_text(r.days.back().date) + "\n";
  int missing = 0;
  for (const auto& [marker, days] : r.missing_markers) missing += days;
  out += "  missing days: " + std::to_string(missing) + " (markers: " + counts(r.missing_markers) + ")\n";
  out += "  qualifiers: " + counts(r.qualifiers) + "\n";
  out += "  unit: " + (r.unit.empty() ? std::string("not given in the file") : "\"" + r.unit + "\"") + ", read as " +
         unit_name(f.unit) + " (" + number(cubic_metres_per_second(f.unit), 12) + " m3/s)\n\n";

  out += "History: " + f.history_name + (f.update ? " (updated)" : "") + "\n";
  out += "  station: " + std::to_string(f.station_code) + " " + f.station_name + "\n";
  out += "  years: " + std::to_string(f.first_year) + "-" + std::to_string(f.last_year) + ", " +
         std::to_string(f.weeks_per_year) + " weeks a year, FAC " + f.factor + ", flows in m3/s with " +
         std::to_string(f.decimals) + " decimals\n";
  out += "  a week's flow: the mean of its days with a flow when there are at least " + std::to_string(f.min_days) +
         ", otherwise interpolated (at most " + std::to_string(f.max_gap) + " weeks in a row)\n";
  if (f.last_observed) {
    out += "  last observed week: " + std::to_string(f.last_observed->year) + " week " +
           std::to_string(f.last_observed->column) + "\n";
    if (f.last_observed->column < f.weeks_per_year) {
      out += "  weeks " + std::to_string(f.last_observed->column + 1) + " to " + std::to_string(f.weeks_per_year) +
             " of " + std::to_string(f.last_observed->year) + ": not observed yet, written as 0\n";
    }
  }
  out += "  weeks written: " + std::to_string(f.added) + " new";
  if (f.update)
    out += ", " + std::to_string(f.kept) + " already there kept, " + std::to_string(f.replaced) + " rewritten";
  out += "\n";
  if (f.rounded_to_zero > 0) {
    out += "  weeks with a flow written as 0 by the rounding: " + std::to_string(f.rounded_to_zero) +
           " (--decimals keeps them)\n";
  }
  out += "\n";
  week_list(out, "Weeks filled by interpolation", f.filled, filled_week_text);
  week_list(out, "53rd operating weeks left out (52 weeks a year)", f.left_out, with_flow);
  week_list(out, "Weeks 1 also written as week 53 of a year of 52 operating weeks", f.carried, with_flow);
  week_list(out, "Weeks after the last observed one, written as 0", f.not_observed, without_flow);
  return out;
}

}  // namespace darcalim::import
