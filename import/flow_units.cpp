#include "import/flow_units.h"

#include <array>
#include <utility>

#include "import/daily_text.h"

namespace darcalim::import {

namespace {

constexpr double kFoot = 0.3048;  // m
constexpr double kLitre = 0.001;  // m3

// The text with blanks left out, lower case, and a superscript three (UTF-8
// or Latin-1) or "^3" written as "3".
std::string normalised(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == ' ' || c == '^') continue;
    if (c == '\xC2' && i + 1 < text.size() && text[i + 1] == '\xB3') {
      out += '3';
      ++i;
    } else if (c == '\xB3') {
      out += '3';
    } else {
      out += c;
    }
  }
  return lower(out);
}

}  // namespace

std::optional<FlowUnit> parse_unit(std::string_view text) {
  static const std::array<std::pair<const char*, FlowUnit>, 9> kNames{{
      {"m3/s", FlowUnit::kCubicMetres},
      {"cms", FlowUnit::kCubicMetres},
      {"cumecs", FlowUnit::kCubicMetres},
      {"cfs", FlowUnit::kCubicFeet},
      {"ft3/s", FlowUnit::kCubicFeet},
      {"ft3s-1", FlowUnit::kCubicFeet},
      {"l/s", FlowUnit::kLitres},
      {"ls-1", FlowUnit::kLitres},
      {"m3s-1", FlowUnit::kCubicMetres},
  }};
  const std::string key = normalised(text);
  for (const auto& [name, unit] : kNames) {
    if (key == name) return unit;
  }
  return std::nullopt;
}

double cubic_metres_per_second(FlowUnit unit) {
  switch (unit) {
    case FlowUnit::kCubicFeet:
      return kFoot * kFoot * kFoot;
    case FlowUnit::kLitres:
      return kLitre;
    default:
      return 1.0;
  }
}

std::string unit_name(FlowUnit unit) {
  switch (unit) {
    case FlowUnit::kCubicFeet:
      return "cfs";
    case FlowUnit::kLitres:
      return "l/s";
    default:
      return "m3/s";
  }
}

}  // namespace darcalim::import
