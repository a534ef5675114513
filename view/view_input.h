// The files the view tools read: a run folder's files and a hindcast's
// scores file.
//
// Only a regular file is read (links followed): a FIFO or a device under
// the name is refused, never waited on or read (common/file_access.h), and
// so is a file longer than kMaxViewInputBytes, far beyond any file of a run
// or a hindcast, so that memory stays bounded whatever the folder holds.
// Lines are read as the program reads its input (common/input_file.h).
//
// Failure: ViewInputError, "NAME: WHAT cannot be read (file not found or
// not readable)", "... (not a regular file (a FIFO has its name))", or
// "NAME: WHAT is 70000000 bytes long, more than 67108864".
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace darcalim::view {

inline constexpr std::uintmax_t kMaxViewInputBytes = 64 * 1024 * 1024;

// The lines of `file`; `shown` is its name in messages, `what` what it is
// ("the error-ranking report").
std::vector<std::string> read_view_input(const std::filesystem::path& file, const std::string& shown,
                                         const std::string& what);

}  // namespace darcalim::view
