#include "common/field_codecs.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <system_error>

namespace darcalim {

namespace {

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

namespace {

void append_stars(std::string& out, int width) {
  out.append(static_cast<std::size_t>(width), '*');
}

// `text` right-aligned in `width` columns; the caller has checked that it fits.
void append_right_aligned(std::string& out, std::string_view text, int width) {
  if (static_cast<int>(text.size()) < width) out.append(static_cast<std::size_t>(width) - text.size(), ' ');
  out.append(text);
}

// NaN and the infinities, as words when they fit.
void append_word(std::string& out, double value, int width) {
  if (std::isnan(value)) {
    if (width >= 3) {
      append_right_aligned(out, "NaN", width);
    } else {
      append_stars(out, width);
    }
    return;
  }
  const bool negative = std::signbit(value);
  if (width < 3 || (negative && width < 4)) {
    append_stars(out, width);
    return;
  }
  const std::string_view word = (width >= 8 + (negative ? 1 : 0)) ? "Infinity" : "Inf";
  char text[10];
  std::size_t n = 0;
  if (negative) text[n++] = '-';
  for (const char c : word) text[n++] = c;
  append_right_aligned(out, std::string_view(text, n), width);
}

// Fixed-point digits of a magnitude, rounded to nearest with ties to even on
// its exact binary value. Below 2^53 and with at most 19 decimals they come
// from integer arithmetic: the whole part is exact in 64 bits, the fraction
// exact in a double, and the fraction's mantissa times 10^d exact in 128
// bits. Elsewhere std::to_chars gives them; both round alike.
constexpr int kExactDecimals = 19;
constexpr double kExactMagnitude = 9007199254740992.0;  // 2^53
// 10^0 .. 10^19, the powers that fit in 64 bits.
constexpr auto kIntegerPowersOfTen = [] {
  std::array<std::uint64_t, kExactDecimals + 1> powers{};
  std::uint64_t p = 1;
  for (auto& power : powers) {
    power = p;
    p *= 10;
  }
  return powers;
}();

#if defined(__SIZEOF_INT128__)
__extension__ typedef unsigned __int128 Wide;

// fraction * 10^decimals (0 <= fraction < 1) rounded to nearest, a tie going
// to the even neighbour (the parity of the whole part when decimals is 0).
// The result may reach 10^decimals.
std::uint64_t rounded_fraction(double fraction, int decimals, bool whole_is_odd) {
  if (fraction == 0.0) return 0;
  constexpr int kMantissaBits = 52;
  constexpr int kExponentBias = 1075;  // fraction = mantissa / 2^(1075 - biased exponent)
  const auto bits = std::bit_cast<std::uint64_t>(fraction);
  const int biased = static_cast<int>(bits >> kMantissaBits);
  std::uint64_t mantissa = bits & ((std::uint64_t{1} << kMantissaBits) - 1);
  int shift = kExponentBias - 1;  // subnormal
  if (biased != 0) {
    mantissa |= std::uint64_t{1} << kMantissaBits;
    shift = kExponentBias - biased;
  }
  // mantissa * 10^19 stays below 2^117: from a shift of 118 on it lies below
  // half a unit and rounds to 0.
  constexpr int kBeyondHalf = 118;
  if (shift >= kBeyondHalf) return 0;
  const Wide product = static_cast<Wide>(mantissa) * kIntegerPowersOfTen[static_cast<std::size_t>(decimals)];
  const auto scaled = static_cast<std::uint64_t>(product >> shift);
  const Wide rest = product - (static_cast<Wide>(scaled) << shift);
  const Wide half = static_cast<Wide>(1) << (shift - 1);
  const bool odd = decimals == 0 ? whole_is_odd : (scaled & 1U) != 0;
  return (rest > half || (rest == half && odd)) ? scaled + 1 : scaled;
}

std::size_t exact_fixed_digits(double magnitude, int decimals, char* out, char* end) {
  std::uint64_t whole = static_cast<std::uint64_t>(magnitude);
  const double fraction = magnitude - static_cast<double>(whole);
  std::uint64_t scaled = rounded_fraction(fraction, decimals, (whole & 1U) != 0);
  if (scaled == kIntegerPowersOfTen[static_cast<std::size_t>(decimals)]) {
    ++whole;
    scaled = 0;
  }
  char* p = std::to_chars(out, end, whole).ptr;
  if (decimals > 0) {
    *p++ = '.';
    char digits[kExactDecimals + 1];
    const char* last = std::to_chars(digits, digits + sizeof digits, scaled).ptr;
    const auto count = static_cast<int>(last - digits);
    for (int i = count; i < decimals; ++i) *p++ = '0';
    for (const char* d = digits; d != last; ++d) *p++ = *d;
  }
  return static_cast<std::size_t>(p - out);
}
#endif

// The digits of `magnitude` (>= 0, finite) with `decimals` decimals, or 0
// when they do not fit in the buffer.
std::size_t fixed_digits(double magnitude, int decimals, char* out, char* end) {
#if defined(__SIZEOF_INT128__)
  if (magnitude < kExactMagnitude && decimals >= 0 && decimals <= kExactDecimals) {
    return exact_fixed_digits(magnitude, decimals, out, end);
  }
#endif
  const auto result = std::to_chars(out, end, magnitude, std::chars_format::fixed, decimals);
  return result.ec == std::errc() ? static_cast<std::size_t>(result.ptr - out) : 0;
}

}  // namespace

void append_real(std::string& out, double value, int width, int decimals) {
  if (!std::isfinite(value)) {
    append_word(out, value, width);
    return;
  }
  // A magnitude of 10^width or more has more digits than the field: its
  // stars come at once, whatever the value (an exploding model writes 1e300).
  static constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                            1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  constexpr int kMaxDecimals = 50;
  const double magnitude = std::fabs(value);
  if ((width >= 0 && width <= 22 && magnitude >= kPowersOfTen[width]) || decimals > kMaxDecimals) {
    append_stars(out, width);
    return;
  }
  // Room for the blanks of a field of up to kBlankRoom columns, a sign, the
  // 309 digits of the largest double, the point and the decimals: the field
  // is built whole and appended at once.
  constexpr std::size_t kBlankRoom = 64;
  char buffer[kBlankRoom + 400];
  char* const digits = buffer + kBlankRoom + 1;
  const std::size_t count = fixed_digits(magnitude, decimals, digits, buffer + sizeof buffer - 1);
  if (count == 0) {
    append_stars(out, width);
    return;
  }
  char* first = digits;
  char* last = digits + count;
  const bool negative = std::signbit(value);
  // A zero integer part is dropped only when the field has no room for it.
  if (decimals > 0 && count >= 2 && digits[0] == '0' && digits[1] == '.' &&
      static_cast<int>(count + (negative ? 1 : 0)) > width) {
    ++first;
  }
  if (negative) *--first = '-';
  if (decimals == 0) *last++ = '.';
  const auto length = static_cast<std::size_t>(last - first);
  if (static_cast<int>(length) > width) {
    append_stars(out, width);
    return;
  }
  const auto blanks = static_cast<std::size_t>(width) - length;
  if (blanks <= static_cast<std::size_t>(first - buffer)) {
    first -= blanks;
    std::memset(first, ' ', blanks);
    out.append(first, static_cast<std::size_t>(width));
    return;
  }
  append_right_aligned(out, std::string_view(first, length), width);
}

void append_integer(std::string& out, std::int64_t value, int width, int min_digits) {
  if (min_digits == 0 && value == 0) {
    out.append(static_cast<std::size_t>(width), ' ');
    return;
  }
  const auto magnitude = value < 0 ? -static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  char digits[24];
  const char* last = std::to_chars(digits, digits + sizeof digits, magnitude).ptr;
  const auto count = static_cast<int>(last - digits);
  const int zeros = min_digits > count ? min_digits - count : 0;
  const int length = (value < 0 ? 1 : 0) + zeros + count;
  if (length > width) {
    append_stars(out, width);
    return;
  }
  out.append(static_cast<std::size_t>(width - length), ' ');
  if (value < 0) out += '-';
  out.append(static_cast<std::size_t>(zeros), '0');
  out.append(digits, static_cast<std::size_t>(count));
}

void append_text(std::string& out, std::string_view value, int width) {
  if (width == 0) {
    out.append(value);
  } else if (static_cast<int>(value.size()) >= width) {
    out.append(value.substr(0, static_cast<std::size_t>(width)));
  } else {
    append_right_aligned(out, value, width);
  }
}

std::string format_real(double value, int width, int decimals) {
  std::string s;
  append_real(s, value, width, decimals);
  return s;
}

std::string format_integer(std::int64_t value, int width, int min_digits) {
  std::string s;
  append_integer(s, value, width, min_digits);
  return s;
}

std::string format_text(std::string_view value, int width) {
  std::string s;
  append_text(s, value, width);
  return s;
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
