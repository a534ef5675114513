#include "common/record_file.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <limits>
#include <stdexcept>
#include <string>

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

void store_little_endian(double value, unsigned char* out) {
  std::uint64_t bits = std::bit_cast<std::uint64_t>(value);
  for (int i = 0; i < 8; ++i) {
    out[i] = static_cast<unsigned char>(bits & 0xFFu);
    bits >>= 8;
  }
}

double load_little_endian(const unsigned char* in) {
  std::uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = (bits << 8) | in[i];
  return std::bit_cast<double>(bits);
}

}  // namespace

RecordFile::~RecordFile() {
  try {
    close();
  } catch (...) {
    // A destructor cannot report; close() is called explicitly at the end of a run.
  }
}

void RecordFile::open(const std::filesystem::path& path) {
  if (open_) close();
  path_ = path;
  image_.clear();
  std::error_code ec;
  if (std::filesystem::exists(path, ec)) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in.is_open()) cannot_use(path);
    const std::streamoff size = in.tellg();
    if (size < 0) cannot_use(path);
    image_.resize(static_cast<std::size_t>(size));
    in.seekg(0);
    in.read(reinterpret_cast<char*>(image_.data()), static_cast<std::streamsize>(size));
    if (!in) cannot_use(path);
  } else {
    std::ofstream create(path, std::ios::binary);
    if (!create.is_open()) cannot_use(path);
  }
  open_ = true;
  changed_ = false;
}

std::size_t RecordFile::offset(int n) const {
  if (!open_) throw std::logic_error("record file not open");
  if (n < 1) throw std::logic_error("record number " + std::to_string(n));
  return static_cast<std::size_t>(n - 1) * kRecordBytes;
}

void RecordFile::write(int n, std::span<const double> values) {
  if (values.size() > static_cast<std::size_t>(kValuesPerRecord)) throw std::logic_error("record too long");
  const std::size_t at = offset(n);
  if (image_.size() < at + kRecordBytes) image_.resize(at + kRecordBytes, 0);
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

void RecordFile::read(int n, std::span<double> values) {
  if (values.size() > static_cast<std::size_t>(kValuesPerRecord)) throw std::logic_error("record too long");
  const std::size_t at = offset(n);
  if (image_.size() < at + kRecordBytes) {
    throw std::logic_error("record " + std::to_string(n) + " of " + path_.filename().string() + " not written");
  }
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(values.data(), image_.data() + at, values.size() * sizeof(double));
  } else {
    for (std::size_t i = 0; i < values.size(); ++i) values[i] = load_little_endian(image_.data() + at + 8 * i);
  }
}

void RecordFile::close() {
  if (!open_) return;
  open_ = false;
  if (!changed_) return;
  changed_ = false;
  std::ofstream out(path_, std::ios::binary | std::ios::trunc);
  if (!out.is_open()) cannot_use(path_);
  out.write(reinterpret_cast<const char*>(image_.data()), static_cast<std::streamsize>(image_.size()));
  out.close();
  if (!out) cannot_use(path_);
}

}  // namespace darcalim
