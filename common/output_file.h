// Text files written by a run: the reports, the forecast table, the appended
// forecast and model files.
//
// A file opened for rewriting is created at once when it is absent; when it
// exists, its content stays as it is until the first write, which starts it
// afresh. A run that stops before writing to such a file therefore leaves
// what an earlier run wrote there. A file opened for appending is created
// when absent and receives its lines after the existing ones; every write to
// it (one record) goes to the file whole, in one write, and is flushed at
// once, so that a stop or a crash later in the run leaves the earlier records
// and this one intact. A write that fails part-way (a full disk) is undone:
// the file is cut back to its length before the write, so that it never ends
// with half a record.
//
// A file opened for rewriting gathers what is written to it in memory and
// passes it to the system in large writes (kWriteSize bytes or more), the
// rest when it is flushed or closed; flush() is what the run does before it
// reports a stop, so that the report of a run that stops holds what was
// written before the stop.
//
// The file is opened as common/file_access.h opens the files a run writes:
// something other than a regular file under its name (a symbolic link, a
// FIFO, a device, a folder) is refused, never followed or waited on.
//
// A file opened in memory (open_in_memory) has no path and touches no disk:
// its text is kept, whatever its length, until move_text_to hands it whole to
// the file it belongs to, as if written there at that moment (work done on
// another thread writes its part of a report so, and it joins the report in
// order). Closing it forgets its text.
//
// A file told to keep nothing (keep_nothing) stays so through every later
// open: opening it creates nothing, what is written to it is dropped before it
// is formatted, and last_line() is empty. A run whose caller reads only the
// run's tables (the hindcast) so spares the writing of its reports.
//
// Bytes are written as they are (form feeds and single-byte letters
// included); every line ends with '\n'. A file that cannot be created or
// written stops the run (RunStop) with a message naming it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <string_view>

#include "common/file_access.h"
#include "common/layout.h"

namespace darcalim {

class OutputFile {
 public:
  enum class Mode { kRewrite, kAppend };
  // Text a rewritten file gathers before it is passed to the system: large
  // enough that writes are few, small enough that the memory holding it is
  // touched once and stays in the processor's cache.
  static constexpr std::size_t kWriteSize = std::size_t{64} << 10;

  OutputFile() = default;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  // Passes on what is still held back (a run that stops keeps in its report
  // what it wrote there); a failure then can no longer be reported.
  ~OutputFile();

  void open(const std::filesystem::path& path, Mode mode);
  void open_in_memory();
  void keep_nothing();
  // Whether what is written is dropped (keep_nothing): a caller may then
  // spare itself the making of a report's text.
  bool keeps_nothing() const { return keeps_nothing_; }
  bool is_open() const { return connected_; }
  const std::filesystem::path& path() const { return path_; }

  void write(const Layout& layout, const FieldValues& values = {});
  void write_free(const FieldValues& values);
  void write_text(std::string_view text);
  // Empties the file now, without waiting for a first write.
  void clear();
  // Passes to the system the text of a rewritten file gathered so far.
  void flush();

  // Takes back the last record appended (the file is cut back to its length
  // before it), for a run that stops before its other records are written.
  void withdraw_last_append();

  void close();
  // Closes the file and removes it from the folder.
  void close_and_delete();

  // A file in memory: writes its text to `target` and empties itself; a
  // file on disk is a fault of the program (std::logic_error).
  void move_text_to(OutputFile& target);

  // The last line with something other than blanks written to the file (to
  // name the reason of a stop that a phase wrote only to its report).
  std::string last_line() const;

 private:
  void ensure_stream();
  void append_whole(std::string_view text);
  // The gathered text of a rewritten file, once it reaches kWriteSize.
  void write_when_full();
  void write_pending();

  std::filesystem::path path_;
  FileDescriptor fd_;
  std::string pending_;  // rewritten file: written, not yet passed to the system
  std::string record_;   // appended file: the record being written
  Mode mode_ = Mode::kRewrite;
  bool connected_ = false;
  bool in_memory_ = false;  // the text stays in pending_ until move_text_to
  bool keeps_nothing_ = false;
  bool truncate_on_write_ = false;
  std::uintmax_t length_before_append_ = 0;
  bool can_withdraw_ = false;
  std::string last_line_;  // last line with text of what the system has received
};

// Writes a record through a layout to a stream (the console).
void write_record(std::ostream& out, const Layout& layout, const FieldValues& values = {});

// The stop of a file that cannot be written, with the reason when one is
// known: "PREVS.DAT: cannot be written (No space left on device)"; the
// reason is the system's (errno) unless `reason` gives one ("a FIFO has its
// name").
[[noreturn]] void stop_cannot_write(const std::filesystem::path& path, const std::string& reason = "");

}  // namespace darcalim
