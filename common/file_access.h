// How a run opens, checks and locks the files and the folder it works in:
// the operating system's interface, kept in this one place.
//
// Every file a run reads or writes must be a regular file (or, for a file it
// writes, absent). Nothing here ever blocks on what stands under a name:
// a file is looked at (lstat or stat) before it is opened, opened without
// blocking (O_NONBLOCK) and looked at again through the open descriptor
// (fstat), so that a FIFO, a device or a socket is refused, not waited on or
// read from. A file the run writes is opened without following a final
// symbolic link (O_NOFOLLOW): a link named like an output is refused, so
// that a run never writes outside its folder through one.
//
// Failures are returned, not thrown: an open that fails gives an invalid
// descriptor and the reason in words, in the form "a FIFO has its name" or
// the system's message ("Permission denied"), for the caller's message
// naming the file.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace darcalim {

// An open file descriptor, closed when the object goes.
class FileDescriptor {
 public:
  FileDescriptor() = default;
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(FileDescriptor&& other) noexcept;
  FileDescriptor& operator=(FileDescriptor&& other) noexcept;
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor();

  bool valid() const { return fd_ >= 0; }
  int get() const { return fd_; }
  // Closes the descriptor; false (errno set) when the system reports a
  // failure (a write that did not reach the disk).
  bool close();

 private:
  int fd_ = -1;
};

// What stands under `path` when it is neither absent nor a regular file, as
// "a folder", "a symbolic link", "a FIFO", "a device" or "a socket"; "" for
// an absent name or a regular file. With `follow_link` a final link is
// followed (an input may be one) and a dangling one reads as absent.
std::string irregular_kind(const std::filesystem::path& path, bool follow_link);

// An open file, or why it could not be opened.
struct OpenedFile {
  FileDescriptor fd;
  std::string refusal;      // when !fd.valid(): "a FIFO has its name", or the system's message
  std::string kind;         // what has the name when it is no regular file ("a FIFO"), or ""
  std::uintmax_t size = 0;  // bytes, when opened
};

// A regular file for reading (links followed).
OpenedFile open_for_reading(const std::filesystem::path& path);

// How a file the run writes is opened; each creates an absent file (mode
// 0666 less the umask) and keeps the content of an existing one.
enum class WriteAccess {
  kWrite,       // written from its start (the caller truncates it when it starts)
  kAppend,      // every write goes to the end of the file
  kReadWrite,   // records read and written in place
};

OpenedFile open_for_writing(const std::filesystem::path& path, WriteAccess access);

// Writes all of `bytes` at the descriptor's offset, or at `offset` (pwrite);
// false (errno set) when the system refuses part of it.
bool write_all(int fd, std::string_view bytes);
bool write_all_at(int fd, std::string_view bytes, off_t offset);
// Sets the length of the file (ftruncate); false (errno set) on failure.
bool set_length(int fd, std::uintmax_t length);
// Reads up to `size` bytes at `offset` (pread, going on after a short
// read); the bytes read, or -1 (errno set).
long read_at(int fd, char* buffer, std::size_t size, off_t offset);

// An exclusive lock on a folder, held until the object goes: flock on a
// descriptor of the folder itself, so that nothing is added to the folder
// and a lock never outlives its process (a killed run leaves no stale lock).
class FolderLock {
 public:
  enum class Outcome {
    kLocked,       // this object holds the lock
    kBusy,         // another holder has it
    kUnavailable,  // the folder cannot be opened or its file system has no locks
  };

  explicit FolderLock(const std::filesystem::path& folder);
  Outcome outcome() const { return outcome_; }

 private:
  FileDescriptor folder_;
  Outcome outcome_ = Outcome::kUnavailable;
};

// A write beyond the file-size limit of the process (ulimit -f) then fails
// with EFBIG, which the writer reports and undoes, instead of killing the
// process (SIGXFSZ) in the middle of a record. For the programs' mains.
void ignore_file_size_signal();

}  // namespace darcalim
