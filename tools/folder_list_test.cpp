#include "tools/folder_list.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tests/support/scratch_folder.h"

namespace darcalim {
namespace {

namespace fs = std::filesystem;

TEST(FolderList, OneFolderALineWithoutBlanksAndComments) {
  std::istringstream in("cases/a\n\n  cases/b  \r\n# not this one\ncases/c d\n");
  EXPECT_EQ(read_folder_list(in), (std::vector<fs::path>{"cases/a", "cases/b", "cases/c d"}));
}

TEST(FolderList, FromAFileOrStandardInput) {
  ScratchFolder scratch;
  std::ofstream(scratch.path() / "list.txt") << "# two\na\nb\n";
  std::istringstream standard_input("c\n");
  EXPECT_EQ(load_folder_list(scratch.path() / "list.txt", standard_input), (std::vector<fs::path>{"a", "b"}));
  EXPECT_EQ(load_folder_list("-", standard_input), (std::vector<fs::path>{"c"}));
  EXPECT_FALSE(load_folder_list(scratch.path() / "absent.txt", standard_input));
}

TEST(FolderIdentity, OneNameForEveryWayOfWritingAFolder) {
  ScratchFolder scratch;
  fs::create_directory(scratch.path() / "case");
  fs::create_directory_symlink(scratch.path() / "case", scratch.path() / "link");
  const fs::path name = folder_identity(scratch.path() / "case");
  EXPECT_EQ(folder_identity(scratch.path() / "." / "case" / "."), name);
  EXPECT_EQ(folder_identity(scratch.path() / "link"), name);
  // A bare name lies in the current folder, whether it exists or not.
  EXPECT_EQ(folder_identity("summary.csv").parent_path(), folder_identity(fs::current_path()));
  EXPECT_EQ(folder_identity(scratch.path() / "case" / "new.csv").parent_path(), name);
}

// The identity goes by what the file system holds: a folder under a link and
// a file under a second (hard) link are the same, which no name shows.
TEST(FileIdentity, OneForEveryPathToTheSameFolderOrFile) {
  ScratchFolder scratch;
  fs::create_directory(scratch.path() / "case");
  fs::create_directory(scratch.path() / "other");
  fs::create_directory_symlink(scratch.path() / "case", scratch.path() / "link");
  std::ofstream(scratch.path() / "pairs.csv") << "x\n";
  fs::create_hard_link(scratch.path() / "pairs.csv", scratch.path() / "same-pairs.csv");
  EXPECT_EQ(identity_of(scratch.path() / "link"), identity_of(scratch.path() / "case" / "."));
  EXPECT_NE(identity_of(scratch.path() / "other"), identity_of(scratch.path() / "case"));
  EXPECT_EQ(identity_of(scratch.path() / "same-pairs.csv"), identity_of(scratch.path() / "pairs.csv"));
  EXPECT_EQ(identity_of(scratch.path() / "case" / ".." / "absent"), identity_of(scratch.path() / "absent"));
  EXPECT_NE(identity_of(scratch.path() / "absent"), identity_of(scratch.path() / "absent2"));
}

}  // namespace
}  // namespace darcalim
