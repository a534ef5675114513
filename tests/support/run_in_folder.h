// A run in a fresh scratch folder, for tests of the phases that write the
// run's files.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>

#include "driver/run.h"
#include "tests/support/file_text.h"
#include "tests/support/scratch_folder.h"

namespace darcalim::testing {

// A run whose working folder is a fresh scratch folder, with its run report
// open as CASO1.REL and the console captured.
class RunInFolder {
 public:
  RunInFolder() : run_(std::make_unique<Run>(folder_.path(), console_)) {
    run_->CASO.report_name = "CASO1.REL   ";
    run_->run_report.open(run_->file(run_->CASO.report_name), OutputFile::Mode::kRewrite);
  }

  Run& run() { return *run_; }
  std::string console() const { return console_.str(); }

  // The content of a file of the folder (files written by the run are closed
  // first so that everything has reached the disk).
  std::string file_text(const std::string& name) {
    run_->run_report.close();
    run_->boxcox_report.close();
    return darcalim::file_text(folder_.path() / name);
  }
  bool file_exists(const std::string& name) const { return std::filesystem::exists(folder_.path() / name); }

 private:
  ScratchFolder folder_;
  std::ostringstream console_;
  std::unique_ptr<Run> run_;
};

}  // namespace darcalim::testing
