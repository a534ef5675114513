#include "common/input_file.h"

#include <unistd.h>

#include <cerrno>
#include <string_view>

namespace darcalim {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::optional<std::string> read_line(std::streambuf* buffer, int& line_number) {
  if (buffer == nullptr) return std::nullopt;
  using Traits = std::streambuf::traits_type;
  std::string line;
  bool any = false;
  bool cut = false;
  for (;;) {
    const Traits::int_type c = buffer->sbumpc();
    if (Traits::eq_int_type(c, Traits::eof())) break;
    any = true;
    if (Traits::to_char_type(c) == '\n') break;
    if (line.size() < kMaxLineLength) {
      line.push_back(Traits::to_char_type(c));
    } else {
      cut = true;
    }
  }
  if (!any) return std::nullopt;
  if (!cut && !line.empty() && line.back() == '\r') line.pop_back();
  if (line_number == 0 && line.starts_with(kByteOrderMark)) line.erase(0, kByteOrderMark.size());
  ++line_number;
  return line;
}

}  // namespace

DescriptorBuffer::int_type DescriptorBuffer::underflow() {
  if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
  for (;;) {
    const ssize_t n = ::read(fd_.get(), buffer_.data(), buffer_.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return traits_type::eof();
    setg(buffer_.data(), buffer_.data(), buffer_.data() + n);
    return traits_type::to_int_type(*gptr());
  }
}

InputFile::InputFile(const std::filesystem::path& path) : path_(path) {
  OpenedFile opened = open_for_reading(path);
  if (!opened.fd.valid()) {
    fault_ = opened.kind.empty() ? "file not found or not readable" : "not a regular file (" + opened.refusal + ")";
    return;
  }
  size_ = opened.size;
  buffer_ = std::make_unique<DescriptorBuffer>(std::move(opened.fd));
}

std::optional<std::string> InputFile::next_line() { return read_line(buffer_.get(), line_number_); }

std::optional<std::string> TextLines::next_line() { return read_line(stream_.rdbuf(), line_number_); }

}  // namespace darcalim
