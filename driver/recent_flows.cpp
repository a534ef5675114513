#include "driver/recent_flows.h"

#include <vector>

#include "common/input_file.h"
#include "common/output_file.h"
#include "common/run_stop.h"
#include "driver/history_file.h"
#include "driver/input_errors.h"

namespace darcalim {

namespace {

constexpr int kRecentFlowHeaderLines = 3;

const char* const kMissingTrendMessage =
    "NAO FOI FORNECIDO CORRETAMENTE A TENDENCIA HIDROLOGI   CA DO CASO EM PROCESSAMENTO, NAO FOI "
    "ENCONTRADO O ARQUIVO OU AL   GUMA DAS VAZOES DESTE ESTA ZERADA";

bool any_zero(const Array<double, 4>& q) { return q(1) == 0.0 || q(2) == 0.0 || q(3) == 0.0 || q(4) == 0.0; }

bool is_history_row(int row) { return row >= 1 && row <= kMaxYears; }

const InputItem kStationItem{"NUMERO DO POSTO", "station number"};

const char* weeks_before(int k) { return k == 1 ? " week before" : " weeks before"; }

// A cell of the history that receives a recent flow: week `week` of `row`
// receives QPASS(k).
struct RecentFlowCell {
  int row;
  int week;
  int k;
};

// The cells that receive the recent flows, in the order they are written
// (rows outside the table are left out).
std::vector<RecentFlowCell> recent_flow_cells(const Run& run) {
  const CaseSettings& c = run.CASO;
  const int y = run.history.row_of(c.ANOPREV);
  const int last_row = run.history.NANOSARQ;
  const int s = c.SEMPREV;
  const bool estimation_ends_before = c.ANOFEST < c.ANOPREV;
  std::vector<RecentFlowCell> cells;
  if (s > c.NSEM) return cells;
  auto put = [&cells](int row, int week, int k) {
    if (is_history_row(row)) cells.push_back({row, week, k});
  };
  for (int k = 1; k <= 4; ++k) {
    const int j = s - k;
    if (j >= 1) {
      put(y, j, k);
      if (estimation_ends_before) put(last_row, j, k);
    } else {
      put(y - 1, c.NSEM + j, k);
      if (estimation_ends_before && c.ANOPREV - c.ANOFEST != 1) put(last_row - 1, c.NSEM + j, k);
    }
  }
  return cells;
}

}  // namespace

std::string recent_flow_place(const Run& run, int k) {
  const std::string name = printable(trimmed(run.CASO.vazpasts_name));
  return located(name, run.QPASS_line) + " (station " + std::to_string(run.CASO.station_number) + ", flow " +
         std::to_string(k) + weeks_before(k) + " the forecast week)";
}

void read_recent_flow_file(Run& run) {
  const std::string name = trimmed(run.CASO.vazpasts_name);
  InputFile file(run.file(name));
  if (!file.is_open()) {
    run.console << " ERRO: ARQUIVO NAO ENCONTRADO: " << printable(name) << "\n";
    run.console << free_form({std::string(kMissingTrendMessage)});
    throw RunStop::after_messages(" ERRO: ARQUIVO NAO ENCONTRADO: " + name, printable(name) + ": file not found or not readable (it gives the recent flows of station " +
                          std::to_string(run.CASO.station_number) + ")");
  }
  for (int i = 0; i < kRecentFlowHeaderLines; ++i) file.next_line();
  const Layout line_layout("(I5,13X,4(F10.2))");
  run.QPASS.fill(0.0);
  run.QPASS_line = 0;
  int first_unreadable_line = 0;
  for (;;) {
    FieldValues values;
    const ReadOutcome outcome = line_layout.read_record(file, values);
    if (outcome.status == ReadOutcome::Status::kEndOfFile) break;
    if (!outcome.ok()) {
      if (first_unreadable_line == 0) first_unreadable_line = outcome.line_number;
      continue;
    }
    const int station = as_int(values[0]);
    if (station > kMaxStations) {
      refuse_input(name, outcome.line_number, kStationItem, "NUMERO DO POSTO ACIMA DE 600",
                   std::to_string(station) + " is above 600");
    }
    if (station != run.CASO.station_number) continue;
    for (int k = 1; k <= 4; ++k) run.QPASS(k) = as_real(values[static_cast<std::size_t>(k)]);
    run.QPASS_line = outcome.line_number;
  }
  if (!any_zero(run.QPASS)) return;
  run.console << free_form({std::string(kMissingTrendMessage)});
  if (run.QPASS_line == 0) {
    std::string diagnostic = printable(name) + ": no line for station " + std::to_string(run.CASO.station_number) +
                             " (the file ends at line " + std::to_string(file.line_number()) + ")";
    if (first_unreadable_line != 0) {
      diagnostic += "; line " + std::to_string(first_unreadable_line) + " could not be read";
    }
    throw RunStop::after_messages(" TENDENCIA HIDROLOGICA NAO FORNECIDA: VAZAO NULA OU POSTO AUSENTE EM " + name, diagnostic);
  }
  int k = 1;
  while (run.QPASS(k) != 0.0) ++k;
  throw RunStop::after_messages(" TENDENCIA HIDROLOGICA NAO FORNECIDA: VAZAO NULA OU POSTO AUSENTE EM " + name,
                                recent_flow_place(run, k) + ": the flow is zero");
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
  if (!any_zero(run.QPASS)) return;
  run.console << free_form({}) << free_form({std::string(" ERRO : VAZOES NULAS NO HISTORICO ")}) << free_form({})
              << free_form({std::string("        INFORMAR A TENDENCIA"),
                            std::string(" HIDROLOGICA POR MEIO DO ARQUIVO VAZPASTS ")})
              << free_form({});
  int k = 1;
  while (run.QPASS(k) != 0.0) ++k;
  const int row = s - k >= 1 ? y : y - 1;
  const int week = s - k >= 1 ? s - k : nsem + s - k;
  const std::string place = is_history_row(row) ? history_place(run, row, week)
                                                : printable(trimmed(run.CASO.history_name)) + " (year " +
                                                      std::to_string(run.history.first_year + row - 1) + ")";
  throw RunStop::after_messages(" ERRO : VAZOES NULAS NO HISTORICO", place + ": the flow " + std::to_string(k) + weeks_before(k) +
                        " the forecast week is zero; give the recent flows in a VAZPASTS file");
}

void write_recent_flows_into_history(Run& run) {
  SeriesTable& h = run.history.HISTORICO;
  for (const RecentFlowCell& cell : recent_flow_cells(run)) h(cell.row, cell.week) = run.QPASS(cell.k);
}

int recent_flow_written_at(const Run& run, int row, int week) {
  for (const RecentFlowCell& cell : recent_flow_cells(run)) {
    if (cell.row == row && cell.week == week) return cell.k;
  }
  return 0;
}

}  // namespace darcalim
