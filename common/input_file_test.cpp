#include "common/input_file.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <utility>
#include <vector>

#include "tests/support/scratch_folder.h"

namespace darcalim {
namespace {

std::vector<std::string> all_lines(LineSource& source) {
  std::vector<std::string> lines;
  while (auto line = source.next_line()) lines.push_back(*line);
  return lines;
}

struct LineCase {
  const char* name;
  std::string bytes;
  std::vector<std::string> lines;
};

void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }

class InputLines : public ::testing::TestWithParam<LineCase> {};

TEST_P(InputLines, FileAndMemoryReadAlike) {
  const LineCase& c = GetParam();
  ScratchFolder folder;
  std::ofstream(folder.path() / "IN.DAT", std::ios::binary) << c.bytes;
  InputFile file(folder.path() / "IN.DAT");
  ASSERT_TRUE(file.is_open());
  EXPECT_EQ(all_lines(file), c.lines);
  EXPECT_EQ(file.line_number(), static_cast<int>(c.lines.size()));
  TextLines text(c.bytes);
  EXPECT_EQ(all_lines(text), c.lines);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, InputLines,
    ::testing::Values(LineCase{"LineFeeds", "a\nb\n", {"a", "b"}},
                      LineCase{"CrLf", "a\r\nb\r\n", {"a", "b"}},
                      LineCase{"LastLineWithoutEnd", "a\nb", {"a", "b"}},
                      LineCase{"ByteOrderMarkSkipped", "\xEF\xBB\xBF" "a\n\xEF\xBB\xBF" "b\n", {"a", "\xEF\xBB\xBF" "b"}},
                      LineCase{"NulKept", std::string("a\0b\n", 4), {std::string("a\0b", 3)}},
                      LineCase{"EmptyLines", "\n\r\n\n", {"", "", ""}},
                      LineCase{"Empty", "", {}},
                      LineCase{"LongLineCut", std::string(kMaxLineLength + 5, 'x') + "\r\nnext\n",
                               {std::string(kMaxLineLength, 'x'), "next"}}),
    [](const ::testing::TestParamInfo<LineCase>& row) { return std::string(row.param.name); });

// What is not a regular file is not opened, and not waited on: a FIFO
// without a writer would block an ordinary open for ever, a device give
// bytes without end.
TEST(InputFile, OnlyARegularFileIsOpen) {
  ScratchFolder folder;
  const auto fifo = folder.path() / "FIFO.DAT";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const auto device = folder.path() / "ZERO.DAT";
  std::filesystem::create_symlink("/dev/zero", device);
  const std::pair<std::filesystem::path, const char*> cases[] = {
      {folder.path(), "not a regular file (a folder has its name)"},
      {folder.path() / "NONE.DAT", "file not found or not readable"},
      {fifo, "not a regular file (a FIFO has its name)"},
      {device, "not a regular file (a device has its name)"},
  };
  for (const auto& [path, fault] : cases) {
    const InputFile file(path);
    EXPECT_FALSE(file.is_open()) << path;
    EXPECT_EQ(file.fault(), fault) << path;
  }
  std::ofstream(folder.path() / "LINK.DAT") << "a\n";
  std::filesystem::create_symlink("LINK.DAT", folder.path() / "TO.DAT");
  EXPECT_TRUE(InputFile(folder.path() / "TO.DAT").is_open()) << "an input may be a link";
}

}  // namespace
}  // namespace darcalim
