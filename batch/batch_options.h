// The command line of darcalim-batch. Its slices (--shard) and its folder
// list (--list) are those of the companion tools (tools/shard.h,
// tools/folder_list.h).
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tools/folder_list.h"
#include "tools/shard.h"

namespace darcalim::batch {

struct Options {
  bool help = false;
  bool version = false;
  int jobs = 0;                          // 0: one per core
  std::optional<Shard> shard;
  std::filesystem::path summary;         // empty: no summary
  std::filesystem::path list;            // empty: the folders are on the command line ("-": standard input)
  std::filesystem::path console_folder;  // empty: the runs' console output is not kept
  std::vector<std::filesystem::path> folders;
};

// Options, or the reason the command line was refused.
struct ParsedOptions {
  Options options;
  std::string error;
  bool ok() const { return error.empty(); }
};

ParsedOptions parse_options(const std::vector<std::string>& arguments);

// The summary's format, by the file's extension (any case).
enum class SummaryFormat { kCsv, kJson };
std::optional<SummaryFormat> summary_format(const std::filesystem::path& file);

std::string usage_text();
std::string help_text();
std::string version_text();

}  // namespace darcalim::batch
