#include "common/output_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tests/support/scratch_folder.h"

namespace darcalim {
namespace {

std::string contents(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(OutputFile, RewriteKeepsOldContentUntilTheFirstWrite) {
  ScratchFolder folder;
  const auto path = folder.path() / "REPORT.REL";
  { std::ofstream(path) << "earlier run\n"; }
  OutputFile file;
  file.open(path, OutputFile::Mode::kRewrite);
  EXPECT_EQ(contents(path), "earlier run\n");
  file.write(Layout("(A,'X')"), {std::string("\f")});
  file.close();
  EXPECT_EQ(contents(path), "\fX\n");
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
  EXPECT_EQ(contents(path), "first\n second\n");
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
