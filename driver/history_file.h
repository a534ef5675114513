// The flow history: reading, the incomplete last year, the zero and negative
// flow checks, and the scaling of every flow by 604.8 / FAC.
//
// The readers take the file and the weeks a year and return the history as
// read (flows in the units of the file); how the history relates to the case
// (the forecast year, the last estimation year) is checked by the case input.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>

#include "common/flow_history.h"
#include "common/input_file.h"

namespace darcalim {

struct Run;

// The history file `name` of `folder`, open for reading; a missing or
// unreadable file is refused.
InputFile open_history_file(const std::filesystem::path& folder, const std::string& name);

// The two header lines: station code and name, first and last year, FAC and
// NANOSARQ. Refused, naming `name` and the line: a missing or unreadable
// header line, a history of more than 100 years or ending before it starts,
// a FAC that is not positive.
FlowHistory read_history_header(InputFile& file, const std::string& name);

// The flows of rows 1..NANOSARQ after the header, NSEM values each, nine to
// a line. The end of the file ends the reading quietly (rows and weeks not
// read keep zero); when it comes before the years the header declares, a
// warning naming the missing years goes to `diagnostics`. An unreadable flow
// writes its message to `console` and stops the run.
FlowHistory read_history_flows(InputFile& file, const std::string& name, FlowHistory header, int NSEM,
                               std::ostream& console, std::ostream& diagnostics);

// The whole history file: header and flows.
FlowHistory read_history(const std::filesystem::path& folder, const std::string& name, int NSEM,
                         std::ostream& console, std::ostream& diagnostics);

// "year 1950" or "years 1950-1960", for messages.
std::string years_text(int first, int last);

// Where week `week` of `row` stands in the history file `name`, for
// messages: "HIST1.DAT, line 22 (year 1950, week 7)".
std::string history_place(const std::string& name, const FlowHistory& history, int NSEM, int row, int week);

// NSEMULT and NANOS: a last row ending in zero weeks is a partial row and is
// left out of the complete years.
void find_incomplete_last_year(FlowHistory& history, int NSEM);

// Writes a console message for every zero flow of the complete rows and of
// the observed weeks of a partial row, and sets the zero-flow flag.
void check_zero_flows(Run& run);

// Stops the run on a negative flow, with its message in the run report and
// code 2001 in the trace and state files.
void check_negative_flows(Run& run);

// Multiplies every flow of the rows in use, and QPASS, by 604.8 / FAC.
void scale_history(Run& run);

}  // namespace darcalim
