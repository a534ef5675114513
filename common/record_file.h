// A direct-access file of fixed-length binary records (PREVP.DAT, PREVT.DAT).
//
// Every record is 752 bytes: room for 94 eight-byte reals, stored
// little-endian, the bytes after the last value written as zeros. Records
// are numbered from 1; record n occupies bytes (n - 1) * 752 .. n * 752 - 1.
// Opening reuses an existing file without truncating it (records beyond those
// a run writes keep their older content) and creates a missing one.
//
// A file that cannot be opened, written or read stops the run (RunStop) with
// a message naming it; reading a record that the file does not hold is a
// fault of the program (std::logic_error).
#pragma once

#include <cstdio>
#include <filesystem>
#include <span>

namespace darcalim {

class RecordFile {
 public:
  static constexpr int kRecordBytes = 752;
  static constexpr int kValuesPerRecord = kRecordBytes / 8;

  RecordFile() = default;
  RecordFile(const RecordFile&) = delete;
  RecordFile& operator=(const RecordFile&) = delete;
  ~RecordFile();

  void open(const std::filesystem::path& path);
  bool is_open() const { return file_ != nullptr; }
  const std::filesystem::path& path() const { return path_; }

  // Writes `values` (at most 94) as record n, zero-filled to its length.
  void write(int n, std::span<const double> values);
  // Reads the first values.size() values of record n.
  void read(int n, std::span<double> values);

  // Flushes and closes; a failure stops the run.
  void close();

 private:
  void seek(int n);

  std::filesystem::path path_;
  std::FILE* file_ = nullptr;
};

}  // namespace darcalim
