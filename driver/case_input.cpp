#include "driver/case_input.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "common/appended_file.h"
#include "common/layout.h"
#include "common/output_file.h"
#include "driver/case_data_layout.h"
#include "driver/case_file.h"
#include "driver/history_file.h"
#include "driver/input_errors.h"
#include "driver/recent_flows.h"
#include "driver/run_files.h"
#include "stats/transformation_step.h"

namespace darcalim {

namespace {

const InputItem kForecastYear{"ANO DA PREVISAO", "forecast year"};
const InputItem kEstimationYear{"ANO FINAL PARA ESTIMACAO", "last estimation year"};

// Lines of the case data file that hold the forecast year and the last
// estimation year (the latter only with recent flows from VAZPASTS; with the
// trend from the history it follows from the forecast year).
constexpr int kForecastYearLine = case_data_line::kForecastYear.number;
constexpr int kEstimationYearLine = case_data_line::kEstimationYear.number;
// Each half of the estimation years needs at least one year.
constexpr int kMinimumEstimationYears = 2;

void warn_late_estimation_year(CaseSettings& c, int last_year, std::ostream& console) {
  if (c.ANOFEST <= last_year) return;
  static const Layout kWarning("(A,A,I6,A,A,I6,A,I6)");
  write_record(console, kWarning,
               {std::string(" ATENCAO : ANO FINAL PARA ESTIMACAO"), std::string(" DOS PARAMETROS "),
                std::int64_t{c.ANOFEST}, std::string("  MAIOR DO QUE O ANO"), std::string(" FINAL DO HISTORICO "),
                std::int64_t{last_year}, std::string("   -  SERA ADOTADO O VALOR DE "), std::int64_t{last_year}});
  c.ANOFEST = last_year;
}

// The option of the pass: a combined run's option 5 is 2 in the first pass,
// which sets the combined-run marker, and 3 in the second, which clears it.
void take_pass_option(Run& run) {
  if (run.CASO.TIPOTRANS != kCombinedOption) return;
  run.combined_marker = run.PASSO == 1;
  run.CASO.TIPOTRANS = run.PASSO == 1 ? 2 : 3;
}

// The history of the case, checked against the case between its header and
// its flows.
FlowHistory read_case_history(CaseSettings& c, const std::filesystem::path& folder, std::ostream& console,
                              std::ostream& diagnostics) {
  const std::string name = trimmed(c.history_name);
  InputFile file = open_history_file(folder, name);
  FlowHistory header = read_history_header(file, name);
  reconcile_case_with_history(c, header, name, console);
  return read_history_flows(file, name, std::move(header), c.NSEM, console, diagnostics);
}

void write_console_banner(Run& run) {
  static const Layout kBanner(
      "(/,/,/,20X,'P R O G R A M A  D A R C A L I M ',/,/,4X,18X,'PREVISAO DE VAZOES SEMANAIS ',/,/,28X,"
      "'V E R S A O  5.3.2ns',/)");
  write_record(run.console, kBanner);
}

void write_option_summary(Run& run) {
  const CaseSettings& c = run.CASO;
  static const Layout kSummary(
      "(2X,'AR = ',A1,/,2X,'ARMA = ',A1,/,2X,'PAR = ',A1,/,2X,'PARMA = ',A1,/,2X,'Previsao serie total = ',A1,/,"
      "2X,'Imprime parametros = ',A1,/,2X,'Nome do arquivo de vazoes historicas = ',A12,/,"
      "2X,'Mes de inicio do ano hidrologico = ',I2,/,2X,'Numero de semanas anuais do historico = ',I2)");
  auto one = [](char letter) { return std::string(1, letter); };
  write_record(run.console, kSummary,
               {one(c.ar), one(c.arma), one(c.par), one(c.parma), one(c.total_series), one(c.print_parameters),
                c.history_name, std::int64_t{c.start_month}, std::int64_t{c.NSEM}});
  if (c.TIPOTRANS == 0) {
    write_record(run.console, Layout("(2X,'Nao sofrera transformacao')"));
  } else if (run.combined_marker) {
    write_record(run.console,
                 Layout("(2X,'Sofrera transformacao - Tipo da transformacao = BC/S.TRANSF./LOGARITMICA ')"));
  } else {
    write_record(run.console, Layout("(2X,'Sofrera transformacao - Tipo da transformacao = ',A12)"),
                 {std::string(transformation_label(c.TIPOTRANS))});
  }
}

// Opens a file for appending, first cutting off a record that an earlier run
// left torn at its end (saying so on the error stream); when it did not
// exist, or was empty, writes its header line.
void open_appended(Run& run, OutputFile& file, const std::string& name, const AppendedRecords& records) {
  if (file.is_open()) return;
  const auto path = run.file(name);
  if (!run.writes_files) return file.open(path, OutputFile::Mode::kAppend);  // keeps nothing
  const std::uintmax_t removed = cut_back_torn_record(path, records);
  if (removed > 0) {
    warn(run.diagnostics, printable(trimmed(name)) + ": the last record was cut short by an earlier run; its " +
                              std::to_string(removed) + " bytes are removed");
  }
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(path, ec);
  file.open(path, OutputFile::Mode::kAppend);
  if (ec || size == 0) file.write(records.header_layout);
}

void open_appended_files(Run& run) {
  open_appended(run, run.forecast_file, run.CASO.forecast_file_name, forecast_file_records());
  if (run.CASO.variability_option != 0) {
    open_appended(run, run.model_file, model_file_name(run.CASO.report_name), model_file_records());
  }
}

void write_report_banner(Run& run) {
  if (!run.run_report.is_open()) run.run_report.open(run.file(run.CASO.report_name), OutputFile::Mode::kRewrite);
  static const Layout kBanner(
      "(A,/,/,20X,'P R O G R A M A  D A R C A L I M ',/,/,22X,'PREVISAO DE VAZOES SEMANAIS ',/,/,28X,"
      "'V E R S A O  5.3.2ns',/,/,2X,'CODIGO DO POSTO: ',I8,/,/,2X,'NOME DO POSTO: ',15A4,/,/,2X,"
      "'MES DE INICIO DO ANO HIDROLOGICO: ',I2,/)");
  FieldValues values{std::string("\f"), std::int64_t{run.history.station_code}};
  std::string name = run.history.station_name;
  name.resize(60, ' ');
  for (std::size_t i = 0; i < 60; i += 4) values.emplace_back(name.substr(i, 4));
  values.emplace_back(std::int64_t{run.CASO.start_month});
  run.run_report.write(kBanner, values);
  run.run_report.write(Layout("(2X,'NUMERO DE SEMANAS ANUAIS DO HISTORICO : ',I2,/)"),
                       {std::int64_t{run.CASO.NSEM}});
}

// The series with transformation of the pass, with the Box-Cox report
// named after the run report.
void transform_history(Run& run) {
  const std::filesystem::path boxcox_path = run.file(boxcox_report_name(run.CASO.report_name));
  const TransformationInputs in{run.history, run.CASO.TIPOTRANS, run.CASO.NSEM, run.zero_flow, boxcox_path};
  prepare_transformation(in, {run.LAMBDA, run.LIMBC, run.transformed, run.console, run.run_report, run.boxcox_report});
}

void open_evaluation_files(Run& run) {
  for (const auto& [records, name] : {std::pair{&run.half_records, kHalfRecordsFileName},
                                      std::pair{&run.total_records, kTotalRecordsFileName}}) {
    if (records->is_open()) continue;
    if (run.writes_files) {
      records->open(run.file(name));
    } else {
      records->open_in_memory();
    }
  }
  if (!run.ranking_report.is_open()) {
    run.ranking_report.open(run.file(run.CASO.ranking_report_name), OutputFile::Mode::kRewrite);
  }
}

}  // namespace

void reconcile_case_with_history(CaseSettings& c, const FlowHistory& h, const std::string& history_name,
                                 std::ostream& console) {
  const int forecast_row = h.row_of(c.ANOPREV);
  if (forecast_row < 1 || forecast_row > kMaxYears) {
    refuse_input(c.case_file_name, kForecastYearLine, kForecastYear,
                 "ANO DA PREVISAO " + std::to_string(c.ANOPREV) + " FORA DOS 100 ANOS DO HISTORICO",
                 std::to_string(c.ANOPREV) + " is outside the " + years_text(h.first_year, h.first_year + kMaxYears - 1) +
                     " that the history " + printable(history_name) + " can hold");
  }
  if (c.ANOFEST - h.first_year + 1 < kMinimumEstimationYears) {
    const bool read_from_case = c.trend_source == 0;
    refuse_input(c.case_file_name, read_from_case ? kEstimationYearLine : kForecastYearLine,
                 read_from_case ? kEstimationYear : kForecastYear,
                 "ANO FINAL PARA ESTIMACAO " + std::to_string(c.ANOFEST) + " ANTERIOR AO HISTORICO",
                 "the last estimation year " + std::to_string(c.ANOFEST) + " leaves fewer than 2 years of the history " +
                     printable(history_name) + ", which begins in " + std::to_string(h.first_year));
  }
  warn_late_estimation_year(c, h.last_year, console);
}

void PARAM(Run& run) {
  CaseDataFile case_file = open_case_data_file(run.folder);
  if (run.PASSO == 1) write_console_banner(run);
  run.CASO = read_case_settings(run.folder, case_file);
  take_pass_option(run);
  if (run.CASO.trend_source == 0) {
    const RecentFlows recent =
        read_recent_flow_file(run.folder, run.CASO.vazpasts_name, run.CASO.station_number, run.console);
    run.QPASS = recent.QPASS;
    run.QPASS_line = recent.line;
  }
  open_appended_files(run);
  if (run.PASSO == 1) write_option_summary(run);
  run.history = read_case_history(run.CASO, run.folder, run.console, run.diagnostics);
  if (run.CASO.trend_source != 0) run.QPASS = recent_flows_from_history(run.history, run.CASO, run.console);
  write_recent_flows_into_history(run.CASO, run.QPASS, run.history);
  find_incomplete_last_year(run.history, run.CASO.NSEM);
  if (run.CASO.TIPOTRANS > 0) check_zero_flows(run);
  write_report_banner(run);
  check_negative_flows(run);
  scale_history(run);
  transform_history(run);
  open_evaluation_files(run);
}

CaseInput read_case_input(const std::filesystem::path& folder, std::ostream& console, std::ostream& diagnostics) {
  CaseInput in;
  CaseDataFile case_file = open_case_data_file(folder);
  in.settings = read_case_settings(folder, case_file);
  CaseSettings& c = in.settings;
  if (c.trend_source == 0) in.recent = read_recent_flow_file(folder, c.vazpasts_name, c.station_number, console);
  in.history = read_case_history(c, folder, console, diagnostics);
  if (c.trend_source != 0) in.recent.QPASS = recent_flows_from_history(in.history, c, console);
  write_recent_flows_into_history(c, in.recent.QPASS, in.history);
  return in;
}

}  // namespace darcalim
