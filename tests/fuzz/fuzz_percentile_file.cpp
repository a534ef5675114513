// Fuzz target: the percentile file of the variability check (the input is
// its bytes), read with the week groupings of 2010.
#include "common/run_stop.h"
#include "driver/calendar.h"
#include "driver/run_driver.h"
#include "evaluation/percentile_file.h"
#include "tests/fuzz/fuzz_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace darcalim;
  fuzzing::FuzzFolder& folder = fuzzing::FuzzFolder::get();
  folder.write("PERC1.DAT", data, size);
  Run& run = folder.run();
  static const bool groupings_built = [&run] {
    run.CASO.NSEM = 52;
    run.CASO.start_month = 11;
    for (int m = 1; m <= kMonths; ++m) run.NSEMMES(m) = WEEK(m, 2010);
    run.GRUPO(kHalfYears).NPER = 2;
    run.GRUPO(kQuarters).NPER = 4;
    run.GRUPO(kMonthsGrouping).NPER = 12;
    run.GRUPO(kWeeksGrouping).NPER = 52;
    build_week_groupings(run);
    return true;
  }();
  (void)groupings_built;
  std::ostream silent(nullptr);
  try {
    read_percentile_file(run.file("PERC1.DAT"), run.GRUPO, run.CASO.NSEM, silent, run.percentiles);
  } catch (const RunStop&) {
  }
  return 0;
}
