// A history file held as the text of its fields, for writing a new one and
// for adding weeks to one that exists: the fields already there are kept
// byte for byte, so that they read back exactly as before.
//
// The layout is the program's own (driver/history_layout.h). Flows are
// written F7.d after one blank (d = 0 by default, as the shipped histories:
// whole m3/s); weeks not yet observed are written as 0.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "driver/calendar.h"

namespace darcalim::import {

// A place in the history: a year and a week column (1..weeks per year).
struct HistoryCell {
  int year = 0;
  int column = 0;
  friend bool operator==(const HistoryCell&, const HistoryCell&) = default;
};

class HistoryTable {
 public:
  // A history without years. Refused: a station code that does not fit I8,
  // a factor that is not positive or does not fit its nine columns.
  HistoryTable(long long station_code, const std::string& station_name, double factor, int weeks_per_year);

  // Reads an existing history file of `weeks_per_year` weeks a year.
  // Refused, naming file and line: a missing or unreadable header, a flow
  // that is not a number, a file that ends before the years it declares, a
  // year whose lines hold more flows than `weeks_per_year` (or, with 53, a
  // complete year with only 52).
  static HistoryTable read(const std::string& path, int weeks_per_year);

  long long station_code() const { return station_code_; }
  const std::string& station_name() const { return station_name_; }
  double factor() const { return factor_; }
  int weeks_per_year() const { return weeks_per_year_; }
  int first_year() const { return first_year_; }
  int last_year() const { return first_year_ + static_cast<int>(rows_.size()) - 1; }
  bool empty() const { return rows_.empty(); }

  // The last cell whose flow is not 0, as the program finds the last
  // observed week; none in a history without flows.
  std::optional<HistoryCell> last_observed() const;

  double flow(HistoryCell cell) const;
  // Writes the flow into a cell with `decimals` decimals, adding years (all
  // 0) up to the cell's year. Refused: a flow that does not fit seven
  // columns.
  void set(HistoryCell cell, double flow, int decimals);
  // Whether the cell's text would change with this flow.
  bool differs(HistoryCell cell, double flow, int decimals) const;

  // The whole file.
  std::string text() const;

 private:
  HistoryTable() = default;
  struct Field {
    double flow = 0.0;
    std::string text;  // the field as written, one blank and F7.d
  };
  std::vector<Field>& row(int year);

  long long station_code_ = 0;
  std::string station_name_;
  std::string station_line_;  // line 1 as written
  double factor_ = 0.0;
  std::string factor_text_;  // the nine columns of FAC on line 2
  int weeks_per_year_ = 52;
  int first_year_ = 0;
  std::vector<std::vector<Field>> rows_;
};

// The cells that hold an operating week: with 52 weeks a year, week w of its
// year (none for a 53rd week, which is left out); with 53, week w of its
// year and, for week 1 after a year of 52 operating weeks, also column 53 of
// that year.
std::vector<HistoryCell> cells_of(OperatingWeek week, int weeks_per_year);

// The operating week that a cell holds: week `column` of its year, or week 1
// of the next year for column 53 of a year of 52 operating weeks.
OperatingWeek week_of(HistoryCell cell);

// FAC as written on line 2: its shortest exact text, with a decimal point.
std::string factor_text(double factor);

}  // namespace darcalim::import
