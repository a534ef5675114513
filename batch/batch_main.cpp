// darcalim-batch: DARCALIM on many case folders, side by side, with a table
// of how each run ended and a tidy summary of the forecasts.
#include <unistd.h>

#include <chrono>
#include <iostream>
#include <mutex>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "batch/batch_folders.h"
#include "batch/batch_options.h"
#include "batch/batch_runner.h"
#include "batch/batch_summary.h"
#include "common/file_access.h"
#include "tools/whole_file.h"
#include "tools/worker_memory.h"

namespace {

namespace fs = std::filesystem;
using namespace darcalim::batch;
using darcalim::FileIdentity;
using darcalim::folder_identity;
using darcalim::identity_of;
using darcalim::load_folder_list;
using darcalim::Shard;
using darcalim::shard_of;
using darcalim::shard_places;
using darcalim::WholeFileError;
using darcalim::write_whole_file;

constexpr int kUsageError = 2;

int refuse(const std::string& error) {
  std::cerr << "darcalim-batch: " << error << "\nTry 'darcalim-batch --help' for more information.\n";
  return kUsageError;
}

// The console file of the folder at place i (from 0) of the list: that
// place, counted from 1, and the folder's name.
fs::path console_file(const fs::path& dir, std::size_t i, const fs::path& folder) {
  std::string place = std::to_string(i + 1);
  if (place.size() < 4) place.insert(0, 4 - place.size(), '0');
  std::string name = folder_identity(folder).filename().string();
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
    if (o.list != "-" && fs::is_directory(o.list, ec)) {
      return refuse("the folder list '" + o.list.string() + "' is a folder, not a file of folder names");
    }
    const auto listed = load_folder_list(o.list, std::cin);
    if (!listed) return refuse("cannot read the folder list '" + o.list.string() + "'");
    folders = *listed;
  }
  std::set<FileIdentity> seen;
  for (const fs::path& f : folders) {
    if (!seen.insert(identity_of(f)).second) {
      return refuse("folder '" + f.string() + "' is listed twice (two runs may not share a folder)");
    }
  }
  // The places in the list of the folders that run (all of them without a slice).
  const Shard slice = o.shard.value_or(Shard{1, 1});
  const std::vector<std::size_t> places = shard_places(folders.size(), slice);
  folders = shard_of(folders, slice);

  if (!o.summary.empty()) {
    const fs::path where = folder_identity(o.summary).parent_path();
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
  // Each console file is written whole as soon as its folder's run has ended.
  std::mutex unwritten_lock;
  std::vector<std::string> unwritten;  // the reasons of the console files that could not be written
  ConsoleSink console_sink;
  if (!o.console_folder.empty()) {
    console_sink = [&](std::size_t i, const std::string& text) {
      try {
        write_whole_file(console_file(o.console_folder, places[i], folders[i]), text);
      } catch (const WholeFileError& error) {
        const std::lock_guard<std::mutex> hold(unwritten_lock);
        unwritten.emplace_back(error.what());
      }
    };
  }
  const auto start = std::chrono::steady_clock::now();
  const std::vector<FolderOutcome> outcomes = run_batch(folders, jobs, progress.get(), console_sink);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  int status = 0;
  for (const FolderOutcome& outcome : outcomes) {
    if (!outcome.result.normal_end()) status = 1;
  }
  for (const std::string& reason : unwritten) {
    std::cerr << "darcalim-batch: cannot write the console output: " << reason << "\n";
    status = 1;
  }
  write_end_table(std::cout, outcomes, seconds);
  std::cout.flush();
  if (!o.summary.empty()) {
    std::ostringstream text;
    write_summary(text, *summary_format(o.summary), outcomes);
    try {
      write_whole_file(o.summary, text.str());
    } catch (const WholeFileError& error) {
      std::cerr << "darcalim-batch: cannot write the summary: " << error.what() << "\n";
      status = 1;
    }
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  darcalim::ignore_file_size_signal();
  darcalim::reuse_freed_memory();
  std::vector<std::string> arguments(argv + 1, argv + argc);
  return run(arguments);
}
