// Shared by the fuzz targets: a working folder of their own and a run.
//
// Each target writes its input bytes to a file of a scratch folder (one per
// process, in memory under /dev/shm where there is one, else under the
// system's temporary folder; removed at exit) and calls
// the real reader on it, as a run would. Console output and diagnostics go
// nowhere. A refusal (RunStop) is an expected outcome; any other exception,
// a crash or a sanitizer report is a fault.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <ostream>
#include <random>
#include <string>

#include "driver/run.h"

namespace darcalim::fuzzing {

class FuzzFolder {
 public:
  static FuzzFolder& get() {
    static FuzzFolder folder;
    return folder;
  }

  const std::filesystem::path& path() const { return path_; }

  // Writes `size` bytes as the file `name` of the folder.
  void write(const std::string& name, const std::uint8_t* data, std::size_t size) const {
    std::ofstream out(path_ / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  void write(const std::string& name, const std::string& text) const {
    write(name, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
  }

  // A run in the folder, made once and reused (its tables are large); each
  // target resets what its reader reads.
  Run& run() {
    if (!run_) run_ = std::make_unique<Run>(path_, silent_, silent_);
    return *run_;
  }

  FuzzFolder(const FuzzFolder&) = delete;
  FuzzFolder& operator=(const FuzzFolder&) = delete;
  ~FuzzFolder() {
    run_.reset();
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }

 private:
  FuzzFolder() {
    std::random_device device;
    std::error_code ec;
    const std::filesystem::path memory("/dev/shm");
    const std::filesystem::path base =
        std::filesystem::is_directory(memory, ec) ? memory : std::filesystem::temp_directory_path();
    for (;;) {
      path_ = base / ("darcalim-fuzz-" + std::to_string(device()));
      if (std::filesystem::create_directory(path_)) break;
    }
  }

  std::filesystem::path path_;
  std::ostream silent_{nullptr};
  std::unique_ptr<Run> run_;
};

}  // namespace darcalim::fuzzing
