#include "import/history_table.h"

#include <charconv>

#include "common/field_codecs.h"
#include "common/input_file.h"
#include "common/layout.h"
#include "driver/history_layout.h"
#include "import/daily_text.h"
#include "import/import_error.h"

namespace darcalim::import {

namespace {

constexpr int kFieldWidth = 1 + kHistoryFlowWidth;  // 1X,F7.d
constexpr long long kLargestCode = 99999999;        // I8
constexpr int kNameWidth = kHistoryNameGroups * kHistoryNameGroupWidth;

std::string flow_field(double flow, int decimals) {
  return " " + format_real(flow, kHistoryFlowWidth, decimals);
}

std::string station_line(long long code, const std::string& name) {
  FieldValues values{static_cast<std::int64_t>(code)};
  const std::string padded = (name + std::string(kNameWidth, ' ')).substr(0, kNameWidth);
  for (int g = 0; g < kHistoryNameGroups; ++g) {
    values.push_back(padded.substr(static_cast<std::size_t>(g * kHistoryNameGroupWidth), kHistoryNameGroupWidth));
  }
  std::string line = Layout(kHistoryStationLine).write(values);
  line.pop_back();  // the line end
  return line;
}

int lines_per_year(int weeks) {
  return (weeks + kHistoryFlowsPerLine - 1) / kHistoryFlowsPerLine;
}

FieldValues header_values(const std::string& line, const char* layout, const std::string& where, const char* what) {
  TextLines text(line);
  FieldValues values;
  const ReadOutcome outcome = Layout(layout).read_record(text, values);
  if (!outcome.ok()) throw ImportError(where + ": the " + what + " cannot be read (\"" + outcome.field_text + "\")");
  return values;
}

}  // namespace

std::string factor_text(double factor) {
  char buffer[32];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, factor).ptr;
  std::string text(buffer, end);
  if (text.find_first_of("eE") != std::string::npos || text.size() > kHistoryFactorWidth) {
    throw ImportError("the factor " + text + " does not fit the " + std::to_string(kHistoryFactorWidth) +
                      " columns of the history file");
  }
  if (text.find('.') == std::string::npos) text += '.';
  return text.size() > kHistoryFactorWidth ? text.substr(0, kHistoryFactorWidth) : text;
}

HistoryTable::HistoryTable(long long station_code, const std::string& station_name, double factor, int weeks_per_year)
    : station_code_(station_code), station_name_(station_name), factor_(factor), weeks_per_year_(weeks_per_year) {
  if (station_code < 0 || station_code > kLargestCode) {
    throw ImportError("the station code " + std::to_string(station_code) +
                      " does not fit the 8 columns of the history file; give another with --code");
  }
  if (!(factor > 0.0)) throw ImportError("the factor FAC must be positive");
  station_line_ = station_line(station_code, station_name);
  factor_text_ = factor_text(factor);
}

HistoryTable HistoryTable::read(const std::string& path, int weeks_per_year) {
  const std::vector<std::string> lines = read_lines(path);
  if (lines.size() < static_cast<std::size_t>(kHistoryHeaderLines)) {
    throw ImportError(path + ": the header (station line and years line) is missing");
  }
  HistoryTable t;
  t.weeks_per_year_ = weeks_per_year;
  t.station_line_ = lines[0];
  const FieldValues station = header_values(lines[0], kHistoryStationLine, place(path, 1), "station code and name");
  t.station_code_ = std::get<std::int64_t>(station[0]);
  for (std::size_t i = 1; i < station.size(); ++i) t.station_name_ += std::get<std::string>(station[i]);
  t.station_name_ = trim(t.station_name_);
  const FieldValues years = header_values(lines[1], kHistoryYearsLine, place(path, 2), "years and factor");
  t.first_year_ = static_cast<int>(std::get<std::int64_t>(years[0]));
  const int last = static_cast<int>(std::get<std::int64_t>(years[1]));
  t.factor_ = std::get<double>(years[2]);
  const std::string padded = lines[1] + std::string(2 * kHistoryYearWidth + kHistoryFactorWidth, ' ');
  t.factor_text_ = trim(padded.substr(2 * kHistoryYearWidth, kHistoryFactorWidth));
  if (last < t.first_year_) throw ImportError(place(path, 2) + ": the last year is before the first");

  const int per_year = lines_per_year(weeks_per_year);
  for (int year = t.first_year_; year <= last; ++year) {
    std::vector<Field>& row = t.rows_.emplace_back();
    for (int l = 0; l < per_year; ++l) {
      const std::size_t index = static_cast<std::size_t>(kHistoryHeaderLines + (year - t.first_year_) * per_year + l);
      const int line_number = static_cast<int>(index) + 1;
      if (index >= lines.size()) {
        throw ImportError(path + ": the file ends at line " + std::to_string(lines.size()) + ", before the flows of " +
                          std::to_string(year) + " that line 2 declares");
      }
      const std::string& line = lines[index];
      const int expected = std::min(kHistoryFlowsPerLine, weeks_per_year - l * kHistoryFlowsPerLine);
      const std::size_t used = static_cast<std::size_t>(expected * kFieldWidth);
      if (line.size() > used && !trim(line.substr(used)).empty()) {
        throw ImportError(place(path, line_number) + ": more than " + std::to_string(expected) + " flows for " +
                          std::to_string(year) + "; is it a history of " + std::to_string(weeks_per_year + 1) +
                          " weeks a year? (--weeks)");
      }
      const bool last_line_of_year = l == per_year - 1;
      if (weeks_per_year == 53 && last_line_of_year && year < last &&
          trim(line.size() > used - kFieldWidth ? line.substr(used - kFieldWidth) : "").empty()) {
        throw ImportError(place(path, line_number) + ": no flow for week 53 of " + std::to_string(year) +
                          "; is it a history of 52 weeks a year? (--weeks)");
      }
      for (int k = 0; k < expected; ++k) {
        std::string text = line.size() > static_cast<std::size_t>(k * kFieldWidth)
                               ? line.substr(static_cast<std::size_t>(k * kFieldWidth), kFieldWidth)
                               : "";
        text.resize(kFieldWidth, ' ');
        double flow = 0.0;
        if (!parse_real_field(std::string_view(text).substr(1), 0, flow)) {
          throw ImportError(place(path, line_number, k * kFieldWidth + 2) + " (year " + std::to_string(year) +
                            ", week " + std::to_string(l * kHistoryFlowsPerLine + k + 1) + "): \"" + trim(text) +
                            "\" is not a number");
        }
        row.push_back({flow, text});
      }
    }
  }
  return t;
}

