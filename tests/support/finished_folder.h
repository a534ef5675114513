// A scratch copy of a shipped case's folder after its run (tests/cases/<name>/
// expected holds every file of the folder after the run), with a helper to
// replace a file.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/scratch_folder.h"

namespace darcalim {

class FinishedFolder {
 public:
  explicit FinishedFolder(const std::string& name) {
    namespace fs = std::filesystem;
    fs::copy(fs::path(DARCALIM_CASES_DIR) / name / "expected", path());
    for (const auto& entry : fs::directory_iterator(path())) {
      fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add);
    }
  }
  const std::filesystem::path& path() const { return scratch_.path(); }
  void write(const std::string& file, const std::string& text) const {
    std::ofstream(path() / file, std::ios::binary | std::ios::trunc) << text;
  }

 private:
  ScratchFolder scratch_;
};

}  // namespace darcalim
