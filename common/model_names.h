// The model-name lists that the reports and the forecast table print.
//
// Every name is blank-padded on the right to the width of its list: 20
// characters for the lists below, 14 for the abbreviated names.
#pragma once

#include <string>

#include "common/fixed_array.h"
#include "common/table_sizes.h"

namespace darcalim {

inline constexpr int kLongNameWidth = 20;
inline constexpr int kShortNameWidth = 14;

// Kinds of series in the name lists.
enum class NameKind { kTransformed, kLogarithmic, kPlain };

struct ModelNameLists {
  // The joined list of a combined run: "T" 1..46, plain 1..47, "L" 1..47.
  Array<std::string, kMaxModels> NOMEMOD;
  // (base position, kind): 1 "T", 2 "L", 3 plain.
  Array<std::string, kBaseModels, 3> by_series_kind;
  // (short position, kind): 1 plain, 2 "L".
  Array<std::string, kShortBaseModels, 2> short_plain_and_log;
  // (base position, kind): 1 "L", 2 plain.
  Array<std::string, kBaseModels, 2> log_and_plain;
  // "T" short without TCONSTANTE (8), plain (9), "L" (9).
  Array<std::string, kShortJoinedModels> short_combined;
  // "L" short without LCONSTANTE (8), plain (9), "T" (9).
  Array<std::string, kShortJoinedModels> short_log_first;
  // "T" names of the nine short positions, TCONSTANTE last.
  Array<std::string, kShortBaseModels> short_boxcox;
};

}  // namespace darcalim
