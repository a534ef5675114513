// Line sources over text read from files or held in memory.
//
// Lines are returned without their line end; a line that ends in CR-LF reads
// as if it ended in LF, since files of this kind are often written on other
// systems.
#pragma once

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "common/layout.h"

namespace darcalim {

// The lines of a text file. is_open() is false when the file cannot be read.
class InputFile : public LineSource {
 public:
  explicit InputFile(const std::filesystem::path& path);
  bool is_open() const { return stream_.is_open(); }
  const std::filesystem::path& path() const { return path_; }
  // File name as shown in messages (without the folder).
  std::string name() const { return path_.filename().string(); }

  std::optional<std::string> next_line() override;
  int line_number() const override { return line_number_; }

 private:
  std::filesystem::path path_;
  std::ifstream stream_;
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
