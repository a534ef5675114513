// The run's record of the appended forecast file: its last record.
//
// The file holds a header line and then, per run, three lines: the forecast
// line (station code, year, month and first week, six F9.1 forecasts) and
// the "LIM. INFERIOR" and "LIM. SUPERIOR" lines (six F9.1 limits each). The
// numbers are kept as the text written in their fields (e.g. "73.2", or
// asterisks for a number too wide), with their value where they read as one.
//
// Refused (ViewInputError naming the file and line): a file that cannot be
// read, one without a complete record after its header, one whose lines
// after the header are not whole records of three, a last record whose
// lines are not a forecast line and the two limit lines, or whose integer
// fields do not read.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>

namespace darcalim::view {

inline constexpr int kLeads = 6;

// A number of the record as written in its field, without blanks.
struct WrittenNumber {
  std::string text;
  std::optional<double> value;  // nothing for a field of asterisks
};

struct ForecastRecord {
  int first_line = 0;  // line of the file where the record starts
  int station_code = 0;
  int year = 0;
  int month = 0;
  int week = 0;
  std::array<WrittenNumber, kLeads> forecast;
  std::array<WrittenNumber, kLeads> lower;
  std::array<WrittenNumber, kLeads> upper;
};

ForecastRecord read_last_forecast_record(const std::filesystem::path& file);

}  // namespace darcalim::view
