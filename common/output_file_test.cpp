#include "common/output_file.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <string>
#include <tuple>

#include "common/run_stop.h"
#include "tests/support/file_size_limit.h"
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

// A file in memory touches no disk, however much it holds; its text joins
// the file on disk after what was written there before, and it starts again
// empty.
TEST(OutputFile, TextInMemoryJoinsTheFileInOrder) {
  ScratchFolder folder;
  const auto path = folder.path() / "CASO1.REL";
  OutputFile report;
  report.open(path, OutputFile::Mode::kRewrite);
  report.write_text("window 1\n");
  OutputFile side;
  side.open_in_memory();
  const std::string large(OutputFile::kWriteSize, 'x');
  side.write(Layout("A"), {large});
  side.write_text("window 3\n   \n");
  EXPECT_EQ(side.last_line(), "window 3");
  report.write_text("window 2\n");
  side.move_text_to(report);
  EXPECT_EQ(report.last_line(), "window 3");
  side.write_text("next pass\n");
  side.move_text_to(report);
  report.close();
  EXPECT_EQ(file_text(path), "window 1\nwindow 2\n" + large + "\nwindow 3\n   \nnext pass\n");
  side.write_text("forgotten\n");
  side.close_and_delete();
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
  EXPECT_THROW(report.move_text_to(side), std::logic_error);
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

// Each appended record reaches the file at once, whole: another reader sees
// it before the file is closed.
TEST(OutputFile, AppendedRecordIsOnDiskAtOnce) {
  ScratchFolder folder;
  const auto path = folder.path() / "PREVS.DAT";
  { std::ofstream(path) << "earlier\n"; }
  OutputFile file;
  file.open(path, OutputFile::Mode::kAppend);
  file.write_text("record 1\nline 2\nline 3\n");
  EXPECT_EQ(file_text(path), "earlier\nrecord 1\nline 2\nline 3\n");
}

// A file that cannot grow (a full disk, a file-size limit): the append
// fails part-way, the file is cut back to its earlier records and the run
// stops naming the file and why.
TEST(OutputFile, AppendThatCannotGrowIsCutBackAndStops) {
  ScratchFolder folder;
  const auto path = folder.path() / "PREVS.DAT";
  { std::ofstream(path) << "earlier\n"; }
  OutputFile file;
  file.open(path, OutputFile::Mode::kAppend);
  try {
    const FileSizeLimit limit(50);
    file.write_text(std::string(100, 'x') + "\n");
    FAIL() << "no stop";
  } catch (const RunStop& stop) {
    EXPECT_EQ(stop.diagnostic(), "PREVS.DAT: cannot be written (File too large)");
    EXPECT_NE(std::string(stop.what()).find("PREVS.DAT"), std::string::npos);
  }
  EXPECT_EQ(file_text(path), "earlier\n");
}

// The forecast record goes with the model-file line: taking it back leaves
// the file as it was before it.
TEST(OutputFile, WithdrawTakesBackTheLastAppend) {
  ScratchFolder folder;
  const auto path = folder.path() / "PREVS.DAT";
  { std::ofstream(path) << "earlier\n"; }
  OutputFile file;
  file.open(path, OutputFile::Mode::kAppend);
  file.write_text("one\n");
  file.write_text("two\n");
  file.withdraw_last_append();
  file.close();
  EXPECT_EQ(file_text(path), "earlier\none\n");
}

// Something other than a regular file named like an output is refused in
// either mode, without waiting on it and without writing through it: a
// link's target is neither written nor created.
struct Irregular {
  const char* name;
  std::function<void(const std::filesystem::path& at, const std::filesystem::path& outside)> make;
  const char* reason;
};

void PrintTo(const Irregular& c, std::ostream* os) { *os << c.name; }

class IrregularOutput : public ::testing::TestWithParam<std::tuple<Irregular, OutputFile::Mode>> {};

TEST_P(IrregularOutput, IsRefusedUntouched) {
  const auto& [c, mode] = GetParam();
  ScratchFolder folder;
  const auto path = folder.path() / "RANK1.CSV";
  const auto outside = folder.path() / "elsewhere.txt";
  c.make(path, outside);
  const bool outside_existed = std::filesystem::exists(outside);
  OutputFile file;
  try {
    file.open(path, mode);
    FAIL() << "no stop";
  } catch (const RunStop& stop) {
    EXPECT_EQ(stop.diagnostic(), std::string("RANK1.CSV: cannot be written (") + c.reason + ")");
  }
  EXPECT_EQ(std::filesystem::exists(outside), outside_existed);
  if (outside_existed) {
    EXPECT_EQ(file_text(outside), "not to be touched\n");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, IrregularOutput,
    ::testing::Combine(
        ::testing::Values(
            Irregular{"Folder", [](const auto& at, const auto&) { std::filesystem::create_directory(at); },
                      "a folder has its name"},
            Irregular{"LinkToAFile",
                      [](const auto& at, const auto& outside) {
                        std::ofstream(outside) << "not to be touched\n";
                        std::filesystem::create_symlink(outside, at);
                      },
                      "a symbolic link has its name"},
            Irregular{"DanglingLink", [](const auto& at, const auto& outside) { std::filesystem::create_symlink(outside, at); },
                      "a symbolic link has its name"},
            Irregular{"Fifo", [](const auto& at, const auto&) { ASSERT_EQ(mkfifo(at.c_str(), 0600), 0); },
                      "a FIFO has its name"}),
        ::testing::Values(OutputFile::Mode::kRewrite, OutputFile::Mode::kAppend)),
    [](const auto& row) {
      return std::string(std::get<0>(row.param).name) +
             (std::get<1>(row.param) == OutputFile::Mode::kAppend ? "Appended" : "Rewritten");
    });

TEST(OutputFile, LastLineIsTheLastWithText) {
  ScratchFolder folder;
  OutputFile file;
  file.open(folder.path() / "CASO1.REL", OutputFile::Mode::kRewrite);
  file.write_text("\n\n***** ENCONTRADO VARIANCIA NULA *****\n\n  \n");
  EXPECT_EQ(file.last_line(), "***** ENCONTRADO VARIANCIA NULA *****");
  file.flush();
  file.write_text("\n\f\n");
  EXPECT_EQ(file.last_line(), "***** ENCONTRADO VARIANCIA NULA *****");
  file.write_text(" ultima\n");
  EXPECT_EQ(file.last_line(), " ultima");
}

// A rewritten file receives its text in large writes: what passes the write
// size at once, the rest at a flush or at the close.
TEST(OutputFile, RewriteReceivesItsTextInLargeWritesAndAtAFlush) {
  ScratchFolder folder;
  const auto path = folder.path() / "CASO1.REL";
  OutputFile file;
  file.open(path, OutputFile::Mode::kRewrite);
  const Layout text("A");
  const std::string line(99, 'x');
  std::string written;
  while (written.size() < OutputFile::kWriteSize) {
    file.write(text, {line});
    written += line + "\n";
  }
  EXPECT_EQ(file_text(path), written);
  file.write_text("tail\n");
  file.flush();
  EXPECT_EQ(file_text(path), written + "tail\n");
  file.write_text("end\n");
  file.close();
  EXPECT_EQ(file_text(path), written + "tail\nend\n");
}

// A file that cannot grow under a rewritten file: the flush or the close
// that hands it the text stops the run, naming the file and why.
TEST(OutputFile, RewriteThatCannotGrowStopsAtTheFlushAndAtTheClose) {
  ScratchFolder folder;
  const auto path = folder.path() / "CASO1.REL";
  for (const bool by_flush : {true, false}) {
    OutputFile file;
    file.open(path, OutputFile::Mode::kRewrite);
    file.write_text(std::string(100, 'x') + "\n");
    try {
      const FileSizeLimit limit(50);
      by_flush ? file.flush() : file.close();
      FAIL() << "no stop";
    } catch (const RunStop& stop) {
      EXPECT_EQ(stop.diagnostic(), "CASO1.REL: cannot be written (File too large)");
    }
  }
}

TEST(Printable, EscapesControlBytesAndCutsLongTexts) {
  EXPECT_EQ(printable(std::string("a\0b\t\\", 5)), "a\\0b\\x09\\\\");
  EXPECT_EQ(printable(std::string(10, 'x'), 4), "xxxx...");
}

}  // namespace
}  // namespace darcalim
