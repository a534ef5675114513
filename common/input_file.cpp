#include "common/input_file.h"

#include <string_view>

namespace darcalim {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::optional<std::string> read_line(std::istream& stream, int& line_number) {
  std::streambuf* buffer = stream.rdbuf();
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

InputFile::InputFile(const std::filesystem::path& path) : path_(path) {
  std::error_code ec;
  if (std::filesystem::is_regular_file(path, ec)) stream_.open(path, std::ios::binary);
}

std::optional<std::string> InputFile::next_line() {
  if (!stream_.is_open()) return std::nullopt;
  return read_line(stream_, line_number_);
}

std::optional<std::string> TextLines::next_line() { return read_line(stream_, line_number_); }

}  // namespace darcalim
