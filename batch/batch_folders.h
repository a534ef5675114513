// The case folders of a batch as the file system sees them, for the checks
// of the command line: no folder listed twice, no summary or console output
// written into a case folder.
//
// A folder is known by its device and inode, so that one folder under two
// paths (a link, "a/../a", a bind mount) is one; a path that names no
// folder is known by its path (its run reports it as not a folder).
#pragma once

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <tuple>

namespace darcalim::batch {

struct FolderIdentity {
  unsigned long long device = 0;
  unsigned long long inode = 0;
  std::string path;  // for a path that names no folder

  auto operator<=>(const FolderIdentity&) const = default;
};

FolderIdentity identity_of(const std::filesystem::path& folder);

// Why nothing of the batch may be written into `folder`, or nothing when it
// may: it is a listed folder, or a case folder that is not listed (it holds
// CASO.DAT).
std::optional<std::string> case_folder_reason(const std::filesystem::path& folder,
                                              const std::set<FolderIdentity>& listed);

}  // namespace darcalim::batch
