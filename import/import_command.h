// darcalim-import as a call: the daily record read, its weeks made and
// placed in a history, and the files written.
//
// plan_import reads and computes everything and writes nothing; it refuses
// bad input with an ImportError (see import_error.h). write_planned_files
// then writes each file whole (a temporary file beside it, then renamed),
// creating the case folder of --new-case.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "import/import_options.h"

namespace darcalim::import {

struct PlannedFile {
  std::filesystem::path path;
  std::string text;
};

struct ImportPlan {
  std::vector<PlannedFile> files;    // in the order they are written; empty when nothing is new
  std::vector<std::string> notices;  // the filled weeks and warnings, one line each
  std::string summary;               // one line
};

ImportPlan plan_import(const Options& options);

// Refused: a file that cannot be written (the files written before it stay).
void write_planned_files(const ImportPlan& plan);

// The whole command: the exit status after the messages (see the help text).
int run_import(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace darcalim::import
