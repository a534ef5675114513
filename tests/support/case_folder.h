// A scratch copy of a case folder of tests/cases, with helpers to alter its
// files line by line.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/file_text.h"
#include "tests/support/scratch_folder.h"

namespace darcalim {

class CaseFolder {
 public:
  // Copies tests/cases/<name>/input into a new scratch folder.
  explicit CaseFolder(const std::string& name) {
    namespace fs = std::filesystem;
    fs::copy(fs::path(DARCALIM_CASES_DIR) / name / "input", path());
    for (const auto& entry : fs::directory_iterator(path())) {
      fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add);
    }
  }

  const std::filesystem::path& path() const { return scratch_.path(); }

  std::string read(const std::string& file) const { return file_text(path() / file); }
  void write(const std::string& file, const std::string& text) const {
    std::ofstream(path() / file, std::ios::binary | std::ios::trunc) << text;
  }
  std::vector<std::string> lines(const std::string& file) const {
    std::vector<std::string> out;
    std::istringstream in(read(file));
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
  }
  void set_lines(const std::string& file, const std::vector<std::string>& lines) const {
    std::string text;
    for (const auto& l : lines) text += l + "\n";
    write(file, text);
  }
  // Replaces line n (1-based) of a file.
  void replace_line(const std::string& file, int n, const std::string& text) const {
    auto l = lines(file);
    l.at(static_cast<std::size_t>(n - 1)) = text;
    set_lines(file, l);
  }
  // Keeps the first n lines of a file.
  void keep_lines(const std::string& file, int n) const {
    auto l = lines(file);
    l.resize(static_cast<std::size_t>(n));
    set_lines(file, l);
  }
  void remove(const std::string& file) const { std::filesystem::remove(path() / file); }

 private:
  ScratchFolder scratch_;
};

}  // namespace darcalim
