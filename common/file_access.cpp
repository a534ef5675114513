#include "common/file_access.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <utility>

namespace darcalim {

namespace {

// Mode of a new file: read and write for all, less the process's umask, as
// any ordinary program creates its files.
constexpr mode_t kNewFileMode = 0666;

std::string kind_of(mode_t mode) {
  if (S_ISREG(mode)) return "";
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISLNK(mode)) return "a symbolic link";
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISSOCK(mode)) return "a socket";
  return "a device";
}

void refuse_kind(OpenedFile& opened, const std::string& kind) {
  opened.kind = kind;
  opened.refusal = kind + " has its name";
  opened.fd = FileDescriptor();
}

// The descriptor when it is a regular file; otherwise `opened` gets the
// reason and no descriptor.
void keep_if_regular(OpenedFile& opened, int fd) {
  opened.fd = FileDescriptor(fd);
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    opened.refusal = std::strerror(errno);
    opened.fd = FileDescriptor();
    return;
  }
  const std::string kind = kind_of(st.st_mode);
  if (!kind.empty()) {
    refuse_kind(opened, kind);
    return;
  }
  opened.size = static_cast<std::uintmax_t>(st.st_size);
}

int write_flags(WriteAccess access) {
  constexpr int kCommon = O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
  switch (access) {
    case WriteAccess::kAppend:
      return kCommon | O_WRONLY | O_APPEND;
    case WriteAccess::kReadWrite:
      return kCommon | O_RDWR;
    case WriteAccess::kWrite:
      break;
  }
  return kCommon | O_WRONLY;
}

}  // namespace

FileDescriptor::FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
  if (this != &other) {
    close();
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

FileDescriptor::~FileDescriptor() { close(); }

bool FileDescriptor::close() {
  if (fd_ < 0) return true;
  const int fd = std::exchange(fd_, -1);
  return ::close(fd) == 0;
}

std::string irregular_kind(const std::filesystem::path& path, bool follow_link) {
  struct stat st {};
  const int status = follow_link ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st);
  if (status != 0) return "";
  return kind_of(st.st_mode);
}

OpenedFile open_for_reading(const std::filesystem::path& path) {
  OpenedFile opened;
  // Looked at first, so that a device is never opened (opening some has
  // effects of its own).
  const std::string kind = irregular_kind(path, true);
  if (!kind.empty()) {
    refuse_kind(opened, kind);
    return opened;
  }
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    opened.refusal = std::strerror(errno);
    return opened;
  }
  keep_if_regular(opened, fd);
  return opened;
}

OpenedFile open_for_writing(const std::filesystem::path& path, WriteAccess access) {
  OpenedFile opened;
  const std::string kind = irregular_kind(path, false);
  if (!kind.empty()) {
    refuse_kind(opened, kind);
    return opened;
  }
  const int fd = ::open(path.c_str(), write_flags(access), kNewFileMode);
  if (fd < 0) {
    const int error = errno;
    // Something put there since it was looked at: a link (ELOOP), a FIFO
    // without a reader (ENXIO), a folder (EISDIR).
    const std::string now = irregular_kind(path, false);
    if (!now.empty()) {
      refuse_kind(opened, now);
    } else {
      opened.refusal = std::strerror(error);
    }
    return opened;
  }
  keep_if_regular(opened, fd);
  return opened;
}

namespace {

// Passes every byte to `write_some` (a write at the position `done` bytes
// on), again after an interruption or a short write.
template <class WriteSome>
bool write_every_byte(std::string_view bytes, WriteSome write_some) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write_some(bytes.substr(done), done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) {
      errno = EIO;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

bool write_all(int fd, std::string_view bytes) {
  return write_every_byte(bytes, [fd](std::string_view rest, std::size_t) {
    return ::write(fd, rest.data(), rest.size());
  });
}

bool write_all_at(int fd, std::string_view bytes, off_t offset) {
  return write_every_byte(bytes, [fd, offset](std::string_view rest, std::size_t done) {
    return ::pwrite(fd, rest.data(), rest.size(), offset + static_cast<off_t>(done));
  });
}

bool set_length(int fd, std::uintmax_t length) {
  while (::ftruncate(fd, static_cast<off_t>(length)) != 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

long read_at(int fd, char* buffer, std::size_t size, off_t offset) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::pread(fd, buffer + done, size - done, offset + static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return -1;
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  return static_cast<long>(done);
}

FolderLock::FolderLock(const std::filesystem::path& folder)
    : folder_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
  if (!folder_.valid()) return;
  while (::flock(folder_.get(), LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    outcome_ = errno == EWOULDBLOCK ? Outcome::kBusy : Outcome::kUnavailable;
    return;
  }
  outcome_ = Outcome::kLocked;
}

void ignore_file_size_signal() { std::signal(SIGXFSZ, SIG_IGN); }

}  // namespace darcalim
