#include "common/run.h"

namespace darcalim {

std::string trimmed(const std::string& name) {
  const auto first = name.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  const auto last = name.find_last_not_of(' ');
  return name.substr(first, last - first + 1);
}

std::filesystem::path Run::file(const std::string& name) const { return folder / trimmed(name); }

}  // namespace darcalim
