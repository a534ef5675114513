#include "batch/batch_options.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <istream>

namespace darcalim::batch {

namespace {

std::optional<int> positive_integer(std::string_view text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end || value < 1) return std::nullopt;
  return value;
}

std::string without_blanks(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
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

ParsedOptions parse_options(const std::vector<std::string>& arguments) {
  ParsedOptions parsed;
  Options& o = parsed.options;
  auto refuse = [&parsed](std::string error) {
    parsed.error = std::move(error);
    return parsed;
  };
  bool options_ended = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& arg = arguments[i];
    if (options_ended || arg.empty() || arg[0] != '-' || arg == "-") {
      o.folders.emplace_back(arg);
      continue;
    }
    if (arg == "--") {
      options_ended = true;
      continue;
    }
    if (arg == "--help" || arg == "-h") {
      o.help = true;
      continue;
    }
    if (arg == "--version") {
      o.version = true;
      continue;
    }
    // An option with a value: --name=VALUE, --name VALUE, -j N or -jN.
    std::string name = arg;
    std::optional<std::string> value;
    if (arg.rfind("--", 0) == 0) {
      const auto equals = arg.find('=');
      if (equals != std::string::npos) {
        name = arg.substr(0, equals);
        value = arg.substr(equals + 1);
      }
    } else if (arg.size() > 2) {
      name = arg.substr(0, 2);
      value = arg.substr(2);
    }
    if (name != "--jobs" && name != "-j" && name != "--shard" && name != "--summary" && name != "--list" &&
        name != "--console") {
      return refuse("unrecognized option '" + arg + "'");
    }
    if (!value) {
      if (i + 1 == arguments.size()) return refuse("option '" + name + "' requires an argument");
      value = arguments[++i];
    }
    if (name == "--jobs" || name == "-j") {
      const auto jobs = positive_integer(*value);
      if (!jobs) return refuse("invalid number of jobs '" + *value + "' (a whole number from 1 up)");
      o.jobs = *jobs;
    } else if (name == "--shard") {
      o.shard = parse_shard(*value);
      if (!o.shard) return refuse("invalid shard '" + *value + "' (K/N with 1 <= K <= N)");
    } else if (value->empty()) {
      return refuse("option '" + name + "' requires a non-empty argument");
    } else if (name == "--summary") {
      o.summary = *value;
      if (!summary_format(o.summary)) return refuse("summary file '" + *value + "' must end in .csv or .json");
    } else if (name == "--list") {
      o.list = *value;
    } else {
      o.console_folder = *value;
    }
  }
  if (o.help || o.version) return parsed;
  if (!o.list.empty() && !o.folders.empty()) return refuse("give the case folders either as arguments or with --list, not both");
  if (o.list.empty() && o.folders.empty()) return refuse("no case folder given");
  return parsed;
}

std::vector<std::filesystem::path> read_folder_list(std::istream& in) {
  std::vector<std::filesystem::path> folders;
  for (std::string line; std::getline(in, line);) {
    const std::string name = without_blanks(line);
    if (name.empty() || name[0] == '#') continue;
    folders.emplace_back(name);
  }
  return folders;
}

std::optional<SummaryFormat> summary_format(const std::filesystem::path& file) {
  std::string ext = file.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (ext == ".csv") return SummaryFormat::kCsv;
  if (ext == ".json") return SummaryFormat::kJson;
  return std::nullopt;
}

std::string usage_text() {
  return "Usage: darcalim-batch [--jobs N] [--shard K/N] [--summary FILE] [--console DIR] DIR...\n"
         "  or:  darcalim-batch [--jobs N] [--shard K/N] [--summary FILE] [--console DIR] --list FILE\n";
}

std::string help_text() {
  return usage_text() +
         "Run DARCALIM on many case folders, each as its own run, side by side.\n"
         "\n"
         "Each folder receives exactly the files that darcalim writes when run in it;\n"
         "a stop in one folder does not affect the others.\n"
         "\n"
         "  -j, --jobs=N        run N folders at a time (default: one per core)\n"
         "      --shard=K/N     run only the K-th of N slices of the folder list\n"
         "                      (folder i of the list, counted from 0, belongs to\n"
         "                      slice i mod N + 1)\n"
         "      --summary=FILE  write the forecasts of all folders to FILE, as CSV\n"
         "                      or JSON by its extension (.csv, .json)\n"
         "      --list=FILE     read the case folders from FILE, one a line (\"-\":\n"
         "                      standard input); blank lines and lines starting\n"
         "                      with # are passed over\n"
         "      --console=DIR   keep the console output of each run in DIR, as\n"
         "                      NNNN-FOLDER.txt (NNNN: the folder's place in the list)\n"
         "  -h, --help          display this help and exit\n"
         "      --version       output version information and exit\n"
         "\n"
         "Progress goes to standard error: a progress bar on a terminal, otherwise\n"
         "one line per finished folder. The table of all runs goes to standard output.\n"
         "\n"
         "Exit status: 0 when every run ended normally, 1 when a run stopped or the\n"
         "summary could not be written, 2 on a usage error.\n";
}

std::string version_text() { return "darcalim-batch 1.0 (DARCALIM 5.3.2ns)\n"; }

}  // namespace darcalim::batch
