#include "driver/case_file.h"

#include "common/run_stop.h"
#include "driver/input_errors.h"
#include "stats/normal_quantile.h"

namespace darcalim {

namespace {

// The last "." of the report name must stand within its first 9 characters,
// so that the derived Box-Cox report name fits 12 characters.
constexpr std::size_t kLastDotLimit = 9;
constexpr int kCombinedOption = 5;

std::string read_text(InputFile& file, const char* layout, const std::string& item) {
  return as_text(read_required_line(file, Layout(layout), item)[0]);
}

int read_integer(InputFile& file, const char* layout, const std::string& item) {
  return as_int(read_required_line(file, Layout(layout), item)[0]);
}

void require(bool ok, const InputFile& file, const std::string& what) {
  if (!ok) refuse_input(file.name(), file.line_number(), what);
}

void skip_line(InputFile& file, const std::string& item) { read_required_line(file, Layout("(A1)"), item); }

void read_lines_1_to_14(Run& run, InputFile& file) {
  CaseSettings& c = run.CASO;
  c.report_name = read_text(file, "(A12)", "NOME DO RELATORIO");
  const auto dot = c.report_name.find_last_of('.');
  require(dot != std::string::npos && dot < kLastDotLimit, file,
          "O NOME DO RELATORIO PRECISA DE UM '.' ATE O NONO CARACTERE");
  c.print_parameters = read_text(file, "(A1)", "IMPRIME PARAMETROS")[0];
  c.history_name = read_text(file, "(A12)", "ARQUIVO DE HISTORICO");
  c.TIPOTRANS = read_integer(file, "(I1)", "TIPO DE TRANSFORMACAO");
  require(c.TIPOTRANS >= 0 && c.TIPOTRANS <= kCombinedOption, file, "TIPO DE TRANSFORMACAO FORA DE 0 A 5");
  c.start_month = read_integer(file, "(I2)", "MES DE INICIO DO ANO HIDROLOGICO");
  require(c.start_month >= 1 && c.start_month <= 12, file, "MES DE INICIO FORA DE 1 A 12");
  c.forecast_file_name = read_text(file, "(A12)", "ARQUIVO DE PREVISOES");
  c.ranking_report_name = read_text(file, "(A12)", "RELATORIO DE ORDENACAO DOS ERROS");
  c.confidence_level = read_integer(file, "(I3)", "NIVEL DE CONFIANCA");
  const double probability = 1.0 - (1.0 - c.confidence_level / 100.0) / 2.0;
  const NormalQuantile quantile = NDTRI(probability);
  require(quantile.IER == 0, file, "NIVEL DE CONFIANCA ACIMA DE 100");
  c.ZCONF = quantile.X;
  c.SEMPREV = read_integer(file, "(I2)", "SEMANA DA PREVISAO");
  require(c.SEMPREV >= 1 && c.SEMPREV <= kMaxWeeks, file, "SEMANA DA PREVISAO FORA DE 1 A 53");
  c.ANOPREV = read_integer(file, "(I4)", "ANO DA PREVISAO");
  c.trend_source = read_integer(file, "(I1)", "ORIGEM DA TENDENCIA");
  if (c.trend_source == 0) {
    c.vazpasts_name = read_text(file, "(A12)", "ARQUIVO VAZPASTS");
    c.ANOFEST = read_integer(file, "(I4)", "ANO FINAL PARA ESTIMACAO");
  } else {
    skip_line(file, "ARQUIVO VAZPASTS");
    skip_line(file, "ANO FINAL PARA ESTIMACAO");
    c.ANOFEST = c.ANOPREV - 1;
  }
  c.station_number = read_integer(file, "(I3)", "NUMERO DO POSTO");
  require(c.trend_source != 0 || (c.station_number >= 1 && c.station_number <= kMaxStations), file,
          "NUMERO DO POSTO FORA DE 1 A 600");
}

void read_optional_lines(Run& run, InputFile& file) {
  CaseSettings& c = run.CASO;
  const auto option = read_optional_line(file, Layout("(I1)"), "OPCAO DE VARIABILIDADE");
  if (!option) return;
  c.variability_option = as_int((*option)[0]);
  if (c.variability_option != 1 && c.variability_option != 2) c.variability_option = 0;
  if (c.variability_option != 0) {
    const auto name = read_optional_line(file, Layout("(A12)"), "ARQUIVO DE PERCENTIS");
    if (!name) return;
    c.percentile_name = as_text((*name)[0]);
  } else if (!read_optional_line(file, Layout("(A1)"), "ARQUIVO DE PERCENTIS")) {
    return;
  }
  const auto weeks = read_optional_line(file, Layout("(I1)"), "SEMANAS POR ANO");
  if (weeks && as_int((*weeks)[0]) == 1) c.NSEM = 53;
}

}  // namespace

InputFile open_case_data_file(const Run& run) {
  InputFile index(run.file(kCaseIndexFileName));
  if (!index.is_open()) refuse_missing_file(kCaseIndexFileName);
  const std::string name = trimmed(as_text(read_required_line(index, Layout("(A12)"), "NOME DO ARQUIVO DO CASO")[0]));
  if (name.empty()) refuse_input(kCaseIndexFileName, 1, "NOME DO ARQUIVO DO CASO EM BRANCO");
  InputFile case_file(run.file(name));
  if (!case_file.is_open()) refuse_missing_file(name);
  return case_file;
}

void read_case_settings(Run& run, InputFile& case_file) {
  run.CASO = CaseSettings{};
  read_lines_1_to_14(run, case_file);
  read_optional_lines(run, case_file);
  if (run.CASO.TIPOTRANS == kCombinedOption) {
    run.combined_marker = run.PASSO == 1;
    run.CASO.TIPOTRANS = run.PASSO == 1 ? 2 : 3;
  }
}

}  // namespace darcalim
