#include "driver/history_file.h"

#include "common/input_file.h"
#include "common/run_stop.h"
#include "driver/input_errors.h"
#include "driver/run_trace.h"

namespace darcalim {

namespace {

void read_header(Run& run, InputFile& file, const std::string& name) {
  FlowHistory& h = run.history;
  const FieldValues first = read_required_line(file, Layout("(1X,I8,15A4)"), "CODIGO E NOME DO POSTO");
  h.station_code = as_int(first[0]);
  h.station_name.clear();
  for (std::size_t i = 1; i < first.size(); ++i) h.station_name += as_text(first[i]);
  const FieldValues second = read_required_line(file, Layout("(2I5,F9.0)"), "ANOS INICIAL E FINAL E FATOR");
  h.first_year = as_int(second[0]);
  h.last_year = as_int(second[1]);
  h.FAC = as_real(second[2]);
  h.NANOSARQ = h.last_year - h.first_year + 1;
  if (h.NANOSARQ < 1) refuse_input(name, 2, "ANO FINAL ANTERIOR AO ANO INICIAL");
  if (h.NANOSARQ > kMaxYears) refuse_input(name, 2, "HISTORICO COM MAIS DE 100 ANOS");
  if (!(h.FAC > 0.0)) refuse_input(name, 2, "FATOR DE CONVERSAO NAO POSITIVO");
  const int forecast_row = h.row_of(run.CASO.ANOPREV);
  if (forecast_row < 1 || forecast_row > kMaxYears) {
    refuse_input(name, 2,
                 "ANO DA PREVISAO " + std::to_string(run.CASO.ANOPREV) + " FORA DOS 100 ANOS DO HISTORICO");
  }
}

void warn_late_estimation_year(Run& run) {
  CaseSettings& c = run.CASO;
  const int last_year = run.history.last_year;
  if (c.ANOFEST <= last_year) return;
  static const Layout kWarning("(A,A,I6,A,A,I6,A,I6)");
  write_record(run.console, kWarning,
               {std::string(" ATENCAO : ANO FINAL PARA ESTIMACAO"), std::string(" DOS PARAMETROS "),
                std::int64_t{c.ANOFEST}, std::string("  MAIOR DO QUE O ANO"), std::string(" FINAL DO HISTORICO "),
                std::int64_t{last_year}, std::string("   -  SERA ADOTADO O VALOR DE "), std::int64_t{last_year}});
  c.ANOFEST = last_year;
}

void read_flows(Run& run, InputFile& file) {
  FlowHistory& h = run.history;
  const int nsem = run.CASO.NSEM;
  static const Layout kFlows("9(1X,F7.0)");
  for (int row = 1; row <= h.NANOSARQ; ++row) {
    FieldValues values;
    const ReadOutcome outcome = kFlows.read(file, nsem, values);
    for (int t = 1; t <= outcome.values_read; ++t) h.HISTORICO(row, t) = as_real(values[static_cast<std::size_t>(t - 1)]);
    if (outcome.status == ReadOutcome::Status::kEndOfFile) return;
    if (outcome.status == ReadOutcome::Status::kBadField) {
      static const Layout kError("(/,2(A,I4),/)");
      write_record(run.console, kError,
                   {std::string(" ERRO NO ARQUIVO DE HISTORICO DE VAZOES             - ANO :"),
                    std::int64_t{h.first_year + row - 1}, std::string(" - SEMANA : "),
                    std::int64_t{outcome.values_read + 1}});
      throw RunStop(" ERRO NA LEITURA DO ARQUIVO DE HISTORICO DE VAZOES");
    }
  }
}

// Weeks of `row` that the checks and the scaling cover: all NSEM weeks, or
// the observed weeks when the row is the partial last row.
int weeks_of_row(const Run& run, int row, int partial_row) {
  return row == partial_row ? run.history.NSEMULT : run.CASO.NSEM;
}

}  // namespace

void read_history(Run& run) {
  const std::string name = trimmed(run.CASO.history_name);
  InputFile file(run.file(name));
  if (!file.is_open()) refuse_missing_file(name);
  read_header(run, file, name);
  warn_late_estimation_year(run);
  read_flows(run, file);
}

void find_incomplete_last_year(Run& run) {
  FlowHistory& h = run.history;
  h.NSEMULT = run.CASO.NSEM;
  while (h.NSEMULT > 0 && h.HISTORICO(h.NANOSARQ, h.NSEMULT) == 0.0) --h.NSEMULT;
  h.NANOS = h.NSEMULT < run.CASO.NSEM ? h.NANOSARQ - 1 : h.NANOSARQ;
}

void check_zero_flows(Run& run) {
  const FlowHistory& h = run.history;
  static const Layout kMessage(
      "(/,5X,' VAZAO ZERO NO HISTORICO!',/,5X,' NAO E POSSIVEL REALIZAR TRANSFORMACAO.',/,5X,' semana: ',I3,5X,'ano: ',I4)");
  const int partial_row = h.NANOS < h.NANOSARQ ? h.NANOSARQ : 0;
  const int last_row = partial_row != 0 ? partial_row : h.NANOS;
  for (int row = 1; row <= last_row; ++row) {
    for (int t = 1; t <= weeks_of_row(run, row, partial_row); ++t) {
      if (h.HISTORICO(row, t) != 0.0) continue;
      write_record(run.console, kMessage, {std::int64_t{t}, std::int64_t{row}});
      run.zero_flow = true;
    }
  }
}

void check_negative_flows(Run& run) {
  const FlowHistory& h = run.history;
  for (int row = 1; row <= h.NANOSARQ; ++row) {
    for (int t = 1; t <= weeks_of_row(run, row, h.NANOSARQ); ++t) {
      if (h.HISTORICO(row, t) >= 0.0) continue;
      run.run_report.write(Layout("(/,/,'***** OCORRENCIA DE VAZOES NEGATIVAS *****')"));
      post_event(run, kTraceNegativeFlow);
      throw RunStop::after_messages(" OCORRENCIA DE VAZOES NEGATIVAS");
    }
  }
}

void scale_history(Run& run) {
  FlowHistory& h = run.history;
  const double factor = 604.8 / h.FAC;
  const bool forecast_after_estimation = run.CASO.ANOPREV > run.CASO.ANOFEST;
  const int last_row = forecast_after_estimation ? h.row_of(run.CASO.ANOPREV) : h.NANOSARQ;
  for (int row = 1; row <= last_row; ++row) {
    const int weeks = row == last_row ? h.NSEMULT : run.CASO.NSEM;
    for (int t = 1; t <= weeks; ++t) h.HISTORICO(row, t) = h.HISTORICO(row, t) * factor;
  }
  for (int k = 1; k <= 4; ++k) run.QPASS(k) = run.QPASS(k) * factor;
}

}  // namespace darcalim
