// The case folders a companion tool is given: the list file of --list, the
// one name of each folder, and the identity that finds a folder (or file)
// given twice.
#pragma once

#include <filesystem>
#include <istream>
#include <optional>
#include <string>
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

// What the file system knows a folder or file by: its device and inode, so
// that one folder under two paths (a link, "a/../a", a bind mount) is one;
// a path that names nothing is known by its one name (folder_identity).
struct FileIdentity {
  unsigned long long device = 0;
  unsigned long long inode = 0;
  std::string path;  // for a path that names nothing

  auto operator<=>(const FileIdentity&) const = default;
};

FileIdentity identity_of(const std::filesystem::path& path);

}  // namespace darcalim
