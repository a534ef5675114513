// The slices of a list of work that the companion tools deal out over
// machines (--shard K/N): the folders of darcalim-batch, the (case, issue
// week) units of darcalim-hindcast.
//
// Item i of the list (from 0) belongs to slice i mod N + 1: the items are
// dealt out in turn, so every slice gets items from the whole list, the N
// slices hold every item exactly once whatever machine computes them, and
// their sizes differ by at most one. A slice may be empty.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace darcalim {

// The K-th of N slices (1 <= K <= N).
struct Shard {
  int index = 1;
  int count = 1;
};

// "K/N" with whole numbers 1 <= K <= N; nothing for anything else (K or N
// below 1, K above N, text, blanks, a missing part).
std::optional<Shard> parse_shard(std::string_view text);

// Whether item i (from 0) belongs to the slice.
inline bool in_shard(std::size_t i, const Shard& shard) {
  return i % static_cast<std::size_t>(shard.count) == static_cast<std::size_t>(shard.index - 1);
}

// The places (from 0, ascending) of the items of a list of `size` items that
// belong to the slice.
std::vector<std::size_t> shard_places(std::size_t size, const Shard& shard);

// The items of `list` that belong to the slice, in the order of the list.
template <typename T>
std::vector<T> shard_of(const std::vector<T>& list, const Shard& shard) {
  std::vector<T> out;
  for (const std::size_t i : shard_places(list.size(), shard)) out.push_back(list[i]);
  return out;
}

}  // namespace darcalim
