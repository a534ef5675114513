#include "common/field_codecs.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <system_error>

namespace darcalim {

namespace {

std::string stars(int width) { return std::string(static_cast<std::size_t>(width), '*'); }

std::string right_align(const std::string& s, int width) {
  if (static_cast<int>(s.size()) >= width) return s;
  return std::string(static_cast<std::size_t>(width) - s.size(), ' ') + s;
}

std::string remove_blanks(std::string_view field) {
  std::string s;
  for (char c : field) {
    if (c != ' ' && c != '\t') s += c;
  }
  return s;
}

}  // namespace

bool parse_integer_field(std::string_view field, std::int64_t& value) {
  std::string s = remove_blanks(field);
  if (s.empty()) {
    value = 0;
    return true;
  }
  std::size_t start = (s[0] == '+' || s[0] == '-') ? 1 : 0;
  if (start == s.size()) return false;
  std::int64_t magnitude = 0;
  auto [ptr, ec] = std::from_chars(s.data() + start, s.data() + s.size(), magnitude);
  if (ec != std::errc() || ptr != s.data() + s.size()) return false;
  value = (s[0] == '-') ? -magnitude : magnitude;
  return true;
}

// Reads a real field: sign, digits with an optional point, an optional
// exponent (E or D). Without a point the last `decimals` digits are decimals.
bool parse_real_field(std::string_view field, int decimals, double& value) {
  std::string s = remove_blanks(field);
  if (s.empty()) {
    value = 0.0;
    return true;
  }
  std::size_t i = 0;
  bool negative = false;
  if (s[i] == '+' || s[i] == '-') {
    negative = s[i] == '-';
    ++i;
  }
  std::string mantissa;
  bool point = false;
  int fraction_digits = 0;
  for (; i < s.size(); ++i) {
    char c = s[i];
    if (c >= '0' && c <= '9') {
      mantissa += c;
      if (point) ++fraction_digits;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (mantissa.empty()) return false;
  long long exponent = 0;
  if (i < s.size()) {
    char c = s[i];
    if (c == 'E' || c == 'e' || c == 'D' || c == 'd') ++i;
    else if (c != '+' && c != '-') return false;
    std::int64_t e = 0;
    if (i >= s.size() || !parse_integer_field(s.substr(i), e)) return false;
    if (e > 100000 || e < -100000) return false;
    exponent = e;
  }
  exponent -= point ? fraction_digits : decimals;
  std::string text = mantissa + "e" + std::to_string(exponent);
  double magnitude = 0.0;
  auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), magnitude);
  if (ptr != text.data() + text.size()) return false;
  if (ec == std::errc::result_out_of_range) {
    magnitude = (exponent > 0) ? HUGE_VAL : 0.0;
  } else if (ec != std::errc()) {
    return false;
  }
  value = negative ? -magnitude : magnitude;
  return true;
}


std::string format_real(double value, int width, int decimals) {
  if (std::isnan(value)) return width >= 3 ? right_align("NaN", width) : stars(width);
  const bool negative = std::signbit(value);
  if (std::isinf(value)) {
    if (width < 3 || (negative && width < 4)) return stars(width);
    std::string s = (width >= 8 + (negative ? 1 : 0)) ? "Infinity" : "Inf";
    return right_align(negative ? "-" + s : s, width);
  }
  // A magnitude of 10^width or more has more digits than the field: its
  // stars come at once, whatever the value (an exploding model writes 1e300).
  static constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                            1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  if (width >= 0 && width <= 22 && std::fabs(value) >= kPowersOfTen[width]) return stars(width);
  char buffer[400];
  if (decimals > 50) return stars(width);
  auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::fixed, decimals);
  if (result.ec != std::errc()) return stars(width);
  std::string_view digits(buffer, static_cast<std::size_t>(result.ptr - buffer));
  std::string s;
  s.reserve(digits.size() + 2);
  if (negative) s += '-';
  // A zero integer part is dropped only when the field has no room for it.
  const bool drop_zero = decimals > 0 && digits.size() >= 2 && digits[0] == '0' && digits[1] == '.' &&
                         static_cast<int>(digits.size() + (negative ? 1 : 0)) > width;
  s += drop_zero ? digits.substr(1) : digits;
  if (decimals == 0) s += '.';
  if (static_cast<int>(s.size()) > width) return stars(width);
  return right_align(s, width);
}

std::string format_integer(std::int64_t value, int width, int min_digits) {
  if (min_digits == 0 && value == 0) return std::string(static_cast<std::size_t>(width), ' ');
  std::string digits = std::to_string(value < 0 ? -static_cast<unsigned long long>(value)
                                                : static_cast<unsigned long long>(value));
  if (min_digits > static_cast<int>(digits.size())) {
    digits.insert(0, static_cast<std::size_t>(min_digits) - digits.size(), '0');
  }
  std::string s = (value < 0 ? "-" : "") + digits;
  if (static_cast<int>(s.size()) > width) return stars(width);
  return right_align(s, width);
}

std::string format_text(std::string_view value, int width) {
  if (width == 0) return std::string(value);
  if (static_cast<int>(value.size()) >= width) return std::string(value.substr(0, static_cast<std::size_t>(width)));
  return std::string(static_cast<std::size_t>(width) - value.size(), ' ') + std::string(value);
}

std::string free_form(const FieldValues& values) {
  if (values.empty()) return "\n";
  std::string line;
  for (const FieldValue& v : values) {
    line += ' ';
    if (const auto* text = std::get_if<std::string>(&v)) {
      line += *text;
    } else if (const auto* integer = std::get_if<std::int64_t>(&v)) {
      line += std::to_string(*integer);
    } else {
      throw std::logic_error("free-form records hold texts and integers only");
    }
  }
  return line + "\n";
}

std::string trimmed(std::string_view field) {
  const auto first = field.find_first_not_of(' ');
  if (first == std::string_view::npos) return "";
  const auto last = field.find_last_not_of(' ');
  return std::string(field.substr(first, last - first + 1));
}

WrittenNumber read_written_number(std::string_view field) {
  WrittenNumber n;
  n.text = trimmed(field);
  double value = 0.0;
  const char* end = n.text.data() + n.text.size();
  const auto [ptr, ec] = std::from_chars(n.text.data(), end, value);
  if (!n.text.empty() && ec == std::errc() && ptr == end) n.value = value;
  return n;
}

}  // namespace darcalim
