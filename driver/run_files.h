// The files of a run: the name of every file a run of a case reads and
// writes, and what each file is, in one list, for the checks that keep them
// apart (an output named like an input or like another output would destroy
// what it shares a name with) and for the tools that must not overwrite them.
//
// Names are as the file system sees them: a name read from a fixed-width
// field without the blanks around it, compared byte for byte (names differ
// in case on the file systems the program runs on).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "common/case_settings.h"

namespace darcalim {

inline constexpr const char* kHalfRecordsFileName = "PREVP.DAT";   // records of the half windows
inline constexpr const char* kTotalRecordsFileName = "PREVT.DAT";  // records of the whole history

// One file of a run.
struct RunFileName {
  std::string name;           // without the blanks around it
  std::string what;           // "appended forecast file", "trace file", ...
  int line = 0;               // line of the case data file that names it (0 for a fixed name)
  bool derived = false;       // named after the name on `line` (the Box-Cox report, the model file)
};

// The files every run writes under fixed names: PREVISAO.DAT, PREVP.DAT,
// PREVT.DAT, RUNTRACE.DAT and RUNSTATE.DAT.
std::vector<RunFileName> fixed_outputs();

// The files the case names for the run to write, in the order of their
// lines: the run report, the Box-Cox report named after it (options 2, 4
// and 5), the model file named after it (variability option 1 or 2), the
// appended forecast file and the error-ranking report. `c` as read (option
// 5 for a combined run).
std::vector<RunFileName> case_outputs(const CaseSettings& c);

// The files the run reads other than CASO.DAT: the case data file (named in
// CASO.DAT, line 0 here), the history, the recent-flow file (trend source
// 0) and the percentile file (variability option 1 or 2).
std::vector<RunFileName> case_inputs(const CaseSettings& c);

// Every name of the three lists and CASO.DAT.
std::vector<std::string> all_run_file_names(const CaseSettings& c);

// Stops the run (RunStop, naming the file) when one of the fixed outputs of
// `folder` cannot be written as the run writes it: something other than a
// regular file has its name (a folder, a symbolic link, a FIFO, a device),
// or a record file is not a whole number of records long. Checked before
// the run writes anything, so that such a folder loses nothing.
void check_fixed_outputs(const std::filesystem::path& folder);

}  // namespace darcalim
