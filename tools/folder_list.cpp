#include "tools/folder_list.h"

#include <sys/stat.h>

#include <fstream>
#include <string>

#include "tools/blank_trim.h"

namespace darcalim {

namespace fs = std::filesystem;

namespace {

// The list file name that stands for standard input.
constexpr const char* kStandardInput = "-";

}  // namespace

std::vector<fs::path> read_folder_list(std::istream& in) {
  std::vector<fs::path> folders;
  for (std::string line; std::getline(in, line);) {
    const std::string name = without_blanks(line);
    if (name.empty() || name[0] == '#') continue;
    folders.emplace_back(name);
  }
  return folders;
}

std::optional<std::vector<fs::path>> load_folder_list(const fs::path& list, std::istream& standard_input) {
  if (list == kStandardInput) return read_folder_list(standard_input);
  std::error_code ec;
  if (fs::is_directory(list, ec)) return std::nullopt;
  std::ifstream in(list);
  if (!in) return std::nullopt;
  return read_folder_list(in);
}

fs::path folder_identity(const fs::path& path) {
  std::error_code ec;
  fs::path absolute = fs::absolute(path, ec);
  if (ec) return path;
  fs::path resolved = fs::weakly_canonical(absolute, ec);
  return ec ? absolute : resolved;
}

FileIdentity identity_of(const fs::path& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) {
    return {static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino), ""};
  }
  return {0, 0, folder_identity(path).string()};
}

}  // namespace darcalim
