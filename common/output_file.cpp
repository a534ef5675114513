#include "common/output_file.h"

#include <cerrno>
#include <system_error>

#include "common/run_stop.h"

namespace darcalim {

void stop_cannot_write(const std::filesystem::path& path) {
  const int error = errno;
  const std::string name = path.filename().string();
  std::string reason;
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    reason = " (a folder has its name)";
  } else if (error != 0) {
    reason = " (" + std::generic_category().message(error) + ")";
  }
  throw RunStop(" ERRO: NAO FOI POSSIVEL GRAVAR O ARQUIVO " + name, printable(name) + ": cannot be written" + reason);
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

}  // namespace

void OutputFile::open(const std::filesystem::path& path, Mode mode) {
  if (connected_) close();
  path_ = path;
  mode_ = mode;
  last_line_.clear();
  std::error_code ec;
  const bool exists = std::filesystem::exists(path, ec);
  errno = 0;
  if (mode == Mode::kAppend) {
    stream_.open(path, std::ios::binary | std::ios::app);
    if (!stream_.is_open()) stop_cannot_write(path);
    truncate_on_write_ = false;
  } else {
    if (!exists) {
      std::ofstream create(path, std::ios::binary);
      if (!create.is_open()) stop_cannot_write(path);
    } else if (std::filesystem::is_directory(path, ec)) {
      stop_cannot_write(path);
    }
    truncate_on_write_ = true;
  }
  connected_ = true;
}

void OutputFile::ensure_stream() {
  if (!connected_) throw std::logic_error("write to a file that is not open");
  if (truncate_on_write_) {
    errno = 0;
    stream_.open(path_, std::ios::binary | std::ios::trunc);
    if (!stream_.is_open()) stop_cannot_write(path_);
    truncate_on_write_ = false;
  }
}

void OutputFile::append_whole(std::string_view text) {
  std::error_code ec;
  const std::uintmax_t length_before = std::filesystem::file_size(path_, ec);
  const bool can_cut_back = !ec && std::filesystem::is_regular_file(path_, ec);
  errno = 0;
  stream_.write(text.data(), static_cast<std::streamsize>(text.size()));
  stream_.flush();
  if (stream_) return;
  const int error = errno;
  stream_.close();
  stream_.clear();
  connected_ = false;
  if (can_cut_back) std::filesystem::resize_file(path_, length_before, ec);
  errno = error;
  stop_cannot_write(path_);
}

OutputFile::~OutputFile() {
  try {
    write_pending();
  } catch (...) {
    // A destructor cannot report; close() and flush() do.
  }
}

void OutputFile::write_pending() {
  if (pending_.empty()) return;
  const std::string_view line = last_filled_line(pending_);
  if (!line.empty()) last_line_.assign(line);
  errno = 0;
  stream_.write(pending_.data(), static_cast<std::streamsize>(pending_.size()));
  pending_.clear();
  if (!stream_) stop_cannot_write(path_);
}

void OutputFile::write_when_full() {
  if (pending_.size() >= kWriteSize) write_pending();
}

void OutputFile::write_text(std::string_view text) {
  ensure_stream();
  if (mode_ == Mode::kAppend) {
    const std::string_view line = last_filled_line(text);
    if (!line.empty()) last_line_.assign(line);
    append_whole(text);
    return;
  }
  pending_.append(text);
  write_when_full();
}

void OutputFile::clear() { ensure_stream(); }

void OutputFile::write(const Layout& layout, const FieldValues& values) {
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

void OutputFile::write_free(const FieldValues& values) { write_text(free_form(values)); }

void OutputFile::flush() {
  if (!stream_.is_open()) return;
  write_pending();
  errno = 0;
  stream_.flush();
  if (!stream_) stop_cannot_write(path_);
}

std::string OutputFile::last_line() const {
  const std::string_view line = last_filled_line(pending_);
  return line.empty() ? last_line_ : std::string(line);
}

void OutputFile::close() {
  if (stream_.is_open()) {
    try {
      write_pending();
    } catch (const RunStop&) {
      stream_.close();
      stream_.clear();
      connected_ = false;
      throw;
    }
    errno = 0;
    stream_.close();
    if (stream_.fail()) {
      stream_.clear();
      connected_ = false;
      stop_cannot_write(path_);
    }
  }
  stream_.clear();
  connected_ = false;
  truncate_on_write_ = false;
}

void OutputFile::close_and_delete() {
  pending_.clear();
  close();
  std::error_code ec;
  std::filesystem::remove(path_, ec);
}

void write_record(std::ostream& out, const Layout& layout, const FieldValues& values) {
  out << layout.write(values);
}

}  // namespace darcalim
