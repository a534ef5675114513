// The command line of darcalim-hindcast.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace darcalim::hindcast {

struct Options {
  bool help = false;
  bool version = false;
  std::filesystem::path folder;  // the case folder
  int from = 0;                  // issue years from..to
  int to = 0;
  std::vector<int> weeks;  // forecast weeks, ascending, each once; empty: every week of the year
  int jobs = 0;            // 0: one per hardware thread
  std::string prefix = "hindcast";
};

// Options, or the reason the command line was refused.
struct ParsedOptions {
  Options options;
  std::string error;
  bool ok() const { return error.empty(); }
};

// Refused: an unknown option, a missing value, a second folder, no folder,
// --from or --to missing or not a year, --from after --to, a bad week list,
// a number of jobs below 1, an empty prefix.
ParsedOptions parse_options(const std::vector<std::string>& arguments);

// "1,10-12" -> 1, 10, 11, 12: weeks 1..53 and ranges of them, separated by
// commas; sorted, each once. Nothing when the list is malformed or empty.
std::optional<std::vector<int>> parse_week_list(std::string_view text);

std::string usage_text();
std::string help_text();
std::string version_text();

}  // namespace darcalim::hindcast
