// A direct-access file of fixed-length binary records (PREVP.DAT, PREVT.DAT).
//
// Every record is 752 bytes: room for 94 eight-byte reals, stored
// little-endian, the bytes after the last value written as zeros. Records
// are numbered from 1; record n occupies bytes (n - 1) * 752 .. n * 752 - 1.
// Opening reuses an existing file without truncating it (records beyond those
// a run writes keep their older content) and creates a missing one.
//
// The records are kept in memory while the file is open and written to it,
// whole, when it is closed (or destroyed).
//
// A file that cannot be opened, read or written stops the run (RunStop) with
// a message naming it; reading a record that the file does not hold is a
// fault of the program (std::logic_error).
#pragma once

#include <filesystem>
#include <span>
#include <vector>

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
  bool is_open() const { return open_; }
  const std::filesystem::path& path() const { return path_; }

  // Writes `values` (at most 94) as record n, zero-filled to its length.
  void write(int n, std::span<const double> values);
  // Reads the first values.size() values of record n.
  void read(int n, std::span<double> values);

  // Writes the records to the file and closes it; a failure stops the run.
  void close();

 private:
  std::size_t offset(int n) const;

  std::filesystem::path path_;
  std::vector<unsigned char> image_;  // the file's bytes
  bool open_ = false;
  bool changed_ = false;
};

}  // namespace darcalim
