// A case as it stood when a past forecast was issued: the history cut at the
// week before the forecast week, the trend taken from that history.
//
// The cut keeps the text of the case: header line 1 and the flow fields of
// the weeks kept are copied verbatim (so every flow reads back bit-identical),
// and only the last-year field of line 2 and the weeks cut are rewritten.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "hindcast/hindcast_case.h"

namespace darcalim::hindcast {

// A forecast week of the hindcast: the first forecast week and its year.
struct IssueWeek {
  int year = 0;
  int week = 0;
  bool operator==(const IssueWeek&) const = default;
};

// The history file `lines` (NSEM weeks a year, nine 8-character fields a
// line, as the history layout reads them) cut for a forecast of week
// `issue.week` of `issue.year`: the years up to the issue year, that year's
// weeks from the forecast week on written as 0, and line 2 naming the issue
// year as the last. A short line reads as if padded with blanks and a file
// that ends early as zeros; the cut writes both out in full. Every line ends
// with "\n". The issue year must lie within the years of line 2.
std::string cut_history_text(const std::vector<std::string>& lines, int weeks_per_year, int first_year,
                             IssueWeek issue);

// The case data file `lines` (at least 14 lines) for that forecast: line 9
// the week, line 10 the year, line 11 "1" (recent flows from the history),
// lines 12 and 13 blank, the history (line 3) and percentile (line 16) file
// names replaced by `history_name` and `percentile_name` when these differ
// (an empty percentile name keeps line 16); every other line verbatim.
std::string cut_case_text(const std::vector<std::string>& lines, IssueWeek issue, const std::string& history_name,
                          const std::string& percentile_name);

// The file name that a case file keeps in the cut folder: the name itself
// when it is a plain file name, its last part when it is a path.
std::string plain_file_name(const std::string& name);

// Writes the cut case into the existing empty folder `target`: CASO.DAT,
// the case data file, the cut history and, with the variability option,
// the percentile file, each under its plain file name. Throws CaseError
// when a file cannot be written.
void write_cut_case(const HindcastCase& c, IssueWeek issue, const std::filesystem::path& target);

}  // namespace darcalim::hindcast
