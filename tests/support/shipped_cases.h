// The shipped end-to-end cases: the folders of a cases directory that hold
// an input/ folder, by name in alphabetical order.
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace darcalim::testing {

inline std::vector<std::string> shipped_case_names(const std::filesystem::path& cases_dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(cases_dir)) {
    if (entry.is_directory() && std::filesystem::exists(entry.path() / "input")) {
      names.push_back(entry.path().filename().string());
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace darcalim::testing
