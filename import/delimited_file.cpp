// A CSV or TSV file of dates and values (see daily_formats.h).
#include <array>

#include "import/daily_formats.h"
#include "import/daily_text.h"
#include "import/import_error.h"

namespace darcalim::import {

namespace {

// The separators, in the order in which the first line is searched for them.
constexpr std::array<char, 3> kSeparators{'\t', ';', ','};
const std::array<const char*, 2> kDateNames{"date", "time"};
const std::array<const char*, 2> kValueNames{"discharge", "flow"};
const std::array<const char*, 3> kQualifierNames{"qualifier", "quality", "flag"};
const std::string kQualifierSuffix = "_cd";

char separator_of(const std::string& first_line) {
  for (const char s : kSeparators) {
    if (first_line.find(s) != std::string::npos) return s;
  }
  return kSeparators.back();
}

template <std::size_t N>
bool holds_any(const std::string& name, const std::array<const char*, N>& words) {
  const std::string text = lower(name);
  for (const char* w : words) {
    if (text.find(w) != std::string::npos) return true;
  }
  return false;
}

std::size_t date_column_of(const std::vector<std::string>& names, const std::vector<std::string>& first_data,
                           bool has_header) {
  if (has_header) {
    for (std::size_t i = 0; i < names.size(); ++i) {
      if (holds_any(names[i], kDateNames)) return i;
    }
  }
  for (std::size_t i = 0; i < first_data.size(); ++i) {
    if (parse_iso_date(first_data[i])) return i;
  }
  return names.size();
}

std::size_t value_column_of(const std::vector<std::string>& names, std::size_t date_column) {
  if (names.size() == 2) return 1 - date_column;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i != date_column && holds_any(names[i], kValueNames)) return i;
  }
  return names.size();
}

std::size_t qualifier_column_of(const std::vector<std::string>& names, std::size_t value_column) {
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i == value_column) continue;
    if (lower(names[i]) == lower(names[value_column] + kQualifierSuffix)) return i;
    for (const char* q : kQualifierNames) {
      if (lower(names[i]) == q) return i;
    }
  }
  return names.size();
}

// The unit that a column name holds, e.g. "discharge_cfs", "Q [m3/s]"; "" when none.
std::string unit_in_name(const std::string& name) {
  static const std::array<std::pair<const char*, const char*>, 6> kUnits{{{"cfs", "ft3/s"},
                                                                          {"ft3/s", "ft3/s"},
                                                                          {"cms", "m3/s"},
                                                                          {"m3/s", "m3/s"},
                                                                          {"m\xC2\xB3/s", "m3/s"},
                                                                          {"l/s", "l/s"}}};
  const std::string text = lower(name);
  for (const auto& [word, unit] : kUnits) {
    if (text.find(word) != std::string::npos) return unit;
  }
  return "";
}

}  // namespace

DailyRecord read_delimited(const std::vector<std::string>& lines, const std::string& name, const ColumnChoice& column) {
  DailyRecord record;
  record.file_name = name;
  std::size_t first = 0;
  while (first < lines.size() && trim(lines[first]).empty()) ++first;
  if (first == lines.size()) return record;
  const char separator = separator_of(lines[first]);
  record.format = separator == '\t' ? "TSV file" : "CSV file";
  const bool decimal_comma = separator != ',';

  std::vector<std::string> names = split_fields(lines[first], separator);
  const bool has_header = !parse_iso_date(names[0]) && !(names.size() > 1 && parse_iso_date(names[1]));
  std::size_t data = has_header ? first + 1 : first;
  if (!has_header) {
    for (std::size_t i = 0; i < names.size(); ++i) names[i] = std::to_string(i + 1);
  }
  const std::vector<std::string> first_data =
      data < lines.size() ? split_fields(lines[data], separator) : std::vector<std::string>{};
  const std::string header_place = place(name, static_cast<int>(first) + 1);
  const std::size_t date_column = date_column_of(names, first_data, has_header);
  if (date_column >= names.size()) throw ImportError(header_place + ": no date column");
  const std::size_t value_column =
      column.given() ? reading::chosen_column(names, column, header_place) : value_column_of(names, date_column);
  if (value_column >= names.size()) {
    throw ImportError(header_place + ": which column holds the flows? choose one of " + reading::column_list(names) +
                      " with --column");
  }
  if (value_column == date_column) throw ImportError(header_place + ": the value column is the date column");
  record.value_column = names[value_column];
  if (has_header) record.unit = unit_in_name(record.value_column);
  const std::size_t qualifier_column = has_header ? qualifier_column_of(names, value_column) : names.size();

  for (std::size_t i = data; i < lines.size(); ++i) {
    const int line = static_cast<int>(i) + 1;
    if (trim(lines[i]).empty()) continue;
    const std::vector<std::string> fields = split_fields(lines[i], separator);
    if (fields.size() <= std::max(date_column, value_column)) {
      throw ImportError(place(name, line) + ": " + std::to_string(fields.size()) + " fields, fewer than the header's " +
                        std::to_string(names.size()));
    }
    const auto date = reading::required_date(fields[date_column], place(name, line, static_cast<int>(date_column) + 1));
    const auto value =
        parse_value(fields[value_column], decimal_comma, place(name, line, static_cast<int>(value_column) + 1));
    if (qualifier_column < fields.size() && !fields[qualifier_column].empty())
      ++record.qualifiers[fields[qualifier_column]];
    reading::add_day(record, date, value, fields[value_column], line);
  }
  return record;
}

}  // namespace darcalim::import
