// A direct-access file of fixed-length binary records (PREVP.DAT, PREVT.DAT).
//
// Every record is 752 bytes: room for 94 eight-byte reals, stored
// little-endian, the bytes after the last value written as zeros. Records
// are numbered from 1; record n occupies bytes (n - 1) * 752 .. n * 752 - 1.
// Opening reuses an existing file without truncating it (records beyond those
// a run writes keep their older content) and creates a missing one. Only
// the records a run writes are held: an existing file is not read, however
// long, except a record read before it is written in this run.
//
// The records written are kept in memory while the file is open and written
// to it when it is closed (or destroyed): the file is first lengthened to
// hold them, then they are written over its first records, so that it holds
// a whole number of records at every moment.
//
// A file opened in memory (open_in_memory) has no path and touches no disk:
// its records, written from record 1 on without skipping any, wait until
// overlay() puts them over those of the file they belong to, as if written
// there at that moment; closing it forgets them.
//
// A file that cannot be opened, read or written stops the run (RunStop) with
// a message naming it: among them something other than a regular file under
// its name (a symbolic link, a FIFO, a folder: common/file_access.h) and an
// existing file that is not a whole number of records long. Reading a record
// that the file does not hold is a fault of the program (std::logic_error).
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "common/file_access.h"
#include "common/large_block.h"

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
  void open_in_memory();
  bool is_open() const { return open_; }
  const std::filesystem::path& path() const { return path_; }

  // Writes `values` (at most 94) as record n, zero-filled to its length.
  void write(int n, std::span<const double> values);
  // Makes room in memory for records 1..`records` at once, so that a file
  // whose records are written in order is not copied as it grows; what the
  // file holds is unchanged.
  void reserve(int records);
  // Reads the first values.size() values of record n.
  void read(int n, std::span<double> values);

  // Whether a record has been written since the file was opened.
  bool holds_records() const { return changed_; }
  // Forgets every record written since the file was opened: closing it then
  // leaves the file as it was.
  void discard();

  // The records written to `newer` (a file in memory) are written here over
  // those with the same numbers; `newer` is left empty. Overlaying a file on
  // disk, or onto a file not open, is a fault of the program.
  void overlay(RecordFile& newer);

  // Writes the records to the file and closes it; a failure stops the run.
  void close();

 private:
  std::size_t offset(int n) const;
  // Lengthens the image to `bytes` with the file's own bytes (zeros past its end).
  void extend_image(std::size_t bytes);

  std::filesystem::path path_;
  FileDescriptor fd_;
  std::uintmax_t file_length_ = 0;
  std::vector<unsigned char, LargeBlockAllocator<unsigned char>> image_;  // the file's first records, as they are to be
  bool open_ = false;
  bool in_memory_ = false;
  bool changed_ = false;
};

// Stops the run, naming the file, when `size` bytes are not a whole number
// of records (a file left there by something else).
void require_whole_records(const std::filesystem::path& path, std::uintmax_t size);

}  // namespace darcalim
