#include "view/forecast_record.h"

#include <charconv>
#include <cmath>
#include <string>
#include <vector>

#include "common/input_file.h"
#include "common/output_layouts.h"
#include "view/view_error.h"
#include "view/view_input.h"

namespace darcalim::view {

namespace {

std::string place(const std::filesystem::path& file, int line) {
  return file.filename().string() + ", line " + std::to_string(line);
}

void require_numbers(const std::array<WrittenNumber, kLeads>& values, const std::filesystem::path& file,
                     int line_number) {
  for (std::size_t k = 0; k < values.size(); ++k) {
    // "nan" and "inf" read as numbers, but no flow is either.
    if (!values[k].readable() || (values[k].value && !std::isfinite(*values[k].value))) {
      throw ViewInputError(place(file, line_number) + ": forecast " + std::to_string(k + 1) + " \"" +
                           values[k].text + "\" is not a number");
    }
  }
}

int whole_number(const std::string& field, const std::filesystem::path& file, int line_number, const char* item) {
  const std::string text = trimmed(field);
  int value = 0;
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || ptr != text.data() + text.size()) {
    throw ViewInputError(place(file, line_number) + ": the " + item + " \"" + text + "\" is not a whole number");
  }
  return value;
}

// The lines of the file, without the blank lines at its end.
std::vector<std::string> record_lines(const std::filesystem::path& file) {
  std::vector<std::string> lines = read_view_input(file, file.filename().string(), "the appended forecast file");
  while (!lines.empty() && trimmed(lines.back()).empty()) lines.pop_back();
  return lines;
}

}  // namespace

ForecastRecord read_last_forecast_record(const std::filesystem::path& file) {
  const std::vector<std::string> lines = record_lines(file);
  const int n = static_cast<int>(lines.size());
  // A header line and one record of three lines at least.
  if (n <= 1) throw ViewInputError(file.filename().string() + ": no forecast record after the header");
  if ((n - 1) % kForecastRecordLines != 0) {
    throw ViewInputError(file.filename().string() + ": " + std::to_string(n - 1) +
                         " lines after the header are not whole records of three lines (the last record is cut "
                         "short)");
  }
  ForecastRecord r;
  r.first_line = n - kForecastRecordLines + 1;
  std::string text;
  for (int i = r.first_line - 1; i < n; ++i) text += lines[static_cast<std::size_t>(i)] + "\n";
  TextLines record_text(text);
  ForecastRecordFields fields;
  const ReadOutcome outcome = read_forecast_record(record_text, fields);
  if (!outcome.ok()) {
    const bool lower_line = outcome.line_number == 2;
    throw ViewInputError(place(file, r.first_line + outcome.line_number - 1) + ": expected the \"" +
                         (lower_line ? kLowerLimitLabel : kUpperLimitLabel) + "\" line of the last forecast record");
  }
  r.station_code = whole_number(fields.station_code, file, r.first_line, "station code");
  r.year = whole_number(fields.year, file, r.first_line, "year");
  r.month = whole_number(fields.month, file, r.first_line, "month");
  r.week = whole_number(fields.week, file, r.first_line, "week");
  require_numbers(fields.forecast, file, r.first_line);
  require_numbers(fields.lower, file, r.first_line + 1);
  require_numbers(fields.upper, file, r.first_line + 2);
  r.forecast = fields.forecast;
  r.lower = fields.lower;
  r.upper = fields.upper;
  return r;
}

}  // namespace darcalim::view
