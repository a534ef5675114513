#include "common/output_file.h"

#include <system_error>

#include "common/run_stop.h"

namespace darcalim {

namespace {

[[noreturn]] void cannot_write(const std::filesystem::path& path) {
  throw RunStop(" ERRO: NAO FOI POSSIVEL GRAVAR O ARQUIVO " + path.filename().string());
}

}  // namespace

void OutputFile::open(const std::filesystem::path& path, Mode mode) {
  if (connected_) close();
  path_ = path;
  std::error_code ec;
  const bool exists = std::filesystem::exists(path, ec);
  if (mode == Mode::kAppend) {
    stream_.open(path, std::ios::binary | std::ios::app);
    if (!stream_.is_open()) cannot_write(path);
    truncate_on_write_ = false;
  } else {
    if (!exists) {
      std::ofstream create(path, std::ios::binary);
      if (!create.is_open()) cannot_write(path);
    }
    truncate_on_write_ = true;
  }
  connected_ = true;
}

void OutputFile::ensure_stream() {
  if (!connected_) throw std::logic_error("write to a file that is not open");
  if (truncate_on_write_) {
    stream_.open(path_, std::ios::binary | std::ios::trunc);
    if (!stream_.is_open()) cannot_write(path_);
    truncate_on_write_ = false;
  }
}

void OutputFile::write_text(std::string_view text) {
  ensure_stream();
  stream_.write(text.data(), static_cast<std::streamsize>(text.size()));
  if (!stream_) cannot_write(path_);
}

void OutputFile::clear() { ensure_stream(); }

void OutputFile::write(const Layout& layout, const FieldValues& values) {
  write_text(layout.write(values));
}

void OutputFile::write_free(const FieldValues& values) { write_text(free_form(values)); }

void OutputFile::close() {
  if (stream_.is_open()) {
    stream_.close();
    if (stream_.fail()) {
      stream_.clear();
      connected_ = false;
      cannot_write(path_);
    }
  }
  stream_.clear();
  connected_ = false;
  truncate_on_write_ = false;
}

void OutputFile::close_and_delete() {
  close();
  std::error_code ec;
  std::filesystem::remove(path_, ec);
}

void write_record(std::ostream& out, const Layout& layout, const FieldValues& values) {
  out << layout.write(values);
}

}  // namespace darcalim
