#include "driver/recent_flows.h"

#include "common/input_file.h"
#include "common/output_file.h"
#include "common/run_stop.h"
#include "driver/input_errors.h"

namespace darcalim {

namespace {

constexpr int kRecentFlowHeaderLines = 3;

const char* const kMissingTrendMessage =
    "NAO FOI FORNECIDO CORRETAMENTE A TENDENCIA HIDROLOGI   CA DO CASO EM PROCESSAMENTO, NAO FOI "
    "ENCONTRADO O ARQUIVO OU AL   GUMA DAS VAZOES DESTE ESTA ZERADA";

bool any_zero(const Array<double, 4>& q) { return q(1) == 0.0 || q(2) == 0.0 || q(3) == 0.0 || q(4) == 0.0; }

bool is_history_row(int row) { return row >= 1 && row <= kMaxYears; }

// Writes one recent flow into week `week` of `row` when the row is part of the table.
void put(SeriesTable& h, int row, int week, double flow) {
  if (is_history_row(row)) h(row, week) = flow;
}

}  // namespace

void read_recent_flow_file(Run& run) {
  const std::string name = trimmed(run.CASO.vazpasts_name);
  InputFile file(run.file(name));
  if (!file.is_open()) {
    run.console << " ERRO: ARQUIVO NAO ENCONTRADO: " << name << "\n";
    run.console << free_form({std::string(kMissingTrendMessage)});
    throw RunStop::after_messages(" ERRO: ARQUIVO NAO ENCONTRADO: " + name);
  }
  for (int i = 0; i < kRecentFlowHeaderLines; ++i) file.next_line();
  const Layout line_layout("(I5,13X,4(F10.2))");
  run.QPASS.fill(0.0);
  for (;;) {
    FieldValues values;
    const ReadOutcome outcome = line_layout.read_record(file, values);
    if (outcome.status == ReadOutcome::Status::kEndOfFile) break;
    if (!outcome.ok()) continue;
    const int station = as_int(values[0]);
    if (station > kMaxStations) refuse_input(name, outcome.line_number, "NUMERO DO POSTO ACIMA DE 600");
    if (station != run.CASO.station_number) continue;
    for (int k = 1; k <= 4; ++k) run.QPASS(k) = as_real(values[static_cast<std::size_t>(k)]);
  }
  if (any_zero(run.QPASS)) {
    run.console << free_form({std::string(kMissingTrendMessage)});
    throw RunStop::after_messages(" TENDENCIA HIDROLOGICA NAO FORNECIDA: VAZAO NULA OU POSTO AUSENTE EM " + name);
  }
}

void recent_flows_from_history(Run& run) {
  const SeriesTable& h = run.history.HISTORICO;
  const int y = run.history.row_of(run.CASO.ANOPREV);
  const int s = run.CASO.SEMPREV;
  const int nsem = run.CASO.NSEM;
  for (int k = 1; k <= 4; ++k) {
    const int row = s - k >= 1 ? y : y - 1;
    const int week = s - k >= 1 ? s - k : nsem + s - k;
    run.QPASS(k) = is_history_row(row) ? h(row, week) : 0.0;
  }
  if (any_zero(run.QPASS)) {
    run.console << free_form({}) << free_form({std::string(" ERRO : VAZOES NULAS NO HISTORICO ")})
                << free_form({})
                << free_form({std::string("        INFORMAR A TENDENCIA"),
                              std::string(" HIDROLOGICA POR MEIO DO ARQUIVO VAZPASTS ")})
                << free_form({});
    throw RunStop::after_messages(" ERRO : VAZOES NULAS NO HISTORICO");
  }
}

void write_recent_flows_into_history(Run& run) {
  SeriesTable& h = run.history.HISTORICO;
  const CaseSettings& c = run.CASO;
  const int y = run.history.row_of(c.ANOPREV);
  const int last_row = run.history.NANOSARQ;
  const int s = c.SEMPREV;
  const bool estimation_ends_before = c.ANOFEST < c.ANOPREV;
  if (s > c.NSEM) return;
  for (int k = 1; k <= 4; ++k) {
    const int j = s - k;
    const double q = run.QPASS(k);
    if (j >= 1) {
      put(h, y, j, q);
      if (estimation_ends_before) put(h, last_row, j, q);
    } else {
      put(h, y - 1, c.NSEM + j, q);
      if (estimation_ends_before && c.ANOPREV - c.ANOFEST != 1) put(h, last_row - 1, c.NSEM + j, q);
    }
  }
}

}  // namespace darcalim
