// A temporary folder for a test, removed with its content at the end.
#pragma once

#include <filesystem>
#include <random>
#include <string>

namespace darcalim {

class ScratchFolder {
 public:
  ScratchFolder() {
    std::random_device device;
    const auto base = std::filesystem::temp_directory_path();
    for (;;) {
      path_ = base / ("darcalim-test-" + std::to_string(device()));
      if (std::filesystem::create_directory(path_)) break;
    }
  }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace darcalim