std::optional<HistoryCell> HistoryTable::last_observed() const {
  for (int r = static_cast<int>(rows_.size()) - 1; r >= 0; --r) {
    for (int c = weeks_per_year_; c >= 1; --c) {
      if (rows_[static_cast<std::size_t>(r)][static_cast<std::size_t>(c - 1)].flow != 0.0) {
        return HistoryCell{first_year_ + r, c};
      }
    }
  }
  return std::nullopt;
}

double HistoryTable::flow(HistoryCell cell) const {
  return rows_[static_cast<std::size_t>(cell.year - first_year_)][static_cast<std::size_t>(cell.column - 1)].flow;
}

std::vector<HistoryTable::Field>& HistoryTable::row(int year) {
  if (rows_.empty()) first_year_ = year;
  if (year < first_year_) throw ImportError("year " + std::to_string(year) + " comes before the history's first year");
  while (last_year() < year)
    rows_.emplace_back(static_cast<std::size_t>(weeks_per_year_), Field{0.0, flow_field(0.0, 0)});
  return rows_[static_cast<std::size_t>(year - first_year_)];
}

void HistoryTable::set(HistoryCell cell, double flow, int decimals) {
  const std::string text = flow_field(flow, decimals);
  if (text.find('*') != std::string::npos) {
    throw ImportError("the flow " + std::to_string(flow) + " m3/s of " + std::to_string(cell.year) + " week " +
                      std::to_string(cell.column) + " does not fit the " + std::to_string(kHistoryFlowWidth) +
                      " columns of the history file with " + std::to_string(decimals) + " decimals");
  }
  // The flow as the program reads it back: the value of its text.
  double written = 0.0;
  parse_real_field(std::string_view(text).substr(1), decimals, written);
  row(cell.year)[static_cast<std::size_t>(cell.column - 1)] = {written, text};
}

bool HistoryTable::differs(HistoryCell cell, double flow, int decimals) const {
  return rows_[static_cast<std::size_t>(cell.year - first_year_)][static_cast<std::size_t>(cell.column - 1)].text !=
         flow_field(flow, decimals);
}

std::string HistoryTable::text() const {
  std::string out = station_line_ + "\n";
  out += format_integer(first_year_, kHistoryYearWidth) + format_integer(last_year(), kHistoryYearWidth) +
         format_text(factor_text_, kHistoryFactorWidth) + "\n";
  for (const std::vector<Field>& r : rows_) {
    for (std::size_t c = 0; c < r.size(); ++c) {
      out += r[c].text;
      if ((c + 1) % kHistoryFlowsPerLine == 0 || c + 1 == r.size()) out += "\n";
    }
  }
  return out;
}

std::vector<HistoryCell> cells_of(OperatingWeek week, int weeks_per_year) {
  std::vector<HistoryCell> cells;
  if (week.week <= weeks_per_year) cells.push_back({week.year, week.week});
  if (weeks_per_year == 53 && week.week == 1 && operating_weeks_of_year(week.year - 1) == 52) {
    cells.insert(cells.begin(), HistoryCell{week.year - 1, 53});
  }
  return cells;
}

OperatingWeek week_of(HistoryCell cell) {
  if (cell.column <= operating_weeks_of_year(cell.year)) return {cell.year, cell.column};
  return {cell.year + 1, 1};
}

}  // namespace darcalim::import
