#include "stats/transformation_step.h"

#include "common/layout.h"
#include "stats/boxcox.h"
#include "stats/flow_transformation.h"

namespace darcalim {

namespace {

bool is_logarithmic(int option) { return option == 1 || option == 3; }
bool is_boxcox(int option) { return option == 2 || option == 4; }

void report_zero_flow(Run& run) {
  static const Layout kConsole("/ / 5X 'Vazao Nula.' 5X 'Nao sera considerada a opcao c\\ transformacao' /");
  static const Layout kReport(
      "/ / 5X '*** ATENCAO ***' / 5X ' Vazao Nula. Nao sera considerada a opcao c\\ transformacao' / /"
      " 5X 'Resultados c\\ transf. iguais aos s\\ transf.' / /");
  write_record(run.console, kConsole);
  run.run_report.write(kReport);
  for (int t = 1; t <= run.CASO.NSEM; ++t) run.LAMBDA(t) = 1.0;
}

void start_boxcox(Run& run) {
  static const Layout kOption("2X 'VAZOES SEMANAIS COM TRANSFORMACAO ' A12 /");
  run.run_report.write(kOption, {std::string(transformation_label(run.CASO.TIPOTRANS))});
  run.boxcox_report.open(run.file(boxcox_report_name(run.CASO.report_name)), OutputFile::Mode::kRewrite);
  if (run.zero_flow) {
    run.boxcox_report.clear();  // the report of a run without exponents is empty
    report_zero_flow(run);
  } else {
    BOXCOX(run.history.HISTORICO, run.CASO.NSEM, run.history.NANOS, run.LAMBDA, run.LIMBC, run.boxcox_report,
           run.run_report);
  }
}

}  // namespace

void prepare_transformation(Run& run) {
  const int option = run.CASO.TIPOTRANS;
  if (is_logarithmic(option)) {
    if (run.zero_flow) {
      report_zero_flow(run);
    } else {
      for (int t = 1; t <= run.CASO.NSEM; ++t) run.LAMBDA(t) = 0.0;
    }
  } else if (is_boxcox(option)) {
    start_boxcox(run);
  }
  const FlowHistory& h = run.history;
  TRANS(h.HISTORICO, run.CASO.NSEM, h.NANOSARQ, h.NSEMULT, run.LAMBDA, run.transformed);
}

}  // namespace darcalim
