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

bool any_zero(const RecentFlowValues& q) { return q(1) == 0.0 || q(2) == 0.0 || q(3) == 0.0 || q(4) == 0.0; }

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
std::vector<RecentFlowCell> recent_flow_cells(const CaseSettings& c, const FlowHistory& history) {
  const int y = history.row_of(c.ANOPREV);
  const int last_row = history.NANOSARQ;
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

std::string recent_flow_place(const std::string& vazpasts_name, int station_number, int line, int k) {
  const std::string name = printable(trimmed(vazpasts_name));
  return located(name, line) + " (station " + std::to_string(station_number) + ", flow " + std::to_string(k) +
         weeks_before(k) + " the forecast week)";
}

RecentFlows read_recent_flow_file(const std::filesystem::path& folder, const std::string& vazpasts_name,
                                  int station_number, std::ostream& console) {
  const std::string name = trimmed(vazpasts_name);
  InputFile file(file_in(folder, name));
  if (!file.is_open()) {
    console << " ERRO: ARQUIVO NAO ENCONTRADO: " << printable(name) << "\n";
    console << free_form({std::string(kMissingTrendMessage)});
    throw RunStop::after_messages(" ERRO: ARQUIVO NAO ENCONTRADO: " + name,
                                  printable(name) + ": " + file.fault() + " (it gives the recent flows of station " +
                                      std::to_string(station_number) + ")");
  }
  for (int i = 0; i < kRecentFlowHeaderLines; ++i) file.next_line();
  const Layout line_layout("(I5,13X,4(F10.2))");
  RecentFlows recent;
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
    if (station != station_number) continue;
    for (int k = 1; k <= 4; ++k) recent.QPASS(k) = as_real(values[static_cast<std::size_t>(k)]);
    recent.line = outcome.line_number;
  }
  if (!any_zero(recent.QPASS)) return recent;
  console << free_form({std::string(kMissingTrendMessage)});
  const std::string reason = " TENDENCIA HIDROLOGICA NAO FORNECIDA: VAZAO NULA OU POSTO AUSENTE EM " + name;
  if (recent.line == 0) {
    std::string diagnostic = printable(name) + ": no line for station " + std::to_string(station_number) +
                             " (the file ends at line " + std::to_string(file.line_number()) + ")";
    if (first_unreadable_line != 0) {
      diagnostic += "; line " + std::to_string(first_unreadable_line) + " could not be read";
    }
    throw RunStop::after_messages(reason, diagnostic);
  }
  int k = 1;
  while (recent.QPASS(k) != 0.0) ++k;
  throw RunStop::after_messages(reason, recent_flow_place(name, station_number, recent.line, k) + ": the flow is zero");
}

RecentFlowValues recent_flows_from_history(const FlowHistory& history, const CaseSettings& c, std::ostream& console) {
  const SeriesTable& h = history.HISTORICO;
  const int y = history.row_of(c.ANOPREV);
  const int s = c.SEMPREV;
  const int nsem = c.NSEM;
  RecentFlowValues QPASS;
  for (int k = 1; k <= 4; ++k) {
    const int row = s - k >= 1 ? y : y - 1;
    const int week = s - k >= 1 ? s - k : nsem + s - k;
    QPASS(k) = is_history_row(row) ? h(row, week) : 0.0;
  }
  if (!any_zero(QPASS)) return QPASS;
  console << free_form({}) << free_form({std::string(" ERRO : VAZOES NULAS NO HISTORICO ")}) << free_form({})
          << free_form({std::string("        INFORMAR A TENDENCIA"),
                        std::string(" HIDROLOGICA POR MEIO DO ARQUIVO VAZPASTS ")})
          << free_form({});
  int k = 1;
  while (QPASS(k) != 0.0) ++k;
  const int row = s - k >= 1 ? y : y - 1;
  const int week = s - k >= 1 ? s - k : nsem + s - k;
  const std::string name = trimmed(c.history_name);
  const std::string place = is_history_row(row) ? history_place(name, history, nsem, row, week)
                                                : printable(name) + " (year " +
                                                      std::to_string(history.first_year + row - 1) + ")";
  throw RunStop::after_messages(" ERRO : VAZOES NULAS NO HISTORICO", place + ": the flow " + std::to_string(k) + weeks_before(k) +
                        " the forecast week is zero; give the recent flows in a VAZPASTS file");
}

void write_recent_flows_into_history(const CaseSettings& c, const RecentFlowValues& QPASS, FlowHistory& history) {
  for (const RecentFlowCell& cell : recent_flow_cells(c, history)) history.HISTORICO(cell.row, cell.week) = QPASS(cell.k);
}

int recent_flow_written_at(const CaseSettings& c, const FlowHistory& history, int row, int week) {
  for (const RecentFlowCell& cell : recent_flow_cells(c, history)) {
    if (cell.row == row && cell.week == week) return cell.k;
  }
  return 0;
}

}  // namespace darcalim
