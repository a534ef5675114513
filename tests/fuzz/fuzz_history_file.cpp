// Fuzz target: the history file and the checks that follow its reading (the
// years of the case against it, the recent flows from the history, the
// incomplete last year, the zero and negative flows, the scaling). The input
// is the file's bytes; its length chooses 52 or 53 weeks and the forecast
// week.
#include "common/run_stop.h"
#include "driver/case_input.h"
#include "driver/history_file.h"
#include "driver/recent_flows.h"
#include "tests/fuzz/fuzz_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace darcalim;
  fuzzing::FuzzFolder& folder = fuzzing::FuzzFolder::get();
  folder.write("HIST1.DAT", data, size);
  Run& run = folder.run();
  run.CASO = CaseSettings{};
  run.CASO.case_file_name = "CASO1.DAT";
  run.CASO.report_name = "CASO1.REL   ";
  run.CASO.history_name = "HIST1.DAT   ";
  run.CASO.NSEM = size % 2 == 0 ? 52 : 53;
  run.CASO.SEMPREV = static_cast<int>(size % 53) + 1;
  run.CASO.ANOPREV = 2010;
  run.CASO.ANOFEST = 2009;
  run.CASO.trend_source = 1;
  run.CASO.TIPOTRANS = 2;
  run.zero_flow = false;
  try {
    run.history = read_history(folder.path(), run.CASO.history_name, run.CASO.NSEM, run.console, run.diagnostics);
    reconcile_case_with_history(run.CASO, run.history, "HIST1.DAT", run.console);
  } catch (const RunStop&) {
    return 0;
  }
  try {
    run.QPASS = recent_flows_from_history(run.history, run.CASO, run.console);
  } catch (const RunStop&) {
    run.QPASS.fill(1.0);  // go on to the later checks as if the flows were given
  }
  write_recent_flows_into_history(run.CASO, run.QPASS, run.history);
  find_incomplete_last_year(run.history, run.CASO.NSEM);
  check_zero_flows(run);
  std::error_code ec;
  std::filesystem::remove(run.file("RUNTRACE.DAT"), ec);  // the negative-flow stop appends to it
  run.run_report.open(run.file(run.CASO.report_name), OutputFile::Mode::kRewrite);
  try {
    check_negative_flows(run);
    scale_history(run);
  } catch (const RunStop&) {
  }
  run.run_report.close();
  return 0;
}
