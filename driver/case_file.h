// CASO.DAT and the case data file.
//
// CASO.DAT names the case data file; that file holds the settings of the run
// (CASO), one item per line. Lines 1 to 14 must be present and readable;
// lines 15 to 17 are optional (variability option 0 and 52 weeks when they
// are absent). Refused with a message naming the file and line: a missing
// file or line, an unreadable value, a transformation option outside 0..5, a
// month outside 1..12, a forecast week outside 1..53, a confidence level
// above 100, a report name without "." or whose last "." stands beyond its
// ninth character, and a station number outside 1..600 when the recent
// flows come from VAZPASTS.
//
// The names of the files that the run writes (the run report and the names
// derived from it, the appended forecast file, the error-ranking report) must
// be plain file names of the working folder: a name holding "/" or "\", "."
// or "..", the name of an existing folder or of an input file of the run is
// refused, naming its line. Input names may be relative paths.
#pragma once

#include "common/input_file.h"
#include "common/run.h"

namespace darcalim {

inline const char* const kCaseIndexFileName = "CASO.DAT";

// Reads CASO.DAT and opens the case data file it names (whose name goes to
// run.CASO.case_file_name).
InputFile open_case_data_file(Run& run);

// Reads lines 1 to 17 into run.CASO, turns option 5 into the option of the
// pass (setting or clearing the combined-run marker) and computes ZCONF.
void read_case_settings(Run& run, InputFile& case_file);

}  // namespace darcalim
