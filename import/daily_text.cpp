#include "import/daily_text.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "common/input_file.h"
#include "import/import_error.h"

namespace darcalim::import {

namespace {

bool is_blank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

bool is_digit(char c) {
  return c >= '0' && c <= '9';
}

std::optional<int> digits(std::string_view text) {
  int value = 0;
  if (text.empty() || !std::all_of(text.begin(), text.end(), is_digit)) return std::nullopt;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

constexpr std::size_t kIsoDateLength = 10;  // YYYY-MM-DD

}  // namespace

std::string place(const std::string& file, int line, int column) {
  std::string text = file + ", line " + std::to_string(line);
  if (column > 0) text += ", column " + std::to_string(column);
  return text;
}

std::vector<std::string> read_lines(const std::string& path) {
  InputFile file(path);
  if (!file.is_open()) throw ImportError(path + ": cannot be read");
  std::vector<std::string> lines;
  while (auto line = file.next_line()) lines.push_back(std::move(*line));
  return lines;
}

std::string trim(std::string_view text) {
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  return std::string(text);
}

std::string lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::vector<std::string> split_fields(const std::string& line, char separator) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = line.find(separator, start);
    std::string field = trim(std::string_view(line).substr(start, end == std::string::npos ? end : end - start));
    if (field.size() >= 2 && field.front() == '"' && field.back() == '"') field = field.substr(1, field.size() - 2);
    fields.push_back(std::move(field));
    if (end == std::string::npos) return fields;
    start = end + 1;
  }
}

std::optional<std::chrono::sys_days> parse_iso_date(std::string_view text) {
  if (text.size() < kIsoDateLength || text[4] != '-' || text[7] != '-') return std::nullopt;
  if (text.size() > kIsoDateLength && text[kIsoDateLength] != 'T' && text[kIsoDateLength] != ' ') return std::nullopt;
  const auto y = digits(text.substr(0, 4));
  const auto m = digits(text.substr(5, 2));
  const auto d = digits(text.substr(8, 2));
  if (!y || !m || !d) return std::nullopt;
  const std::chrono::year_month_day date{std::chrono::year{*y}, std::chrono::month{static_cast<unsigned>(*m)},
                                         std::chrono::day{static_cast<unsigned>(*d)}};
  if (!date.ok()) return std::nullopt;
  return std::chrono::sys_days{date};
}

std::string date_text(std::chrono::sys_days date) {
  const std::chrono::year_month_day ymd{date};
  const auto two_digits = [](unsigned v) {
    return std::string{static_cast<char>('0' + v / 10), static_cast<char>('0' + v % 10)};
  };
  std::string year = std::to_string(static_cast<int>(ymd.year()));
  year.insert(0, year.size() < 4 ? 4 - year.size() : 0, '0');
  return year + "-" + two_digits(static_cast<unsigned>(ymd.month())) + "-" +
         two_digits(static_cast<unsigned>(ymd.day()));
}

std::optional<double> parse_value(std::string_view field, bool decimal_comma, const std::string& where) {
  std::string text = trim(field);
  if (std::none_of(text.begin(), text.end(), is_digit)) return std::nullopt;
  if (decimal_comma && text.find('.') == std::string::npos) std::replace(text.begin(), text.end(), ',', '.');
  std::string_view number = text;
  if (!number.empty() && number.front() == '+') number.remove_prefix(1);
  double value = 0.0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (error != std::errc() || end != number.data() + number.size()) {
    throw ImportError(where + ": \"" + std::string(field) + "\" is not a number");
  }
  return value;
}

}  // namespace darcalim::import
