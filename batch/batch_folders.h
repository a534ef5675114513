// The case folders of a batch as the file system sees them, for the checks
// of the command line: no folder listed twice, no summary or console output
// written into a case folder.
//
// A folder is known by its identity (tools/folder_list.h): one folder under
// two paths is one.
#pragma once

#include <filesystem>
#include <optional>
#include <set>
#include <string>

#include "tools/folder_list.h"

namespace darcalim::batch {

// Why nothing of the batch may be written into `folder`, or nothing when it
// may: it is a listed folder, or a case folder that is not listed (it holds
// CASO.DAT).
std::optional<std::string> case_folder_reason(const std::filesystem::path& folder,
                                              const std::set<FileIdentity>& listed);

}  // namespace darcalim::batch
