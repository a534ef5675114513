// QPASS, the flows of the four weeks before the forecast week (the
// hydrological trend), and their writing into the history.
#pragma once

#include <string>

#include "common/run.h"

namespace darcalim {

// Trend source 0: QPASS from the line of the case's station in VAZPASTS (of
// several such lines, the last). Three header lines are passed over, and so
// is a line that cannot be read; a station number above 600 is refused. A
// missing file or a zero (or missing) flow stops the run with the trend
// message.
void read_recent_flow_file(Run& run);

// Any other trend source: QPASS(k) is the flow k weeks before SEMPREV in the
// row of ANOPREV (wrapping into the row before). A zero flow stops the run.
void recent_flows_from_history(Run& run);

// Writes QPASS into the weeks before SEMPREV of the row of ANOPREV and, when
// ANOFEST is before ANOPREV, into the last rows of the file as well.
void write_recent_flows_into_history(Run& run);

// k when week `week` of `row` receives QPASS(k) from the step above, else 0.
int recent_flow_written_at(const Run& run, int row, int week);

// Where recent flow k was read from VAZPASTS, for messages:
// "VAZPASTS.DAT, line 4 (station 13, flow 2 weeks before the forecast week)".
std::string recent_flow_place(const Run& run, int k);

}  // namespace darcalim
