// The command line of darcalim-hindcast: a hindcast of case folders (given
// as operands or with --list, perhaps one slice of it with --shard), or with
// --score the scores of pairs files.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/shard.h"

namespace darcalim::hindcast {

struct Options {
  bool help = false;
  bool version = false;
  bool score = false;                              // --score: the scores of pairs files
  std::vector<std::filesystem::path> folders;      // the case folders given as operands
  std::filesystem::path list;                      // or the file that lists them ("-": standard input)
  std::vector<std::filesystem::path> pairs_files;  // with --score, the pairs files
  int from = 0;                                    // issue years from..to
  int to = 0;
  std::vector<int> weeks;  // forecast weeks, ascending, each once; empty: every week of the year
  int jobs = 0;            // 0: one per hardware thread
  std::optional<Shard> shard;
  std::string prefix = "hindcast";
};

// Options, or the reason the command line was refused.
struct ParsedOptions {
  Options options;
  std::string error;
  bool ok() const { return error.empty(); }
};

// Refused: an unknown option, a missing value, no case folder, folders both
// as operands and with --list, --from or --to missing or not a year, --from
// after --to, a bad week list, a number of jobs below 1, a bad slice (K/N
// with 1 <= K <= N), an empty prefix; with --score, no pairs file or an
// option of a hindcast (--list, --from, --to, --weeks, --jobs, --shard).
ParsedOptions parse_options(const std::vector<std::string>& arguments);

// "1,10-12" -> 1, 10, 11, 12: weeks 1..53 and ranges of them, separated by
// commas; sorted, each once. Nothing when the list is malformed or empty.
std::optional<std::vector<int>> parse_week_list(std::string_view text);

std::string usage_text();
std::string help_text();
std::string version_text();

}  // namespace darcalim::hindcast
