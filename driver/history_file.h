// The flow history: reading, the incomplete last year, the zero and negative
// flow checks, and the scaling of every flow by 604.8 / FAC.
#pragma once

#include "common/run.h"

namespace darcalim {

// Reads the two header lines and the flows of rows 1..NANOSARQ, NSEM values
// each, nine to a line. The end of the file ends the reading quietly (rows
// and weeks not read keep zero). Warns when ANOFEST is after the last year
// and takes the last year instead. Refused: a missing file, a missing or
// unreadable header line, a history of more than 100 years or ending before
// it starts, a FAC that is not positive; a forecast year outside the table
// and a last estimation year that leaves fewer than 2 years of history are
// refused naming the line of the case data file where they were read. An
// unreadable flow stops the run with its own messages; a file that ends
// before the years it declares warns on the error stream, naming the missing
// years.
void read_history(Run& run);

// Where week `week` of `row` stands in the history file, for messages:
// "HIST1.DAT, line 22 (year 1950, week 7)".
std::string history_place(const Run& run, int row, int week);

// NSEMULT and NANOS: a last row ending in zero weeks is a partial row and is
// left out of the complete years.
void find_incomplete_last_year(Run& run);

// Writes a console message for every zero flow of the complete rows and of
// the observed weeks of a partial row, and sets the zero-flow flag.
void check_zero_flows(Run& run);

// Stops the run on a negative flow, with its message in the run report and
// code 2001 in the trace and state files.
void check_negative_flows(Run& run);

// Multiplies every flow of the rows in use, and QPASS, by 604.8 / FAC.
void scale_history(Run& run);

}  // namespace darcalim
