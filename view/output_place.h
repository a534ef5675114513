// Where darcalim-plot and darcalim-view may write the file named after -o.
//
// The tools never overwrite what a run needs: in the run folder (the same
// folder, however it is named) a file the run reads or writes
// (driver/run_files.h), even one not there yet, is refused, and so is any
// other existing file there that the tool did not write before (a file that
// does not begin as the tool's own output, `own_start`); anywhere, the
// tool's input itself and a file of the run named by a path outside its
// folder (an input of the case may be one). An existing file elsewhere is
// replaced, whole (tools/whole_file.h).
//
// Failure: ViewInputError naming the output and saying which rule refused
// it: "run/PREVS.DAT: a file of the run in run; give -o another name".
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "view/run_folder.h"

namespace darcalim::view {

// The run folder and the names of its run's files; none for a scores file.
struct RunFiles {
  std::filesystem::path folder;
  std::vector<std::string> names;
};

RunFiles files_of(const RunFolder& run);

void check_output_place(const std::filesystem::path& output, const std::filesystem::path& input,
                        const RunFiles* run, std::string_view own_start);

}  // namespace darcalim::view
