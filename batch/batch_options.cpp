#include "batch/batch_options.h"

#include <algorithm>
#include <cctype>
#include <limits>

#include "tools/command_line.h"

namespace darcalim::batch {

namespace {

std::optional<int> positive_integer(std::string_view text) {
  return whole_number_value(text, 1, std::numeric_limits<int>::max());
}

constexpr CommandOption kOptions[] = {
    {"--jobs", "-j", OptionValue::kAny},        // folders run at a time
    {"--shard", "", OptionValue::kAny},         // K/N
    {"--summary", "", OptionValue::kNonEmpty},  // the summary file
    {"--list", "", OptionValue::kNonEmpty},     // the file that lists the folders
    {"--console", "", OptionValue::kNonEmpty},  // the folder of the console files
    {"--help", "-h", OptionValue::kNone},       // the help text
    {"--version", "", OptionValue::kNone},      // the version
};

// Takes one argument of the command line into `o`; the reason it is refused, or "".
std::string take_argument(Options& o, const CommandArgument& a) {
  if (a.is_operand()) {
    o.folders.emplace_back(a.value);
  } else if (a.is("--help")) {
    o.help = true;
  } else if (a.is("--version")) {
    o.version = true;
  } else if (a.is("--jobs")) {
    const auto jobs = positive_integer(a.value);
    if (!jobs) return "invalid number of jobs '" + a.value + "' (a whole number from 1 up)";
    o.jobs = *jobs;
  } else if (a.is("--shard")) {
    o.shard = parse_shard(a.value);
    if (!o.shard) return "invalid shard '" + a.value + "' (K/N with 1 <= K <= N)";
  } else if (a.is("--summary")) {
    o.summary = a.value;
    if (!summary_format(o.summary)) return "summary file '" + a.value + "' must end in .csv or .json";
  } else if (a.is("--list")) {
    o.list = a.value;
  } else {
    o.console_folder = a.value;
  }
  return "";
}

}  // namespace

ParsedOptions parse_options(const std::vector<std::string>& arguments) {
  ParsedOptions parsed;
  Options& o = parsed.options;
  parsed.error = scan_command_line(arguments, kOptions, [&o](const CommandArgument& a) { return take_argument(o, a); });
  if (!parsed.ok() || o.help || o.version) return parsed;
  if (!o.list.empty() && !o.folders.empty()) {
    parsed.error = "give the case folders either as arguments or with --list, not both";
  } else if (o.list.empty() && o.folders.empty()) {
    parsed.error = "no case folder given";
  }
  return parsed;
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
