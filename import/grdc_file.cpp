// The GRDC station file (see daily_formats.h).
#include <optional>

#include "import/daily_formats.h"
#include "import/daily_text.h"
#include "import/import_error.h"

namespace darcalim::import {

namespace {

constexpr char kSeparator = ';';
constexpr std::size_t kFirstValueColumn = 2;  // after the date and the time
const std::vector<std::string> kOneValueNames{"YYYY-MM-DD", "hh:mm", "Value"};
const std::vector<std::string> kTwoValueNames{"YYYY-MM-DD", "hh:mm", "Original", "Calculated", "Flag"};

struct Header {
  std::optional<long long> code;
  std::string river;
  std::string station;
  std::string unit;
};

// "# Key: value" -> the items of the header that the import uses.
void read_header_line(Header& header, const std::string& line, const std::string& where) {
  const auto colon = line.find(':');
  if (colon == std::string::npos) return;
  const std::string key = lower(trim(std::string_view(line).substr(1, colon - 1)));
  const std::string value = trim(std::string_view(line).substr(colon + 1));
  if (key == "grdc-no.") {
    const auto code = parse_value(value, false, where);
    if (code && *code == static_cast<double>(static_cast<long long>(*code)))
      header.code = static_cast<long long>(*code);
  } else if (key == "river") {
    header.river = value;
  } else if (key == "station") {
    header.station = value;
  } else if (key.rfind("unit", 0) == 0) {
    header.unit = value;
  }
}

std::string station_name(const Header& h) {
  if (h.river.empty() || h.station.empty()) return h.river + h.station;
  return h.river + " - " + h.station;
}

std::size_t find_column(const std::vector<std::string>& names, const std::string& name) {
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (lower(names[i]) == lower(name)) return i;
  }
  return names.size();
}

}  // namespace

DailyRecord read_grdc(const std::vector<std::string>& lines, const std::string& name, const ColumnChoice& column) {
  DailyRecord record;
  record.file_name = name;
  record.format = "GRDC station file";
  Header header;
  std::size_t i = 0;
  for (; i < lines.size() && (lines[i].empty() || lines[i][0] == '#'); ++i) {
    if (!lines[i].empty()) read_header_line(header, lines[i], place(name, static_cast<int>(i) + 1));
  }
  record.station_code = header.code;
  record.station_name = station_name(header);
  record.unit = header.unit;
  if (i == lines.size()) return record;

  // The table header, or straight the data when the file has none.
  std::vector<std::string> names = split_fields(lines[i], kSeparator);
  if (parse_iso_date(names[0])) {
    names = names.size() > kOneValueNames.size() ? kTwoValueNames : kOneValueNames;
  } else {
    ++i;
  }
  const std::size_t original = find_column(names, "Original");
  const std::size_t calculated = find_column(names, "Calculated");
  const std::size_t flag = find_column(names, "Flag");
  const bool fall_back = !column.given() && original < names.size() && calculated < names.size();
  std::size_t value_column = fall_back ? original : kFirstValueColumn;
  if (column.given()) value_column = reading::chosen_column(names, column, place(name, static_cast<int>(i)));
  if (value_column >= names.size() || value_column < kFirstValueColumn) {
    throw ImportError(place(name, static_cast<int>(i)) + ": no value column after the date and the time");
  }
  record.value_column = names[value_column];

  for (; i < lines.size(); ++i) {
    const int line = static_cast<int>(i) + 1;
    if (trim(lines[i]).empty() || lines[i][0] == '#') continue;
    const std::vector<std::string> fields = split_fields(lines[i], kSeparator);
    if (fields.size() <= value_column) {
      throw ImportError(place(name, line) + ": " + std::to_string(fields.size()) + " fields, the value column " +
                        record.value_column + " is field " + std::to_string(value_column + 1));
    }
    const auto date = reading::required_date(fields[0], place(name, line, 1));
    std::size_t taken = value_column;
    auto value = parse_value(fields[taken], false, place(name, line, static_cast<int>(taken) + 1));
    if (fall_back && (!value || *value < 0.0) && calculated < fields.size()) {
      const auto other = parse_value(fields[calculated], false, place(name, line, static_cast<int>(calculated) + 1));
      if (other && *other >= 0.0) {
        taken = calculated;
        value = other;
        ++record.qualifiers["Calculated (no Original value)"];
      }
    }
    if (flag < fields.size() && !fields[flag].empty()) ++record.qualifiers["Flag " + fields[flag]];
    reading::add_day(record, date, value, fields[taken], line);
  }
  return record;
}

}  // namespace darcalim::import
