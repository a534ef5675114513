// The case folders a companion tool is given: the list file of --list and
// the one name of each folder, to find a folder given twice.
#pragma once

#include <filesystem>
#include <istream>
#include <optional>
#include <vector>

namespace darcalim {

// The folders of a list: one a line; blank lines and lines starting with "#"
// are passed over, blanks around a name are dropped. Never fails.
std::vector<std::filesystem::path> read_folder_list(std::istream& in);

// The folders of the list file `list`, read from `standard_input` when it is
// "-"; nothing when the file cannot be opened or is a folder.
std::optional<std::vector<std::filesystem::path>> load_folder_list(const std::filesystem::path& list,
                                                                   std::istream& standard_input);

// The one name of the folder or file `path`: absolute, with ".", ".." and
// the symbolic links of its existing part resolved (a relative name is taken
// in the current folder, so "summary.csv" lies in it); the absolute path as
// it is when that cannot be done.
std::filesystem::path folder_identity(const std::filesystem::path& path);

}  // namespace darcalim
