// Fuzz target: the case data file (CASO.DAT names it; the input is its bytes).
#include "common/run_stop.h"
#include "driver/case_file.h"
#include "tests/fuzz/fuzz_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace darcalim;
  fuzzing::FuzzFolder& folder = fuzzing::FuzzFolder::get();
  static const bool index_written = (folder.write("CASO.DAT", "CASO1.DAT\n"), true);
  (void)index_written;
  folder.write("CASO1.DAT", data, size);
  try {
    CaseDataFile file = open_case_data_file(folder.path());
    (void)read_case_settings(folder.path(), file);
  } catch (const RunStop&) {
  }
  return 0;
}
