#include "common/output_file.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/file_text.h"
#include "tests/support/scratch_folder.h"

namespace darcalim {
namespace {

TEST(OutputFile, RewriteKeepsOldContentUntilTheFirstWrite) {
  ScratchFolder folder;
  const auto path = folder.path() / "REPORT.REL";
  { std::ofstream(path) << "earlier run\n"; }
  OutputFile file;
  file.open(path, OutputFile::Mode::kRewrite);
  EXPECT_EQ(file_text(path), "earlier run\n");
  file.write(Layout("(A,'X')"), {std::string("\f")});
  file.close();
  EXPECT_EQ(file_text(path), "\fX\n");
}

TEST(OutputFile, RewriteCreatesAnAbsentFileAtOnce) {
  ScratchFolder folder;
  OutputFile file;
  file.open(folder.path() / "NEW.DAT", OutputFile::Mode::kRewrite);
  EXPECT_TRUE(std::filesystem::exists(folder.path() / "NEW.DAT"));
}

TEST(OutputFile, AppendGoesAfterTheExistingLines) {
  ScratchFolder folder;
  const auto path = folder.path() / "PREVS.DAT";
  { std::ofstream(path) << "first\n"; }
  OutputFile file;
  file.open(path, OutputFile::Mode::kAppend);
  file.write_free({std::string("second")});
  file.close();
  EXPECT_EQ(file_text(path), "first\n second\n");
}

TEST(OutputFile, CloseAndDeleteRemovesTheFile) {
  ScratchFolder folder;
  const auto path = folder.path() / "RANK.CSV";
  OutputFile file;
  file.open(path, OutputFile::Mode::kRewrite);
  file.write_text("x\n");
  file.close_and_delete();
  EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
}  // namespace darcalim
