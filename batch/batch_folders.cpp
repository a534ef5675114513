#include "batch/batch_folders.h"

#include <sys/stat.h>

#include <system_error>

namespace darcalim::batch {

namespace {

// The file whose presence makes a folder a case folder.
constexpr const char* kCaseIndexFileName = "CASO.DAT";

}  // namespace

FolderIdentity identity_of(const std::filesystem::path& folder) {
  struct stat st {};
  if (::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
    return {static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino), ""};
  }
  std::error_code ec;
  const std::filesystem::path canonical = std::filesystem::weakly_canonical(folder, ec);
  return {0, 0, (ec ? folder : canonical).string()};
}

std::optional<std::string> case_folder_reason(const std::filesystem::path& folder,
                                              const std::set<FolderIdentity>& listed) {
  if (listed.count(identity_of(folder)) != 0) return "it is a listed case folder";
  std::error_code ec;
  if (std::filesystem::exists(folder / kCaseIndexFileName, ec)) {
    return std::string("it is a case folder (it holds ") + kCaseIndexFileName + ")";
  }
  return std::nullopt;
}

}  // namespace darcalim::batch
