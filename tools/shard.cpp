#include "tools/shard.h"

#include <limits>

#include "tools/command_line.h"

namespace darcalim {

namespace {

std::optional<int> positive_integer(std::string_view text) {
  return whole_number_value(text, 1, std::numeric_limits<int>::max());
}

}  // namespace

std::optional<Shard> parse_shard(std::string_view text) {
  const auto slash = text.find('/');
  if (slash == std::string_view::npos) return std::nullopt;
  const auto k = positive_integer(text.substr(0, slash));
  const auto n = positive_integer(text.substr(slash + 1));
  if (!k || !n || *k > *n) return std::nullopt;
  return Shard{*k, *n};
}

std::vector<std::size_t> shard_places(std::size_t size, const Shard& shard) {
  std::vector<std::size_t> places;
  for (std::size_t i = static_cast<std::size_t>(shard.index - 1); i < size;
       i += static_cast<std::size_t>(shard.count)) {
    places.push_back(i);
  }
  return places;
}

}  // namespace darcalim
