// QPASS, the flows of the four weeks before the forecast week (the
// hydrological trend), and their writing into the history.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>

#include "common/case_settings.h"
#include "common/fixed_array.h"
#include "common/flow_history.h"

namespace darcalim {

using RecentFlowValues = Array<double, 4>;  // QPASS(k): the flow k weeks before SEMPREV

// The recent flows read from VAZPASTS and the line they came from (0: none).
struct RecentFlows {
  RecentFlowValues QPASS;
  int line = 0;
};

// Trend source 0: QPASS from the line of `station_number` in the recent-flow
// file `name` of `folder` (of several such lines, the last). Three header
// lines are passed over, and so is a line that cannot be read; a station
// number above 600 is refused. A missing file or a zero (or missing) flow
// writes the trend message to `console` and stops the run.
RecentFlows read_recent_flow_file(const std::filesystem::path& folder, const std::string& name, int station_number,
                                  std::ostream& console);

// Any other trend source: QPASS(k) is the flow k weeks before SEMPREV in the
// row of ANOPREV (wrapping into the row before). A zero flow writes its
// message to `console` and stops the run.
RecentFlowValues recent_flows_from_history(const FlowHistory& history, const CaseSettings& c, std::ostream& console);

// Writes QPASS into the weeks before SEMPREV of the row of ANOPREV and, when
// ANOFEST is before ANOPREV, into the last rows of the file as well.
void write_recent_flows_into_history(const CaseSettings& c, const RecentFlowValues& QPASS, FlowHistory& history);

// k when week `week` of `row` receives QPASS(k) from the step above, else 0.
int recent_flow_written_at(const CaseSettings& c, const FlowHistory& history, int row, int week);

// Where recent flow k of a station was read from VAZPASTS (at `line`), for
// messages: "VAZPASTS.DAT, line 4 (station 13, flow 2 weeks before the
// forecast week)".
std::string recent_flow_place(const std::string& vazpasts_name, int station_number, int line, int k);

}  // namespace darcalim
