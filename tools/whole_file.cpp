#include "tools/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

namespace darcalim {

namespace {

// Mode of a new file: read and write for all, less the process's umask, as
// an ordinary open would give it.
constexpr mode_t kNewFileMode = 0666;

[[noreturn]] void fail(const std::filesystem::path& target, int error) {
  throw WholeFileError(target.string() + ": cannot be written (" + std::strerror(error) + ")");
}

// A temporary file beside the target, open for writing; its name is filled in.
int create_temporary(const std::filesystem::path& target, std::string& name) {
  const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
  std::string pattern = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  const int fd = ::mkstemp(buffer.data());
  if (fd < 0) fail(target, errno);
  name.assign(buffer.data());
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd, kNewFileMode & ~mask);
  return fd;
}

bool write_all(int fd, std::string_view contents) {
  while (!contents.empty()) {
    const ssize_t n = ::write(fd, contents.data(), contents.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    contents.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace

void write_whole_file(const std::filesystem::path& target, std::string_view contents) {
  std::error_code ec;
  if (std::filesystem::is_directory(std::filesystem::symlink_status(target, ec))) fail(target, EISDIR);
  std::string temporary;
  const int fd = create_temporary(target, temporary);
  int error = 0;
  if (!write_all(fd, contents) || ::fsync(fd) != 0) error = errno != 0 ? errno : EIO;
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(temporary.c_str());
    fail(target, error);
  }
}

}  // namespace darcalim
