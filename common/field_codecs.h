// The field codecs of the record layouts: one value written through Fw.d,
// Iw[.m] or Aw, a free-form record, and a field's columns read back.
//
// Writing: Fw.d rounds the exact binary value to nearest, ties to even,
// whatever the locale; a negative value that rounds to zero keeps its sign;
// the leading "0" of a fraction is dropped only when the field has no room
// for it; a value that does not fit is written as w asterisks (also for Iw);
// NaN and infinities are written as words when they fit.
//
// Reading: blanks inside a numeric field are ignored and an all-blank field
// is 0; Fw.d without a decimal point takes d implied decimals; an exponent
// (E, D) is accepted. A field that is not a number reads as false.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace darcalim {

// One value of a record: an integer (I fields), a real (F fields) or a text
// (A fields). A one-character text such as "\f" takes one column.
using FieldValue = std::variant<std::int64_t, double, std::string>;
using FieldValues = std::vector<FieldValue>;

// The fields appended to `out`, with no string of their own: Fw.d and Iw
// append exactly w characters, Aw w characters and A the text whole.
void append_real(std::string& out, double value, int width, int decimals);
void append_integer(std::string& out, std::int64_t value, int width, int min_digits = -1);
void append_text(std::string& out, std::string_view value, int width);

// The same fields as strings of their own.
std::string format_real(double value, int width, int decimals);
std::string format_integer(std::int64_t value, int width, int min_digits = -1);
std::string format_text(std::string_view value, int width);

// A free-form record: every line begins with one blank and the values are
// separated by one blank. Texts are written as they are, integers in their
// shortest form. No values gives an empty line.
std::string free_form(const FieldValues& values);

bool parse_integer_field(std::string_view field, std::int64_t& value);
bool parse_real_field(std::string_view field, int decimals, double& value);

// The text of a field without the blanks around it ("" for a blank field).
std::string trimmed(std::string_view field);

// A number as a record writes it through Fw.d, read back from its field: the
// text without blanks, and its value unless the field shows asterisks (a
// number too wide for it).
struct WrittenNumber {
  std::string text;
  std::optional<double> value;

  // Whether the field holds a number or asterisks (false for a blank field
  // or any other text).
  bool readable() const { return value.has_value() || is_asterisks(); }
  bool is_asterisks() const { return !text.empty() && text.find_first_not_of('*') == std::string::npos; }
};

WrittenNumber read_written_number(std::string_view field);

}  // namespace darcalim
