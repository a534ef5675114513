// The units of discharge that the import converts to m3/s.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace darcalim::import {

enum class FlowUnit { kCubicMetres, kCubicFeet, kLitres };

// The unit a text names: "m3/s" (also m³/s, m^3/s, cms), "cfs" (also
// ft3/s, ft³/s), "l/s"; case and blanks do not matter. Nothing for any
// other text.
std::optional<FlowUnit> parse_unit(std::string_view text);

// What one unit of flow is in m3/s (a cubic foot is 0.3048^3 m3).
double cubic_metres_per_second(FlowUnit unit);

// "m3/s", "cfs" or "l/s".
std::string unit_name(FlowUnit unit);

}  // namespace darcalim::import
