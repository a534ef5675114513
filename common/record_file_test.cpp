#include "common/record_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <fstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "common/run_stop.h"
#include "tests/support/file_text.h"
#include "tests/support/scratch_folder.h"

namespace darcalim {
namespace {

constexpr std::size_t kRecordBytes = 752;

// Opens the file, writes the records (number, values) and closes it.
void write_records(const std::filesystem::path& path, const std::vector<std::pair<int, std::vector<double>>>& records) {
  RecordFile file;
  file.open(path);
  for (const auto& [n, values] : records) file.write(n, values);
  file.close();
}

std::vector<double> read_record(const std::filesystem::path& path, int n, std::size_t count) {
  RecordFile file;
  file.open(path);
  std::vector<double> values(count, -1.0);
  file.read(n, values);
  return values;
}

// A full record: the 94 values first, first + 1, ...
std::vector<double> full_record(double first) {
  std::vector<double> v;
  for (int i = 0; i < 94; ++i) v.push_back(first + i);
  return v;
}

TEST(RecordFile, RecordsReadBackAfterReopening) {
  ScratchFolder folder;
  const auto path = folder.path() / "PREVP.DAT";
  write_records(path, {{1, {1.5, -2.25, 1e-300}}, {2, full_record(100.5)}, {3, {7.0}}});
  EXPECT_EQ(read_record(path, 1, 3), (std::vector<double>{1.5, -2.25, 1e-300}));
  EXPECT_EQ(read_record(path, 2, 94), full_record(100.5));
  EXPECT_EQ(read_record(path, 3, 1), std::vector<double>{7.0});
  EXPECT_EQ(std::filesystem::file_size(path), 3 * kRecordBytes);
}

// Nine values in a record: the other 85 places read as zero.
TEST(RecordFile, ZeroFillsAfterTheLastValue) {
  ScratchFolder folder;
  const auto path = folder.path() / "PREVT.DAT";
  write_records(path, {{1, full_record(1.0)}});
  write_records(path, {{1, {9, 8, 7, 6, 5, 4, 3, 2, 1}}});
  const std::vector<double> values = read_record(path, 1, 94);
  for (std::size_t i = 0; i < 94; ++i) EXPECT_EQ(values[i], i < 9 ? 9.0 - static_cast<double>(i) : 0.0) << i;
}

// A second opening overwrites the records it writes and keeps the others.
TEST(RecordFile, ReopeningKeepsTheRecordsItDoesNotWrite) {
  ScratchFolder folder;
  const auto path = folder.path() / "PREVP.DAT";
  write_records(path, {{1, {1.0, 1.0}}, {2, {2.0, 2.0}}, {3, {3.0, 3.0}}});
  write_records(path, {{1, {10.0, 10.0}}});
  EXPECT_EQ(std::filesystem::file_size(path), 3 * kRecordBytes);
  EXPECT_EQ(read_record(path, 1, 2), (std::vector<double>{10.0, 10.0}));
  EXPECT_EQ(read_record(path, 2, 2), (std::vector<double>{2.0, 2.0}));
  EXPECT_EQ(read_record(path, 3, 2), (std::vector<double>{3.0, 3.0}));
  // Records skipped over keep their bytes.
  write_records(path, {{3, {30.0}}});
  EXPECT_EQ(read_record(path, 1, 2), (std::vector<double>{10.0, 10.0}));
  EXPECT_EQ(read_record(path, 2, 2), (std::vector<double>{2.0, 2.0}));
  EXPECT_EQ(read_record(path, 3, 2), (std::vector<double>{30.0, 0.0}));
}

// Record 4 begins at byte 3 * 752; 1.0 is 3FF0000000000000 and -2.0
// C000000000000000, stored least significant byte first.
TEST(RecordFile, StoresLittleEndianValuesAtTheRecordsOffset) {
  ScratchFolder folder;
  const auto path = folder.path() / "PREVP.DAT";
  write_records(path, {{4, {1.0, -2.0}}});
  const std::string bytes = file_text(path);
  ASSERT_EQ(bytes.size(), 4 * kRecordBytes);
  const std::string expected("\x00\x00\x00\x00\x00\x00\xF0\x3F\x00\x00\x00\x00\x00\x00\x00\xC0", 16);
  EXPECT_EQ(bytes.substr(3 * kRecordBytes, 16), expected);
  EXPECT_EQ(bytes.substr(3 * kRecordBytes + 16), std::string(kRecordBytes - 16, '\0'));
}

// A stale file far longer than any run needs (20 GB, sparse): only the
// records written are held and written; the file keeps its length and its
// other records, and is never read whole.
TEST(RecordFile, HoldsOnlyTheRecordsItWrites) {
  ScratchFolder folder;
  const auto path = folder.path() / "PREVT.DAT";
  const std::uintmax_t records = 20'000'000'000 / kRecordBytes;
  { std::ofstream create(path); }
  std::filesystem::resize_file(path, records * kRecordBytes);
  write_records(path, {{1, {1.0}}, {2, {2.0}}});
  EXPECT_EQ(std::filesystem::file_size(path), records * kRecordBytes);
  EXPECT_EQ(read_record(path, 2, 1), std::vector<double>{2.0});
  EXPECT_EQ(read_record(path, static_cast<int>(records), 1), std::vector<double>{0.0});
}

// A file that is not a whole number of records is no file of this kind:
// the run stops naming it, and the file is left as it was.
TEST(RecordFile, AFileOfPartRecordsStops) {
  ScratchFolder folder;
  const auto path = folder.path() / "PREVP.DAT";
  std::ofstream(path, std::ios::binary) << std::string(1000, 'x');
  RecordFile file;
  try {
    file.open(path);
    FAIL() << "no stop";
  } catch (const RunStop& stop) {
    EXPECT_EQ(stop.diagnostic(),
              "PREVP.DAT: 1000 bytes are not a whole number of records of 752 bytes (not a file of simulated "
              "forecasts; remove it)");
  }
  EXPECT_EQ(file_text(path), std::string(1000, 'x'));
}

// Records written in memory go over the file's at the overlay, as if
// written there then: a longer run of records replaces the file's, a shorter
// one its first records only; nothing reaches the disk before the close.
TEST(RecordFile, RecordsInMemoryGoOverTheFilesInOrder) {
  ScratchFolder folder;
  const auto path = folder.path() / "PREVP.DAT";
  for (const int newer_count : {3, 1}) {
    std::filesystem::remove(path);
    write_records(path, {{1, {1.0}}, {2, {2.0}}});
    RecordFile file;
    file.open(path);
    file.write(1, std::vector<double>{10.0});
    file.write(2, std::vector<double>{20.0});
    RecordFile newer;
    newer.open_in_memory();
    EXPECT_FALSE(newer.holds_records());
    for (int n = 1; n <= newer_count; ++n) newer.write(n, std::vector<double>{100.0 * n});
    EXPECT_TRUE(newer.holds_records());
    std::vector<double> value(1);
    newer.read(1, value);
    EXPECT_EQ(value[0], 100.0);
    EXPECT_THROW(newer.read(newer_count + 1, value), std::logic_error);
    EXPECT_THROW(newer.write(newer_count + 2, std::vector<double>{1.0}), std::logic_error);
    file.overlay(newer);
    EXPECT_FALSE(newer.holds_records());
    EXPECT_EQ(read_record(path, 1, 1), std::vector<double>{1.0}) << "on disk before the close";
    file.close();
    newer.close();
    EXPECT_EQ(read_record(path, 1, 1), std::vector<double>{100.0}) << newer_count;
    EXPECT_EQ(read_record(path, 2, 1), std::vector<double>{newer_count >= 2 ? 200.0 : 20.0}) << newer_count;
    EXPECT_EQ(std::filesystem::file_size(path), static_cast<std::uintmax_t>(std::max(newer_count, 2)) * kRecordBytes);
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

// Discarded records leave the file as it was, and so does closing a file in
// memory, whatever it held.
TEST(RecordFile, DiscardedRecordsLeaveTheFileAsItWas) {
  ScratchFolder folder;
  const auto path = folder.path() / "PREVT.DAT";
  write_records(path, {{1, {1.0}}, {2, {2.0}}});
  RecordFile file;
  file.open(path);
  file.write(1, std::vector<double>{10.0});
  file.write(3, std::vector<double>{30.0});
  EXPECT_TRUE(file.holds_records());
  file.discard();
  EXPECT_FALSE(file.holds_records());
  std::vector<double> value(1);
  file.read(1, value);
  EXPECT_EQ(value[0], 1.0);
  RecordFile newer;
  newer.open_in_memory();
  newer.write(1, std::vector<double>{100.0});
  newer.close();
  EXPECT_THROW(file.overlay(newer), std::logic_error) << "closed, it is no file in memory";
  file.close();
  EXPECT_EQ(read_record(path, 1, 1), std::vector<double>{1.0});
  EXPECT_EQ(std::filesystem::file_size(path), 2 * kRecordBytes);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

TEST(RecordFile, ReadingARecordNotWrittenIsAFault) {
  ScratchFolder folder;
  const auto path = folder.path() / "PREVP.DAT";
  write_records(path, {{1, {1.0}}});
  RecordFile file;
  file.open(path);
  std::vector<double> values(1);
  EXPECT_THROW(file.read(2, values), std::logic_error);
  const std::vector<double> too_long(95, 0.0);
  EXPECT_THROW(file.write(1, too_long), std::logic_error);
}

}  // namespace
}  // namespace darcalim
