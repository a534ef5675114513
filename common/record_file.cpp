#include "common/record_file.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>

#include "common/run_stop.h"

namespace darcalim {

namespace {

[[noreturn]] void cannot_use(const std::filesystem::path& path) {
  throw RunStop(" ERRO: NAO FOI POSSIVEL GRAVAR O ARQUIVO " + path.filename().string());
}

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
  if (file_ != nullptr) std::fclose(file_);
}

void RecordFile::open(const std::filesystem::path& path) {
  if (file_ != nullptr) close();
  path_ = path;
  file_ = std::fopen(path.c_str(), "r+b");
  if (file_ == nullptr) file_ = std::fopen(path.c_str(), "w+b");
  if (file_ == nullptr) cannot_use(path);
}

void RecordFile::seek(int n) {
  if (file_ == nullptr) throw std::logic_error("record file not open");
  if (n < 1) throw std::logic_error("record number " + std::to_string(n));
  const long offset = static_cast<long>(n - 1) * kRecordBytes;
  if (std::fseek(file_, offset, SEEK_SET) != 0) cannot_use(path_);
}

void RecordFile::write(int n, std::span<const double> values) {
  if (values.size() > static_cast<std::size_t>(kValuesPerRecord)) throw std::logic_error("record too long");
  std::array<unsigned char, kRecordBytes> bytes{};
  for (std::size_t i = 0; i < values.size(); ++i) store_little_endian(values[i], bytes.data() + 8 * i);
  seek(n);
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) cannot_use(path_);
}

void RecordFile::read(int n, std::span<double> values) {
  if (values.size() > static_cast<std::size_t>(kValuesPerRecord)) throw std::logic_error("record too long");
  std::array<unsigned char, kRecordBytes> bytes{};
  seek(n);
  if (std::fread(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
    throw std::logic_error("record " + std::to_string(n) + " of " + path_.filename().string() + " not written");
  }
  for (std::size_t i = 0; i < values.size(); ++i) values[i] = load_little_endian(bytes.data() + 8 * i);
}

void RecordFile::close() {
  if (file_ == nullptr) return;
  const int flushed = std::fflush(file_);
  const int closed = std::fclose(file_);
  file_ = nullptr;
  if (flushed != 0 || closed != 0) cannot_use(path_);
}

}  // namespace darcalim
