#include "common/field_codecs.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>

namespace darcalim {
namespace {

// Fw.d written the plain way, from std::to_chars with a fixed precision and
// strings of its own: what the reports have always been written with.
std::string reference_real(double value, int width, int decimals) {
  const std::string stars(static_cast<std::size_t>(width), '*');
  auto right_align = [width](const std::string& s) {
    return static_cast<int>(s.size()) >= width ? s : std::string(static_cast<std::size_t>(width) - s.size(), ' ') + s;
  };
  if (std::isnan(value)) return width >= 3 ? right_align("NaN") : stars;
  const bool negative = std::signbit(value);
  if (std::isinf(value)) {
    if (width < 3 || (negative && width < 4)) return stars;
    const std::string s = width >= 8 + (negative ? 1 : 0) ? "Infinity" : "Inf";
    return right_align(negative ? "-" + s : s);
  }
  if (width <= 22 && std::fabs(value) >= std::pow(10.0, width)) return stars;
  char buffer[400];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::fixed, decimals);
  std::string digits(buffer, result.ptr);
  if (decimals > 0 && digits.rfind("0.", 0) == 0 && static_cast<int>(digits.size()) + (negative ? 1 : 0) > width) {
    digits.erase(0, 1);
  }
  std::string s = (negative ? "-" : "") + digits + (decimals == 0 ? "." : "");
  return static_cast<int>(s.size()) > width ? stars : right_align(s);
}

// Values of every kind a report meets: plain numbers of every magnitude,
// exact binary ties at the last decimal, values that round to zero or carry
// past the width, both signs, subnormals, and any bit pattern at all.
double random_value(std::mt19937_64& random, int decimals) {
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  std::uniform_int_distribution<int> exponent(-12, 17);
  const double sign = (random() & 1U) != 0 ? -1.0 : 1.0;
  switch (random() % 6) {
    case 0:
      return sign * unit(random) * std::pow(10.0, exponent(random));
    case 1: {
      // A tie in binary: an odd multiple of 2^-k, k = 1..8.
      const auto k = static_cast<int>(random() % 8) + 1;
      const auto n = static_cast<double>(random() % 200000);
      return sign * std::ldexp(2.0 * n + 1.0, -k);
    }
    case 2:
      // Half a unit of the last decimal, give or take one ulp.
      return sign * std::nextafter((static_cast<double>(random() % 100000) + 0.5) * std::pow(10.0, -decimals),
                                   (random() & 1U) != 0 ? 0.0 : 1e300);
    case 3:
      return sign * std::ldexp(unit(random), static_cast<int>(random() % 60) - 2);  // near 2^53 and past it
    case 4:
      return sign * std::ldexp(unit(random), -static_cast<int>(random() % 1100));  // down to subnormals
    default:
      return std::bit_cast<double>(random());
  }
}

TEST(RealFieldFormatter, MatchesTheFixedPrecisionReferenceOnRandomValues) {
  std::mt19937_64 random(20240611);
  constexpr int kValues = 300000;
  int mismatches = 0;
  std::string written;
  for (int i = 0; i < kValues && mismatches < 10; ++i) {
    const auto width = static_cast<int>(random() % 26) + 1;
    const auto decimals = static_cast<int>(random() % 22);
    const double value = random_value(random, decimals);
    written.clear();
    append_real(written, value, width, decimals);
    const std::string expected = reference_real(value, width, decimals);
    if (written != expected) {
      ++mismatches;
      ADD_FAILURE() << std::hexfloat << value << " F" << std::dec << width << "." << decimals << ": \"" << written
                    << "\", expected \"" << expected << "\"";
    }
  }
}

// The appended fields sit after what the buffer held, each exactly its width.
TEST(FieldAppenders, AppendAfterTheTextBefore) {
  std::string out = "|";
  append_real(out, -0.0004, 6, 3);
  append_integer(out, -7, 4, 2);
  append_integer(out, 0, 3, 0);
  append_integer(out, 123456, 4);
  append_text(out, "ABCDEFG", 4);
  append_text(out, "AB", 4);
  append_text(out, "\f", 0);
  EXPECT_EQ(out, "|-0.000 -07   ****ABCD  AB\f");
}

}  // namespace
}  // namespace darcalim
