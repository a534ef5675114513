// The USGS RDB file (see daily_formats.h).
#include "import/daily_formats.h"
#include "import/daily_text.h"
#include "import/import_error.h"

namespace darcalim::import {

namespace {

constexpr char kSeparator = '\t';
const std::string kDailyMeanDischarge = "_00060_00003";
const std::string kDischargeCode = "_00060";
const std::string kQualifierSuffix = "_cd";
const std::string kSiteComment = "usgs ";
const char* const kDischargeUnit = "ft3/s";

bool ends_with(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// A column format such as "14n": digits, then s, d or n.
bool is_column_format(const std::string& field) {
  if (field.size() < 2) return false;
  const char kind = field.back();
  if (kind != 's' && kind != 'd' && kind != 'n') return false;
  return field.find_first_not_of("0123456789") == field.size() - 1;
}

// "#  USGS 07141220 ARKANSAS R NR LARNED, KS" -> "ARKANSAS R NR LARNED, KS".
std::string site_name(const std::vector<std::string>& lines, std::size_t header) {
  for (std::size_t i = 0; i < header; ++i) {
    const std::string text = trim(std::string_view(lines[i]).substr(1));
    if (lower(text).rfind(kSiteComment, 0) != 0) continue;
    const std::string rest = trim(std::string_view(text).substr(kSiteComment.size()));
    const auto blank = rest.find(' ');
    if (blank != std::string::npos && rest.find_first_not_of("0123456789") == blank) return trim(rest.substr(blank));
  }
  return "";
}

std::size_t default_value_column(const std::vector<std::string>& names, const std::vector<std::string>& formats) {
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (ends_with(names[i], kDailyMeanDischarge)) return i;
  }
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i < formats.size() && formats[i].back() == 'n') return i;
  }
  return names.size();
}

std::size_t find_column(const std::vector<std::string>& names, const std::string& name) {
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (names[i] == name) return i;
  }
  return names.size();
}

}  // namespace

bool reading::looks_like_rdb(const std::vector<std::string>& lines) {
  std::size_t i = 0;
  while (i < lines.size() && !lines[i].empty() && lines[i][0] == '#') ++i;
  if (i + 1 >= lines.size() || lines[i].find(kSeparator) == std::string::npos) return false;
  for (const std::string& f : split_fields(lines[i + 1], kSeparator)) {
    if (!is_column_format(f)) return false;
  }
  return true;
}

DailyRecord read_rdb(const std::vector<std::string>& lines, const std::string& name, const ColumnChoice& column) {
  DailyRecord record;
  record.file_name = name;
  record.format = "USGS RDB file";
  std::size_t header = 0;
  while (header < lines.size() && !lines[header].empty() && lines[header][0] == '#') ++header;
  if (header + 1 >= lines.size()) throw ImportError(name + ": no column header and format line after the comments");
  record.station_name = site_name(lines, header);
  const std::vector<std::string> names = split_fields(lines[header], kSeparator);
  const std::vector<std::string> formats = split_fields(lines[header + 1], kSeparator);
  const std::string header_place = place(name, static_cast<int>(header) + 1);

  std::size_t date_column = find_column(names, "datetime");
  if (date_column == names.size()) {
    for (date_column = 0; date_column < formats.size() && formats[date_column].back() != 'd'; ++date_column) {
    }
  }
  if (date_column >= names.size()) throw ImportError(header_place + ": no date column (datetime)");
  const std::size_t value_column =
      column.given() ? reading::chosen_column(names, column, header_place) : default_value_column(names, formats);
  if (value_column >= names.size()) throw ImportError(header_place + ": no value column; choose one with --column");
  record.value_column = names[value_column];
  if (record.value_column.find(kDischargeCode) != std::string::npos) record.unit = kDischargeUnit;
  const std::size_t qualifier_column = find_column(names, record.value_column + kQualifierSuffix);
  const std::size_t site_column = find_column(names, "site_no");

  for (std::size_t i = header + 2; i < lines.size(); ++i) {
    const int line = static_cast<int>(i) + 1;
    if (lines[i].empty() || lines[i][0] == '#') continue;
    const std::vector<std::string> fields = split_fields(lines[i], kSeparator);
    if (fields.size() <= std::max(date_column, value_column)) {
      throw ImportError(place(name, line) + ": " + std::to_string(fields.size()) + " fields, fewer than the header's " +
                        std::to_string(names.size()));
    }
    const auto date = reading::required_date(fields[date_column], place(name, line, static_cast<int>(date_column) + 1));
    const auto value = parse_value(fields[value_column], false, place(name, line, static_cast<int>(value_column) + 1));
    if (qualifier_column < fields.size() && !fields[qualifier_column].empty())
      ++record.qualifiers[fields[qualifier_column]];
    if (!record.station_code && site_column < fields.size()) {
      const auto site = parse_value(fields[site_column], false, place(name, line, static_cast<int>(site_column) + 1));
      if (site) record.station_code = static_cast<long long>(*site);
    }
    reading::add_day(record, date, value, fields[value_column], line);
  }
  return record;
}

}  // namespace darcalim::import
