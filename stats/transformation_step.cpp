#include "stats/transformation_step.h"

#include <string>

#include "common/case_settings.h"
#include "common/layout.h"
#include "stats/boxcox.h"
#include "stats/flow_transformation.h"

namespace darcalim {

namespace {

bool is_logarithmic(int option) { return option == 1 || option == 3; }
bool is_boxcox(int option) { return option == 2 || option == 4; }

void report_zero_flow(int NSEM, const TransformationOutputs& out) {
  static const Layout kConsole("/ / 5X 'Vazao Nula.' 5X 'Nao sera considerada a opcao c\\ transformacao' /");
  static const Layout kReport(
      "/ / 5X '*** ATENCAO ***' / 5X ' Vazao Nula. Nao sera considerada a opcao c\\ transformacao' / /"
      " 5X 'Resultados c\\ transf. iguais aos s\\ transf.' / /");
  write_record(out.console, kConsole);
  out.run_report.write(kReport);
  for (int t = 1; t <= NSEM; ++t) out.LAMBDA(t) = 1.0;
}

void start_boxcox(const TransformationInputs& in, const TransformationOutputs& out) {
  static const Layout kOption("2X 'VAZOES SEMANAIS COM TRANSFORMACAO ' A12 /");
  out.run_report.write(kOption, {std::string(transformation_label(in.TIPOTRANS))});
  out.boxcox_report.open(in.boxcox_report_path, OutputFile::Mode::kRewrite);
  if (in.zero_flow) {
    out.boxcox_report.clear();  // the report of a run without exponents is empty
    report_zero_flow(in.NSEM, out);
  } else {
    BOXCOX(in.history.HISTORICO, in.NSEM, in.history.NANOS, out.LAMBDA, out.LIMBC, out.boxcox_report, out.run_report);
  }
}

}  // namespace

void prepare_transformation(const TransformationInputs& in, const TransformationOutputs& out) {
  const int option = in.TIPOTRANS;
  if (is_logarithmic(option)) {
    if (in.zero_flow) {
      report_zero_flow(in.NSEM, out);
    } else {
      for (int t = 1; t <= in.NSEM; ++t) out.LAMBDA(t) = 0.0;
    }
  } else if (is_boxcox(option)) {
    start_boxcox(in, out);
  }
  const FlowHistory& h = in.history;
  TRANS(h.HISTORICO, in.NSEM, h.NANOSARQ, h.NSEMULT, out.LAMBDA, out.transformed);
}

}  // namespace darcalim
