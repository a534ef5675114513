#include "tools/whole_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/support/file_text.h"
#include "tests/support/scratch_folder.h"

namespace darcalim {
namespace {

namespace fs = std::filesystem;

std::size_t entries(const fs::path& folder) {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(WholeFile, ReplacesTheTargetAndLeavesNothingElse) {
  ScratchFolder scratch;
  const fs::path target = scratch.path() / "summary.csv";
  write_whole_file(target, "a,b\n1,2\n");
  EXPECT_EQ(file_text(target), "a,b\n1,2\n");
  write_whole_file(target, "c\n");
  EXPECT_EQ(file_text(target), "c\n");
  EXPECT_EQ(entries(scratch.path()), 1u);
}

TEST(WholeFile, ReplacesALinkInsteadOfWritingThroughIt) {
  ScratchFolder scratch;
  const fs::path elsewhere = scratch.path() / "elsewhere.txt";
  std::ofstream(elsewhere) << "kept\n";
  const fs::path link = scratch.path() / "scores.csv";
  fs::create_symlink(elsewhere, link);
  write_whole_file(link, "new\n");
  EXPECT_EQ(file_text(elsewhere), "kept\n");
  EXPECT_FALSE(fs::is_symlink(link));
  EXPECT_EQ(file_text(link), "new\n");
}

TEST(WholeFile, AFailureNamesTheFileAndLeavesTheFolderAsItWas) {
  ScratchFolder scratch;
  const fs::path folder_target = scratch.path() / "a-folder";
  fs::create_directory(folder_target);
  EXPECT_THROW(write_whole_file(folder_target, "x"), WholeFileError);
  try {
    write_whole_file(scratch.path() / "missing" / "pairs.csv", "x");
    FAIL() << "a file in a missing folder was written";
  } catch (const WholeFileError& e) {
    EXPECT_NE(std::string(e.what()).find("pairs.csv: cannot be written ("), std::string::npos) << e.what();
  }
  EXPECT_EQ(entries(scratch.path()), 1u);
}

}  // namespace
}  // namespace darcalim
