#include "common/input_file.h"

namespace darcalim {

namespace {

std::optional<std::string> read_line(std::istream& stream, int& line_number) {
  std::string line;
  if (!std::getline(stream, line)) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
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
