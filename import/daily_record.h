// A daily discharge record as read from its file, before any conversion.
//
// Every reader gives the days in file order, each with its value in the
// file's unit, or none when it is missing: an empty field, a word without
// digits such as "Ice" or "NaN", or a negative value (the -999 of many
// files). Each marker of a missing value is counted by its text.
// Readers refuse, naming file, line and column: a date that is not an ISO
// date (YYYY-MM-DD, a time after it passed over), a value with digits that
// is not a number, a line with too few fields, no value column.
#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace darcalim::import {

struct DailyValue {
  std::chrono::sys_days date;
  std::optional<double> value;  // in the file's unit, not negative; none when missing
  int line = 0;                 // line of the file
};

struct DailyRecord {
  std::string file_name;                  // for messages
  std::string format;                     // as the report names it, e.g. "GRDC station file"
  std::string value_column;               // the column the values come from
  std::optional<long long> station_code;  // from the file's header, when it has one
  std::string station_name;               // from the file's header, or ""
  std::string unit;                       // as the file declares it, or ""
  std::vector<DailyValue> days;
  std::map<std::string, int> missing_markers;  // text of each missing-value marker, and its days
  std::map<std::string, int> qualifiers;       // value qualifiers or flags, and their days
};

// The file formats; kAuto finds the format from the file's first lines.
enum class DailyFormat { kAuto, kGrdc, kRdb, kDelimited };

// Which column to read: a header name (case-insensitive) or a number from 1.
struct ColumnChoice {
  std::string name;
  int number = 0;
  bool given() const { return !name.empty() || number > 0; }
  std::string text() const { return name.empty() ? std::to_string(number) : name; }
};

// Reads the file in the given format (or the one its lines show). Refused:
// a file that cannot be read or holds no day, and the faults listed above.
DailyRecord read_daily_record(const std::string& path, DailyFormat format, const ColumnChoice& column);

// Refused: dates out of order or repeated, naming both lines.
void check_date_order(const DailyRecord& record);

}  // namespace darcalim::import
