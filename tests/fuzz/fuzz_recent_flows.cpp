// Fuzz target: the recent-flow file VAZPASTS (the input is its bytes), and
// the writing of the flows it gives into the history.
#include "common/run_stop.h"
#include "driver/recent_flows.h"
#include "tests/fuzz/fuzz_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace darcalim;
  fuzzing::FuzzFolder& folder = fuzzing::FuzzFolder::get();
  folder.write("VAZPASTS.DAT", data, size);
  Run& run = folder.run();
  run.CASO = CaseSettings{};
  run.CASO.vazpasts_name = "VAZPASTS.DAT";
  run.CASO.trend_source = 0;
  run.CASO.station_number = 14;
  run.CASO.SEMPREV = static_cast<int>(size % 53) + 1;
  run.CASO.ANOPREV = 2010;
  run.CASO.ANOFEST = 2008;
  run.history.first_year = 1951;
  run.history.last_year = 2010;
  run.history.NANOSARQ = 60;
  try {
    const RecentFlows recent =
        read_recent_flow_file(folder.path(), run.CASO.vazpasts_name, run.CASO.station_number, run.console);
    write_recent_flows_into_history(run.CASO, recent.QPASS, run.history);
  } catch (const RunStop&) {
  }
  return 0;
}
