// A file of a companion tool written whole: the summaries, the pairs and
// scores, the pictures and the page.
//
// write_whole_file writes `contents` to a new temporary file beside `target`
// (same folder, so that the last step is a rename within one file system),
// flushes it to the disk, and renames it over `target`. A reader therefore
// sees either the earlier file or the new one, never part of it, and a tool
// stopped or failing on the way leaves any earlier file as it was.
//
// Failure: a WholeFileError naming the target and the reason ("summary.csv:
// cannot be written (No space left on device)"); the temporary file is
// removed. `target` itself must not be a folder; a symbolic link named
// `target` is replaced by the file, not followed.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string_view>

namespace darcalim {

class WholeFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

void write_whole_file(const std::filesystem::path& target, std::string_view contents);

}  // namespace darcalim
