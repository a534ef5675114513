// Line sources over text read from files or held in memory.
//
// Lines are returned without their line end. Files of this kind are often
// written on other systems, so:
//  - a line that ends in CR-LF reads as if it ended in LF;
//  - a UTF-8 byte-order mark at the start of the text is passed over;
//  - a last line without a line end is read like any other;
//  - NUL and other bytes are kept as they are (messages show them escaped);
//  - of a very long line only the first kMaxLineLength bytes are kept and the
//    rest is passed over, so that memory stays bounded whatever the input:
//    every layout read from these files is far narrower than that.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

#include "common/file_access.h"
#include "common/layout.h"

namespace darcalim {

inline constexpr std::size_t kMaxLineLength = 64 * 1024;

// The file `name` of `folder`, the name as read from a fixed-width field:
// blanks around it are ignored.
inline std::filesystem::path file_in(const std::filesystem::path& folder, std::string_view name) {
  return folder / trimmed(name);
}

// The bytes of an open file, read through its descriptor.
class DescriptorBuffer : public std::streambuf {
 public:
  explicit DescriptorBuffer(FileDescriptor fd) : fd_(std::move(fd)) {}

 protected:
  int_type underflow() override;

 private:
  static constexpr std::size_t kBytes = 64 * 1024;
  FileDescriptor fd_;
  std::vector<char> buffer_ = std::vector<char>(kBytes);
};

// The lines of a text file. is_open() is false when the file cannot be read:
// absent, unreadable, or not a regular file (a FIFO or a device is never
// waited on or read from: common/file_access.h); fault() then says which.
class InputFile : public LineSource {
 public:
  explicit InputFile(const std::filesystem::path& path);
  bool is_open() const { return buffer_ != nullptr; }
  // Why the file is not open, in words: "file not found or not readable",
  // or "not a regular file (a FIFO has its name)"; "" when it is open.
  const std::string& fault() const { return fault_; }
  // Its length in bytes when it was opened.
  std::uintmax_t size() const { return size_; }
  const std::filesystem::path& path() const { return path_; }
  // File name as shown in messages (without the folder).
  std::string name() const { return path_.filename().string(); }

  std::optional<std::string> next_line() override;
  int line_number() const override { return line_number_; }

 private:
  std::filesystem::path path_;
  std::unique_ptr<DescriptorBuffer> buffer_;
  std::string fault_;
  std::uintmax_t size_ = 0;
  int line_number_ = 0;
};

// The lines of a text held in memory.
class TextLines : public LineSource {
 public:
  explicit TextLines(std::string text) : stream_(std::move(text)) {}
  std::optional<std::string> next_line() override;
  int line_number() const override { return line_number_; }

 private:
  std::istringstream stream_;
  int line_number_ = 0;
};

}  // namespace darcalim
