#include "driver/history_file.h"

#include <charconv>
#include <utility>

#include "common/run_stop.h"
#include "driver/history_layout.h"
#include "driver/input_errors.h"
#include "driver/recent_flows.h"
#include "driver/run.h"
#include "driver/run_trace.h"

namespace darcalim {

namespace {

const InputItem kStationLine{"CODIGO E NOME DO POSTO", "station code and name"};
const InputItem kYearsLine{"ANOS INICIAL E FINAL E FATOR", "first and last year and factor"};

constexpr int kHeaderLines = kHistoryHeaderLines;
constexpr int kFlowsPerLine = kHistoryFlowsPerLine;

std::string flow_text(double flow) {
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, flow);
  return std::string(text, result.ptr);
}

// A history that ends before the years it declares is read as the format
// reads it (the missing rows stay zero), with a warning naming the missing
// years.
void warn_short_history(const FlowHistory& h, const std::string& name, int row, int weeks_read,
                        std::ostream& diagnostics) {
  const int first_missing_row = weeks_read == 0 ? row : row + 1;
  if (first_missing_row > h.NANOSARQ) return;  // only the end of the last year is missing
  std::string where = "the file ends at line " + std::to_string(h.lines_read);
  if (weeks_read > 0) {
    where += " (year " + std::to_string(h.first_year + row - 1) + ", week " + std::to_string(weeks_read) + ")";
  }
  warn(diagnostics, printable(name) + ": " + where + "; " +
                        years_text(h.first_year + first_missing_row - 1, h.last_year) +
                        " declared on line 2 have no flows and are read as zero");
}

[[noreturn]] void stop_on_unreadable_flow(const FlowHistory& h, const std::string& name, int row,
                                          const ReadOutcome& outcome, std::ostream& console) {
  static const Layout kError("(/,2(A,I4),/)");
  const int year = h.first_year + row - 1;
  const int week = outcome.values_read + 1;
  write_record(console, kError,
               {std::string(" ERRO NO ARQUIVO DE HISTORICO DE VAZOES             - ANO :"), std::int64_t{year},
                std::string(" - SEMANA : "), std::int64_t{week}});
  throw RunStop(" ERRO NA LEITURA DO ARQUIVO DE HISTORICO DE VAZOES",
                located(printable(name), outcome.line_number) + " (year " + std::to_string(year) + ", week " +
                    std::to_string(week) + "): " + not_a_number(outcome.field_text));
}

// Weeks of `row` that the checks and the scaling cover: all NSEM weeks, or
// the observed weeks when the row is the partial last row.
int weeks_of_row(const Run& run, int row, int partial_row) {
  return row == partial_row ? run.history.NSEMULT : run.CASO.NSEM;
}

int history_line(int row, int week, int NSEM) {
  const int lines_per_row = (NSEM + kFlowsPerLine - 1) / kFlowsPerLine;
  return kHeaderLines + (row - 1) * lines_per_row + (week - 1) / kFlowsPerLine + 1;
}

}  // namespace

std::string years_text(int first, int last) {
  return first == last ? "year " + std::to_string(first) : "years " + std::to_string(first) + "-" + std::to_string(last);
}

std::string history_place(const std::string& name, const FlowHistory& h, int NSEM, int row, int week) {
  const int line = history_line(row, week, NSEM);
  const std::string shown = printable(name);
  const std::string year_week =
      "(year " + std::to_string(h.first_year + row - 1) + ", week " + std::to_string(week) + ")";
  if (row <= h.NANOSARQ && line <= h.lines_read) return located(shown, line) + " " + year_week;
  return shown + " " + year_week + ", after the end of the file";
}

InputFile open_history_file(const std::filesystem::path& folder, const std::string& name) {
  InputFile file(file_in(folder, name));
  if (!file.is_open()) refuse_unreadable_file(name, file);
  return file;
}

