#include "common/output_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <stdexcept>
#include <system_error>
#include <utility>

#include "common/run_stop.h"

namespace darcalim {

void stop_cannot_write(const std::filesystem::path& path, const std::string& reason) {
  const int error = errno;
  const std::string name = path.filename().string();
  std::string why = reason;
  std::error_code ec;
  if (why.empty() && std::filesystem::is_directory(std::filesystem::symlink_status(path, ec))) {
    why = "a folder has its name";
  } else if (why.empty() && error != 0) {
    why = std::generic_category().message(error);
  }
  throw RunStop(" ERRO: NAO FOI POSSIVEL GRAVAR O ARQUIVO " + name,
                printable(name) + ": cannot be written" + (why.empty() ? "" : " (" + why + ")"));
}

namespace {

// The last line of `text` holding something other than blanks, or "".
std::string_view last_filled_line(std::string_view text) {
  const std::size_t end = text.find_last_not_of(" \n\f\r");
  if (end == std::string_view::npos) return {};
  const std::size_t start = text.find_last_of('\n', end);
  const std::size_t from = start == std::string_view::npos ? 0 : start + 1;
  return text.substr(from, end + 1 - from);
}

std::uintmax_t length_of(int fd) {
  struct stat st {};
  return ::fstat(fd, &st) == 0 ? static_cast<std::uintmax_t>(st.st_size) : 0;
}

}  // namespace

void OutputFile::open_in_memory() {
  if (connected_) close();
  path_.clear();
  mode_ = Mode::kRewrite;
  last_line_.clear();
  pending_.clear();
  can_withdraw_ = false;
  truncate_on_write_ = false;
  in_memory_ = true;
  connected_ = true;
}

void OutputFile::move_text_to(OutputFile& target) {
  if (!in_memory_) throw std::logic_error("move_text_to on a file on disk");
  target.write_text(pending_);
  pending_.clear();
}

void OutputFile::keep_nothing() {
  if (connected_) close();
  keeps_nothing_ = true;
}

void OutputFile::open(const std::filesystem::path& path, Mode mode) {
  if (connected_) close();
  in_memory_ = false;
  path_ = path;
  mode_ = mode;
  last_line_.clear();
  can_withdraw_ = false;
  if (keeps_nothing_) {
    connected_ = true;
    return;
  }
  errno = 0;
  OpenedFile opened = open_for_writing(path, mode == Mode::kAppend ? WriteAccess::kAppend : WriteAccess::kWrite);
  if (!opened.fd.valid()) stop_cannot_write(path, opened.refusal);
  fd_ = std::move(opened.fd);
  truncate_on_write_ = mode == Mode::kRewrite;
  // Room for a full gathering and the lines that end it, taken at once.
  if (mode == Mode::kRewrite) pending_.reserve(2 * kWriteSize);
  connected_ = true;
}

void OutputFile::ensure_stream() {
  if (!connected_) throw std::logic_error("write to a file that is not open");
  if (truncate_on_write_) {
    errno = 0;
    if (!set_length(fd_.get(), 0)) stop_cannot_write(path_);
    truncate_on_write_ = false;
  }
}

void OutputFile::append_whole(std::string_view text) {
  const std::uintmax_t length_before = length_of(fd_.get());
  errno = 0;
  if (write_all(fd_.get(), text)) {
    length_before_append_ = length_before;
    can_withdraw_ = true;
    return;
  }
  const int error = errno;
  set_length(fd_.get(), length_before);
  fd_.close();
  connected_ = false;
  errno = error;
  stop_cannot_write(path_);
}

void OutputFile::withdraw_last_append() {
  if (!connected_ || !can_withdraw_) return;
  set_length(fd_.get(), length_before_append_);
  can_withdraw_ = false;
}

void OutputFile::write_pending() {
  if (pending_.empty()) return;
  const std::string_view line = last_filled_line(pending_);
  if (!line.empty()) last_line_.assign(line);
  errno = 0;
  const bool written = write_all(fd_.get(), pending_);
  pending_.clear();
  if (!written) stop_cannot_write(path_);
}

void OutputFile::write_when_full() {
  if (!in_memory_ && pending_.size() >= kWriteSize) write_pending();
}

void OutputFile::write_text(std::string_view text) {
  ensure_stream();
  if (keeps_nothing_) return;
  if (mode_ == Mode::kAppend) {
    const std::string_view line = last_filled_line(text);
    if (!line.empty()) last_line_.assign(line);
    append_whole(text);
    return;
  }
  pending_.append(text);
  write_when_full();
}

void OutputFile::clear() {
  ensure_stream();
  if (in_memory_) pending_.clear();
}

void OutputFile::write(const Layout& layout, const FieldValues& values) {
  if (keeps_nothing_) return ensure_stream();
  if (mode_ == Mode::kAppend) {
    record_.clear();
    layout.append(record_, values);
    write_text(record_);
    return;
  }
  ensure_stream();
  layout.append(pending_, values);
  write_when_full();
}

void OutputFile::flush() {
  if (fd_.valid()) write_pending();
}

std::string OutputFile::last_line() const {
  const std::string_view line = last_filled_line(pending_);
  return line.empty() ? last_line_ : std::string(line);
}

void OutputFile::write_free(const FieldValues& values) {
  if (keeps_nothing_) return ensure_stream();
  write_text(free_form(values));
}

void OutputFile::close() {
  connected_ = false;
  truncate_on_write_ = false;
  can_withdraw_ = false;
  if (std::exchange(in_memory_, false)) pending_.clear();
  if (!fd_.valid()) return;
  try {
    write_pending();
  } catch (const RunStop&) {
    fd_.close();
    throw;
  }
  errno = 0;
  if (!fd_.close()) stop_cannot_write(path_);
}

OutputFile::~OutputFile() {
  if (fd_.valid() && !pending_.empty()) write_all(fd_.get(), pending_);
}

void OutputFile::close_and_delete() {
  const bool on_disk = !in_memory_ && !keeps_nothing_;
  close();
  if (!on_disk) return;
  std::error_code ec;
  std::filesystem::remove(path_, ec);
}

void write_record(std::ostream& out, const Layout& layout, const FieldValues& values) {
  out << layout.write(values);
}

}  // namespace darcalim
