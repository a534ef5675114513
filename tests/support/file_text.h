// The whole content of a file, byte for byte (empty when it cannot be read).
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace darcalim {

inline std::string file_text(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace darcalim
