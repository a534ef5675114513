#include "common/output_file.h"

#include <gtest/gtest.h>

#include <fstream>

#include "common/run_stop.h"
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

// A full disk: the append fails, the run stops naming the file and why.
TEST(OutputFile, AppendOnAFullDiskStopsNamingTheFile) {
  ScratchFolder folder;
  const auto path = folder.path() / "PREVS.DAT";
  std::filesystem::create_symlink("/dev/full", path);
  OutputFile file;
  file.open(path, OutputFile::Mode::kAppend);
  try {
    file.write_text(std::string(100, 'x') + "\n");
    FAIL() << "no stop";
  } catch (const RunStop& stop) {
    EXPECT_EQ(stop.diagnostic(), "PREVS.DAT: cannot be written (No space left on device)");
    EXPECT_NE(std::string(stop.what()).find("PREVS.DAT"), std::string::npos);
  }
}

TEST(OutputFile, AFolderInPlaceOfAReportStops) {
  ScratchFolder folder;
  std::filesystem::create_directory(folder.path() / "CASO1.REL");
  OutputFile file;
  try {
    file.open(folder.path() / "CASO1.REL", OutputFile::Mode::kRewrite);
    FAIL() << "no stop";
  } catch (const RunStop& stop) {
    EXPECT_EQ(stop.diagnostic(), "CASO1.REL: cannot be written (a folder has its name)");
  }
}

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

// A full disk under a rewritten file: the flush or the close that hands it
// the text stops the run, naming the file and why.
TEST(OutputFile, RewriteOnAFullDiskStopsAtTheFlushAndAtTheClose) {
  ScratchFolder folder;
  const auto path = folder.path() / "CASO1.REL";
  std::filesystem::create_symlink("/dev/full", path);
  for (const bool by_flush : {true, false}) {
    OutputFile file;
    file.open(path, OutputFile::Mode::kRewrite);
    file.write_text(std::string(100, 'x') + "\n");
    try {
      by_flush ? file.flush() : file.close();
      FAIL() << "no stop";
    } catch (const RunStop& stop) {
      EXPECT_EQ(stop.diagnostic(), "CASO1.REL: cannot be written (No space left on device)");
    }
  }
}

TEST(Printable, EscapesControlBytesAndCutsLongTexts) {
  EXPECT_EQ(printable(std::string("a\0b\t\\", 5)), "a\\0b\\x09\\\\");
  EXPECT_EQ(printable(std::string(10, 'x'), 4), "xxxx...");
}

}  // namespace
}  // namespace darcalim
