// The readers of the three daily formats, over the lines of a file.
//
// GRDC station file: "#" header lines "# Key: value" (GRDC-No., River,
// Station, Unit...), then a table header "YYYY-MM-DD;hh:mm; Value" or
// "YYYY-MM-DD;hh:mm; Original; Calculated; Flag" and the data lines, fields
// separated by ";", -999 for a missing value. In the second layout the
// Original value is read, and the Calculated one on the days whose Original
// is missing (counted as a qualifier), unless a column is chosen.
//
// USGS RDB file: "#" comments (a line "#  USGS <site> <name>" names the
// station), a tab-separated header, a line of column formats ("5s 15s 20d
// 14n 10s") and the data. The value column is the first daily mean
// discharge (name ending in _00060_00003; its unit is ft3/s), else the first
// numeric column; its qualifiers come from the column of the same name with
// "_cd" after it.
//
// CSV or TSV: fields separated by tab, ";" or "," (the first of these in
// the first line), a header line unless the first line holds a date. The
// date column is the first whose name holds "date" or "time", else the first
// holding a date; the value column the only other one, else the first whose
// name holds "discharge" or "flow". A unit in the value column's name
// ("discharge_cfs", "Q [m3/s]") is taken as declared. With ";" or tab "12,5"
// reads as 12.5. A column named after the value column with "_cd", or named
// "qualifier", "quality" or "flag", gives the qualifiers.
#pragma once

#include <string>
#include <vector>

#include "import/daily_record.h"

namespace darcalim::import {

DailyRecord read_grdc(const std::vector<std::string>& lines, const std::string& name, const ColumnChoice& column);
DailyRecord read_rdb(const std::vector<std::string>& lines, const std::string& name, const ColumnChoice& column);
DailyRecord read_delimited(const std::vector<std::string>& lines, const std::string& name, const ColumnChoice& column);

// The format that the first lines show: GRDC when a "#" line names GRDC, RDB
// when a tab-separated header is followed by a line of column formats,
// otherwise CSV or TSV.
DailyFormat detect_format(const std::vector<std::string>& lines);

// Helpers shared by the readers.
namespace reading {

// Appends one day; a negative value is missing. Counts the marker of a
// missing value (its field as read).
void add_day(DailyRecord& record, std::chrono::sys_days date, std::optional<double> value, const std::string& field,
             int line);

// The index of the chosen column among `names`; refused when there is no
// such column, naming the file and the columns there are.
std::size_t chosen_column(const std::vector<std::string>& names, const ColumnChoice& column, const std::string& where);

// The names of the columns for a message: "date", "flow (l/s)".
std::string column_list(const std::vector<std::string>& names);

// The date of a field; refused naming its place when it is not an ISO date.
std::chrono::sys_days required_date(const std::string& field, const std::string& where);

// Whether the lines after the comments are a tab-separated header and a
// line of RDB column formats.
bool looks_like_rdb(const std::vector<std::string>& lines);

}  // namespace reading

}  // namespace darcalim::import
