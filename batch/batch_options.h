// The command line of darcalim-batch and the folder list it runs.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace darcalim::batch {

// The K-th of N slices of the folder list (1 <= K <= N).
struct Shard {
  int index = 1;
  int count = 1;
};

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

// "K/N" with 1 <= K <= N.
std::optional<Shard> parse_shard(std::string_view text);

// Whether position i (from 0) of the list belongs to the shard: the folders
// are dealt out in turn, position i to slice i mod N + 1, so every slice gets
// folders from the whole list and the slices together hold each once.
inline bool in_shard(std::size_t i, const Shard& shard) {
  return i % static_cast<std::size_t>(shard.count) == static_cast<std::size_t>(shard.index - 1);
}

template <typename T>
std::vector<T> shard_of(const std::vector<T>& list, const Shard& shard) {
  std::vector<T> out;
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (in_shard(i, shard)) out.push_back(list[i]);
  }
  return out;
}

// The folders of a list file: one a line; blank lines and lines starting
// with "#" are passed over, blanks around a name are dropped.
std::vector<std::filesystem::path> read_folder_list(std::istream& in);

// The summary's format, by the file's extension (any case).
enum class SummaryFormat { kCsv, kJson };
std::optional<SummaryFormat> summary_format(const std::filesystem::path& file);

std::string usage_text();
std::string help_text();
std::string version_text();

}  // namespace darcalim::batch
