#include "common/record_file.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

#include "common/output_file.h"
#include "common/run_stop.h"

namespace darcalim {

namespace {

[[noreturn]] void cannot_use(const std::filesystem::path& path) {
  stop_cannot_write(path);
}

// On a little-endian machine the bytes of a double in memory are those of
// the file, and records are copied whole.
static_assert(sizeof(double) == 8 && std::numeric_limits<double>::is_iec559);

[[maybe_unused]] void store_little_endian(double value, unsigned char* out) {
  std::uint64_t bits = std::bit_cast<std::uint64_t>(value);
  for (int i = 0; i < 8; ++i) {
    out[i] = static_cast<unsigned char>(bits & 0xFFu);
    bits >>= 8;
  }
}

[[maybe_unused]] double load_little_endian(const unsigned char* in) {
  std::uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = (bits << 8) | in[i];
  return std::bit_cast<double>(bits);
}

}  // namespace

void require_whole_records(const std::filesystem::path& path, std::uintmax_t size) {
  constexpr auto kBytes = static_cast<std::uintmax_t>(RecordFile::kRecordBytes);
  if (size % kBytes == 0) return;
  const std::string name = path.filename().string();
  throw RunStop(" ERRO NO ARQUIVO " + name + ": O TAMANHO NAO E MULTIPLO DE " + std::to_string(kBytes) + " BYTES",
                printable(name) + ": " + std::to_string(size) + " bytes are not a whole number of records of " +
                    std::to_string(kBytes) + " bytes (not a file of simulated forecasts; remove it)");
}

RecordFile::~RecordFile() {
  try {
    close();
  } catch (...) {
    // A destructor cannot report; close() is called explicitly at the end of a run.
  }
}

void RecordFile::open_in_memory() {
  if (open_) close();
  path_.clear();
  image_.clear();
  file_length_ = 0;
  in_memory_ = true;
  open_ = true;
  changed_ = false;
}

void RecordFile::open(const std::filesystem::path& path) {
  if (open_) close();
  in_memory_ = false;
  path_ = path;
  image_.clear();
  errno = 0;
  OpenedFile opened = open_for_writing(path, WriteAccess::kReadWrite);
  if (!opened.fd.valid()) stop_cannot_write(path, opened.refusal);
  require_whole_records(path, opened.size);
  fd_ = std::move(opened.fd);
  file_length_ = opened.size;
  open_ = true;
  changed_ = false;
}

std::size_t RecordFile::offset(int n) const {
  if (!open_) throw std::logic_error("record file not open");
  if (n < 1) throw std::logic_error("record number " + std::to_string(n));
  return static_cast<std::size_t>(n - 1) * kRecordBytes;
}

void RecordFile::extend_image(std::size_t bytes) {
  const std::size_t from = image_.size();
  if (bytes <= from) return;
  image_.resize(bytes, 0);
  if (from >= file_length_) return;
  const std::size_t wanted = std::min<std::uintmax_t>(bytes, file_length_) - from;
  errno = 0;
  if (read_at(fd_.get(), reinterpret_cast<char*>(image_.data() + from), wanted, static_cast<off_t>(from)) < 0) {
    stop_cannot_write(path_);
  }
}

void RecordFile::write(int n, std::span<const double> values) {
  if (values.size() > static_cast<std::size_t>(kValuesPerRecord)) throw std::logic_error("record too long");
  const std::size_t at = offset(n);
  // A file in memory has no older records to fill those skipped over.
  if (in_memory_ && image_.size() < at) throw std::logic_error("record " + std::to_string(n) + " skips records");
  // Records skipped over keep the file's bytes; the record itself is written
  // whole, so the file's older bytes of it are not read.
  extend_image(at);
  if (image_.size() < at + kRecordBytes) image_.resize(at + kRecordBytes);
  unsigned char* record = image_.data() + at;
  const std::size_t value_bytes = values.size() * sizeof(double);
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(record, values.data(), value_bytes);
  } else {
    for (std::size_t i = 0; i < values.size(); ++i) store_little_endian(values[i], record + 8 * i);
  }
  std::memset(record + value_bytes, 0, kRecordBytes - value_bytes);
  changed_ = true;
}

void RecordFile::reserve(int records) {
  if (records > 0) image_.reserve(static_cast<std::size_t>(records) * kRecordBytes);
}

void RecordFile::read(int n, std::span<double> values) {
  if (values.size() > static_cast<std::size_t>(kValuesPerRecord)) throw std::logic_error("record too long");
  const std::size_t at = offset(n);
  std::array<unsigned char, kRecordBytes> from_file{};
  const unsigned char* record = image_.data() + at;
  if (image_.size() < at + kRecordBytes) {
    if (file_length_ < at + kRecordBytes) {
      throw std::logic_error("record " + std::to_string(n) + " of " + path_.filename().string() + " not written");
    }
    errno = 0;
    if (read_at(fd_.get(), reinterpret_cast<char*>(from_file.data()), kRecordBytes, static_cast<off_t>(at)) !=
        kRecordBytes) {
      stop_cannot_write(path_);
    }
    record = from_file.data();
  }
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(values.data(), record, values.size() * sizeof(double));
  } else {
    for (std::size_t i = 0; i < values.size(); ++i) values[i] = load_little_endian(record + 8 * i);
  }
}

void RecordFile::discard() {
  image_.clear();
  changed_ = false;
}

void RecordFile::overlay(RecordFile& newer) {
  if (!newer.in_memory_) throw std::logic_error("overlay of a record file on disk");
  if (!open_) throw std::logic_error("record file not open");
  if (!newer.changed_) return;
  if (newer.image_.size() >= image_.size()) {
    image_.swap(newer.image_);
  } else {
    std::copy(newer.image_.begin(), newer.image_.end(), image_.begin());
  }
  changed_ = true;
  newer.discard();
}

void RecordFile::close() {
  if (!open_) return;
  open_ = false;
  if (std::exchange(in_memory_, false)) {
    discard();
    return;
  }
  const bool changed = std::exchange(changed_, false);
  errno = 0;
  if (changed) {
    const std::string_view bytes(reinterpret_cast<const char*>(image_.data()), image_.size());
    // Lengthened first: a run killed while the records go out leaves a file
    // of whole records.
    if (image_.size() > file_length_ && !set_length(fd_.get(), image_.size())) cannot_use(path_);
    if (!write_all_at(fd_.get(), bytes, 0)) cannot_use(path_);
    file_length_ = std::max<std::uintmax_t>(file_length_, image_.size());
  }
  if (!fd_.close()) cannot_use(path_);
}

}  // namespace darcalim
