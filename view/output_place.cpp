#include "view/output_place.h"

#include <algorithm>
#include <string>
#include <system_error>

#include "common/file_access.h"
#include "driver/run_files.h"
#include "view/view_error.h"

namespace darcalim::view {

namespace {

namespace fs = std::filesystem;

bool same(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  return fs::equivalent(a, b, ec) && !ec;
}

// Whether the existing file begins with `start` (a FIFO or a device, which
// the tool did not write, does not).
bool begins_with(const fs::path& file, std::string_view start) {
  OpenedFile opened = open_for_reading(file);
  if (!opened.fd.valid()) return false;
  std::string bytes(start.size(), '\0');
  const long n = read_at(opened.fd.get(), bytes.data(), bytes.size(), 0);
  return n == static_cast<long>(start.size()) && bytes == start;
}

[[noreturn]] void refuse(const fs::path& output, const std::string& why) {
  throw ViewInputError(output.string() + ": " + why + "; give -o another name");
}

}  // namespace

RunFiles files_of(const RunFolder& run) { return {run.folder, all_run_file_names(run.settings)}; }

void check_output_place(const fs::path& output, const fs::path& input, const RunFiles* run,
                        std::string_view own_start) {
  std::error_code ec;
  const bool exists = fs::exists(fs::symlink_status(output, ec));
  if (same(output, input)) refuse(output, "the input of the tool");
  if (run == nullptr) return;
  const fs::path folder = output.has_parent_path() ? output.parent_path() : fs::path(".");
  const std::string name = output.filename().string();
  const auto& names = run->names;
  if (same(folder, run->folder)) {
    if (std::find(names.begin(), names.end(), name) != names.end()) {
      refuse(output, "a file of the run in " + run->folder.string());
    }
    if (exists && !begins_with(output, own_start)) {
      refuse(output, "an existing file of the run folder " + run->folder.string() + " that the tool did not write");
    }
    return;
  }
  for (const std::string& file : names) {
    if (same(output, run->folder / file)) refuse(output, "a file of the run in " + run->folder.string());
  }
}

}  // namespace darcalim::view
