// darcalim-batch: DARCALIM on many case folders, side by side, with a table
// of how each run ended and a tidy summary of the forecasts.
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <iostream>
#include <set>
#include <thread>

#include "batch/batch_folders.h"
#include "batch/batch_options.h"
#include "batch/batch_runner.h"
#include "batch/batch_summary.h"
#include "common/file_access.h"

namespace {

namespace fs = std::filesystem;
using namespace darcalim::batch;

constexpr int kUsageError = 2;

int refuse(const std::string& error) {
  std::cerr << "darcalim-batch: " << error << "\nTry 'darcalim-batch --help' for more information.\n";
  return kUsageError;
}

fs::path canonical_or_same(const fs::path& p) {
  std::error_code ec;
  fs::path c = fs::weakly_canonical(p, ec);
  return ec ? p : c;
}

// The console file of folder i: its place in the list and its name.
fs::path console_file(const fs::path& dir, std::size_t i, const fs::path& folder) {
  std::string place = std::to_string(i + 1);
  if (place.size() < 4) place.insert(0, 4 - place.size(), '0');
  std::string name = canonical_or_same(folder).filename().string();
  if (name.empty()) name = "folder";
  return dir / (place + "-" + name + ".txt");
}

int run(const std::vector<std::string>& arguments) {
  const ParsedOptions parsed = parse_options(arguments);
  if (!parsed.ok()) return refuse(parsed.error);
  const Options& o = parsed.options;
  if (o.help) {
    std::cout << help_text();
    return 0;
  }
  if (o.version) {
    std::cout << version_text();
    return 0;
  }

  std::vector<fs::path> folders = o.folders;
  if (!o.list.empty()) {
    std::error_code ec;
    if (o.list == "-") {
      folders = read_folder_list(std::cin);
    } else if (fs::is_directory(o.list, ec)) {
      return refuse("the folder list '" + o.list.string() + "' is a folder, not a file of folder names");
    } else {
      std::ifstream list(o.list);
      if (!list) return refuse("cannot read the folder list '" + o.list.string() + "'");
      folders = read_folder_list(list);
    }
  }
  std::set<FolderIdentity> seen;
  for (const fs::path& f : folders) {
    if (!seen.insert(identity_of(f)).second) {
      return refuse("folder '" + f.string() + "' is listed twice (two runs may not share a folder)");
    }
  }
  if (o.shard) folders = shard_of(folders, *o.shard);

  if (!o.summary.empty()) {
    const fs::path where = canonical_or_same(o.summary).parent_path();
    if (const auto reason = case_folder_reason(where, seen)) {
      return refuse("the summary may not be written into a case folder ('" + where.string() + "': " + *reason + ")");
    }
    std::error_code ec;
    if (!fs::is_directory(where, ec)) return refuse("no folder for the summary '" + o.summary.string() + "'");
  }
  if (!o.console_folder.empty()) {
    if (const auto reason = case_folder_reason(o.console_folder, seen)) {
      return refuse("the console output may not be written into a case folder ('" + o.console_folder.string() +
                    "': " + *reason + ")");
    }
    std::error_code ec;
    fs::create_directories(o.console_folder, ec);
    if (ec) return refuse("cannot create '" + o.console_folder.string() + "': " + ec.message());
  }

  int jobs = o.jobs;
  if (jobs == 0) jobs = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));

  std::unique_ptr<Progress> progress;
  if (isatty(STDERR_FILENO)) {
    progress = std::make_unique<ProgressBar>(std::cerr);
  } else {
    progress = std::make_unique<ProgressLines>(std::cerr);
  }
  const auto start = std::chrono::steady_clock::now();
  const std::vector<FolderOutcome> outcomes = run_batch(folders, jobs, progress.get());
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  int status = 0;
  for (const FolderOutcome& outcome : outcomes) {
    if (!outcome.result.normal_end()) status = 1;
  }
  if (!o.console_folder.empty()) {
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
      const fs::path file = console_file(o.console_folder, i, outcomes[i].folder);
      std::ofstream out(file, std::ios::binary);
      out << outcomes[i].console;
      if (!out.flush()) {
        std::cerr << "darcalim-batch: cannot write '" << file.string() << "'\n";
        status = 1;
      }
    }
  }
  write_end_table(std::cout, outcomes, seconds);
  std::cout.flush();
  if (!o.summary.empty()) {
    std::ofstream out(o.summary, std::ios::binary | std::ios::trunc);
    write_summary(out, *summary_format(o.summary), outcomes);
    if (!out.flush()) {
      std::cerr << "darcalim-batch: cannot write the summary '" << o.summary.string() << "'\n";
      status = 1;
    }
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  darcalim::ignore_file_size_signal();
  std::vector<std::string> arguments(argv + 1, argv + argc);
  return run(arguments);
}
