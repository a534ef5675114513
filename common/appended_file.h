// The appended forecast file and the model file: the shape of their records,
// and the repair of a last record that an earlier run left cut short.
//
// A run appends each record whole, in one write, and takes it back when the
// write fails (common/output_file.h). Only a run killed during that write,
// or one killed by a file-size limit before the signal of that limit was
// ignored, can leave the file ending with part of a record: a last line
// without its line end or, in the appended forecast file, the first one or
// two lines of a record of three. The next run cuts that part off before it
// appends its own record, which would otherwise join the torn one.
//
// Only a tail that is the start of a record is cut off: blank lines after
// the last record, or lines that are not a record's, are left as they are.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/layout.h"

namespace darcalim {

// The lines of an appended file: its header line and what begins each line
// of a record after its first.
struct AppendedRecords {
  const Layout& header_layout;
  std::vector<std::string> labels;  // "LIM. INFERIOR", "LIM. SUPERIOR"; none for records of one line

  std::size_t lines_per_record() const { return labels.size() + 1; }
};

AppendedRecords forecast_file_records();
AppendedRecords model_file_records();

// Bytes at the end of a file examined for a torn record: room for many
// records of either file.
inline constexpr std::size_t kTornRecordTailBytes = 4096;

// The length of a file without the record cut short at its end, given its
// last bytes `tail`, which begin at byte `tail_start` of the file; nothing
// when it ends with a whole record or with something else than the start of
// a record.
std::optional<std::uintmax_t> length_without_torn_record(std::string_view tail, std::uintmax_t tail_start,
                                                        const AppendedRecords& records);

// Cuts the file `path` back when it ends with a record cut short, and
// returns the bytes taken away (0 when none, or when there is no such
// file). A file that cannot be read or cut stops the run (RunStop, naming
// it).
std::uintmax_t cut_back_torn_record(const std::filesystem::path& path, const AppendedRecords& records);

}  // namespace darcalim
