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

#include <filesystem>
#include <string>

#include "common/case_settings.h"
#include "common/input_file.h"

namespace darcalim {

inline const char* const kCaseIndexFileName = "CASO.DAT";

// The case data file, open for reading, and its name as CASO.DAT gives it.
struct CaseDataFile {
  std::string name;
  InputFile file;
};

// Reads CASO.DAT of `folder` and opens the case data file it names.
CaseDataFile open_case_data_file(const std::filesystem::path& folder);

// Reads lines 1 to 17 of the case data file of `folder` and computes ZCONF.
// The transformation option is the one read (5 for a combined run).
CaseSettings read_case_settings(const std::filesystem::path& folder, CaseDataFile& case_file);

}  // namespace darcalim
