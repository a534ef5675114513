// The pieces of text that every daily-record reader takes apart: lines,
// fields, ISO dates and values.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace darcalim::import {

// The lines of a file without their line ends (CR-LF, a byte-order mark and
// a last line without a line end read as the program's own inputs do).
// Refused: a file that cannot be read.
std::vector<std::string> read_lines(const std::string& path);

std::string trim(std::string_view text);
std::string lower(std::string_view text);

// The fields of a line split at `separator`, each trimmed of blanks and of
// the double quotes around it.
std::vector<std::string> split_fields(const std::string& line, char separator);

// "YYYY-MM-DD", optionally followed by a time ("T..." or " ..."), which is
// passed over; nothing when it is not such a date or no such day exists.
std::optional<std::chrono::sys_days> parse_iso_date(std::string_view text);

// "YYYY-MM-DD".
std::string date_text(std::chrono::sys_days date);

// A value field: a number, or nothing for a missing-value marker (an empty
// field or a word without digits). With `decimal_comma` "12,5" reads as
// 12.5. A field with digits that is not a number is refused, `where` naming
// its file, line and column.
std::optional<double> parse_value(std::string_view field, bool decimal_comma, const std::string& where);

}  // namespace darcalim::import
