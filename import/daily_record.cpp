#include "import/daily_record.h"

#include "import/daily_formats.h"
#include "import/daily_text.h"
#include "import/import_error.h"

namespace darcalim::import {

namespace reading {

void add_day(DailyRecord& record, std::chrono::sys_days date, std::optional<double> value, const std::string& field,
             int line) {
  if (value && *value < 0.0) value.reset();
  if (!value) ++record.missing_markers[field.empty() ? "(empty)" : field];
  record.days.push_back({date, value, line});
}

std::size_t chosen_column(const std::vector<std::string>& names, const ColumnChoice& column, const std::string& where) {
  if (column.number > 0) {
    if (static_cast<std::size_t>(column.number) <= names.size()) return static_cast<std::size_t>(column.number) - 1;
  } else {
    for (std::size_t i = 0; i < names.size(); ++i) {
      if (lower(names[i]) == lower(column.name)) return i;
    }
  }
  throw ImportError(where + ": no column " + column.text() + " (the columns are " + column_list(names) + ")");
}

std::string column_list(const std::vector<std::string>& names) {
  std::string list;
  for (const std::string& n : names) list += (list.empty() ? "\"" : ", \"") + n + "\"";
  return list;
}

std::chrono::sys_days required_date(const std::string& field, const std::string& where) {
  const auto date = parse_iso_date(field);
  if (!date) throw ImportError(where + ": \"" + field + "\" is not a date (YYYY-MM-DD)");
  return *date;
}

}  // namespace reading

DailyFormat detect_format(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    if (line.empty() || line[0] != '#') break;
    if (line.find("GRDC") != std::string::npos) return DailyFormat::kGrdc;
  }
  return reading::looks_like_rdb(lines) ? DailyFormat::kRdb : DailyFormat::kDelimited;
}

DailyRecord read_daily_record(const std::string& path, DailyFormat format, const ColumnChoice& column) {
  const std::vector<std::string> lines = read_lines(path);
  const std::string name = path;
  if (format == DailyFormat::kAuto) format = detect_format(lines);
  DailyRecord record;
  switch (format) {
    case DailyFormat::kGrdc:
      record = read_grdc(lines, name, column);
      break;
    case DailyFormat::kRdb:
      record = read_rdb(lines, name, column);
      break;
    default:
      record = read_delimited(lines, name, column);
      break;
  }
  if (record.days.empty()) throw ImportError(name + ": no daily value in the file");
  check_date_order(record);
  return record;
}

void check_date_order(const DailyRecord& record) {
  for (std::size_t i = 1; i < record.days.size(); ++i) {
    const DailyValue& before = record.days[i - 1];
    const DailyValue& day = record.days[i];
    if (day.date > before.date) continue;
    const std::string what = day.date == before.date ? " repeats the date of line " : " comes before the date of line ";
    throw ImportError(place(record.file_name, day.line) + ": " + date_text(day.date) + what +
                      std::to_string(before.line) + " (" + date_text(before.date) +
                      "); the days must be in order, each once");
  }
}

}  // namespace darcalim::import