FlowHistory read_history_header(InputFile& file, const std::string& name) {
  FlowHistory h;
  const FieldValues first = read_required_line(file, Layout(kHistoryStationLine), kStationLine);
  h.station_code = as_int(first[0]);
  for (std::size_t i = 1; i < first.size(); ++i) h.station_name += as_text(first[i]);
  const FieldValues second = read_required_line(file, Layout(kHistoryYearsLine), kYearsLine);
  h.first_year = as_int(second[0]);
  h.last_year = as_int(second[1]);
  h.FAC = as_real(second[2]);
  h.NANOSARQ = h.last_year - h.first_year + 1;
  if (h.NANOSARQ < 1) {
    refuse_input(name, 2, kYearsLine, "ANO FINAL ANTERIOR AO ANO INICIAL",
                 "the last year " + std::to_string(h.last_year) + " is before the first year " +
                     std::to_string(h.first_year));
  }
  if (h.NANOSARQ > kMaxYears) {
    refuse_input(name, 2, kYearsLine, "HISTORICO COM MAIS DE 100 ANOS",
                 years_text(h.first_year, h.last_year) + " are more than 100 years");
  }
  if (!(h.FAC > 0.0)) {
    refuse_input(name, 2, kYearsLine, "FATOR DE CONVERSAO NAO POSITIVO",
                 "the factor " + flow_text(h.FAC) + " is not positive");
  }
  return h;
}

FlowHistory read_history_flows(InputFile& file, const std::string& name, FlowHistory header, int NSEM,
                               std::ostream& console, std::ostream& diagnostics) {
  FlowHistory h = std::move(header);
  static const Layout kFlows(kHistoryFlows);
  for (int row = 1; row <= h.NANOSARQ; ++row) {
    FieldValues values;
    const ReadOutcome outcome = kFlows.read(file, NSEM, values);
    h.lines_read = file.line_number();
    for (int t = 1; t <= outcome.values_read; ++t) h.HISTORICO(row, t) = as_real(values[static_cast<std::size_t>(t - 1)]);
    if (outcome.status == ReadOutcome::Status::kEndOfFile) {
      warn_short_history(h, name, row, outcome.values_read, diagnostics);
      break;
    }
    if (outcome.status == ReadOutcome::Status::kBadField) stop_on_unreadable_flow(h, name, row, outcome, console);
  }
  return h;
}

FlowHistory read_history(const std::filesystem::path& folder, const std::string& name, int NSEM,
                         std::ostream& console, std::ostream& diagnostics) {
  const std::string shown = trimmed(name);
  InputFile file = open_history_file(folder, shown);
  FlowHistory header = read_history_header(file, shown);
  return read_history_flows(file, shown, std::move(header), NSEM, console, diagnostics);
}

void find_incomplete_last_year(FlowHistory& h, int NSEM) {
  h.NSEMULT = NSEM;
  while (h.NSEMULT > 0 && h.HISTORICO(h.NANOSARQ, h.NSEMULT) == 0.0) --h.NSEMULT;
  h.NANOS = h.NSEMULT < NSEM ? h.NANOSARQ - 1 : h.NANOSARQ;
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
      const double flow = h.HISTORICO(row, t);
      if (flow >= 0.0) continue;
      run.run_report.write(Layout("(/,/,'***** OCORRENCIA DE VAZOES NEGATIVAS *****')"));
      post_event(run, kTraceNegativeFlow);
      const int k = recent_flow_written_at(run.CASO, run.history, row, t);
      const std::string place = k != 0 && run.CASO.trend_source == 0
                                    ? recent_flow_place(run.CASO.vazpasts_name, run.CASO.station_number, run.QPASS_line, k)
                                    : history_place(trimmed(run.CASO.history_name), h, run.CASO.NSEM, row, t);
      throw RunStop::after_messages(" OCORRENCIA DE VAZOES NEGATIVAS", place + ": negative flow " + flow_text(flow) + "; stopped (details in " +
                            printable(trimmed(run.CASO.report_name)) + ")");
    }
  }
}

void scale_history(Run& run) {
  FlowHistory& h = run.history;
  const double factor = kStoredUnitsFactor / h.FAC;
  const bool forecast_after_estimation = run.CASO.ANOPREV > run.CASO.ANOFEST;
  const int last_row = forecast_after_estimation ? h.row_of(run.CASO.ANOPREV) : h.NANOSARQ;
  for (int row = 1; row <= last_row; ++row) {
    const int weeks = row == last_row ? h.NSEMULT : run.CASO.NSEM;
    for (int t = 1; t <= weeks; ++t) h.HISTORICO(row, t) = h.HISTORICO(row, t) * factor;
  }
  for (int k = 1; k <= 4; ++k) run.QPASS(k) = run.QPASS(k) * factor;
}

}  // namespace darcalim
