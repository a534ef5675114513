#include "batch/batch_folders.h"

#include <system_error>

namespace darcalim::batch {

namespace {

// The file whose presence makes a folder a case folder.
constexpr const char* kCaseIndexFileName = "CASO.DAT";

}  // namespace

std::optional<std::string> case_folder_reason(const std::filesystem::path& folder,
                                              const std::set<FileIdentity>& listed) {
  if (listed.count(identity_of(folder)) != 0) return "it is a listed case folder";
  std::error_code ec;
  if (std::filesystem::exists(folder / kCaseIndexFileName, ec)) {
    return std::string("it is a case folder (it holds ") + kCaseIndexFileName + ")";
  }
  return std::nullopt;
}

}  // namespace darcalim::batch
