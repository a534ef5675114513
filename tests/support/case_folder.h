// A scratch copy of a case folder of tests/cases, with helpers to alter its
// files line by line; and the copy of a case's input into a folder.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/file_text.h"
#include "tests/support/scratch_folder.h"

namespace darcalim {

// Copies the case folder `input` into the folder `work`, every file made
// writable by its owner (the reviewed copies may be read-only).
inline void copy_case_folder(const std::filesystem::path& input, const std::filesystem::path& work) {
  namespace fs = std::filesystem;
  fs::copy(input, work);
  for (const auto& entry : fs::directory_iterator(work)) {
    fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add);
  }
}

// Copies the input of case `name` (cases_dir/<name>/input) into the folder
// `work`, as copy_case_folder does.
inline void copy_case_input(const std::filesystem::path& cases_dir, const std::string& name,
                            const std::filesystem::path& work) {
  copy_case_folder(cases_dir / name / "input", work);
}

class CaseFolder {
 public:
  // Copies tests/cases/<name>/input into a new scratch folder.
  explicit CaseFolder(const std::string& name) { copy_case_input(DARCALIM_CASES_DIR, name, path()); }

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
