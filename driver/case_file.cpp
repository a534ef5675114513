#include "driver/case_file.h"

#include <string>
#include <vector>
#include <system_error>

#include "common/file_access.h"
#include "common/run_stop.h"
#include "driver/case_data_layout.h"
#include "driver/input_errors.h"
#include "driver/run_files.h"
#include "stats/normal_quantile.h"

namespace darcalim {

namespace {

// The last "." of the report name must stand within its first 9 characters,
// so that the derived Box-Cox report name fits 12 characters.
constexpr std::size_t kLastDotLimit = 9;

const InputItem kCaseFileName{"NOME DO ARQUIVO DO CASO", "name of the case data file"};
const InputItem kReportName{"NOME DO RELATORIO", "report file name"};
const InputItem kPrintParameters{"IMPRIME PARAMETROS", "print-parameters switch"};
const InputItem kHistoryName{"ARQUIVO DE HISTORICO", "history file name"};
const InputItem kTransformation{"TIPO DE TRANSFORMACAO", "transformation option"};
const InputItem kStartMonth{"MES DE INICIO DO ANO HIDROLOGICO", "month of start of the hydrological year"};
const InputItem kForecastFileName{"ARQUIVO DE PREVISOES", "appended forecast file name"};
const InputItem kRankingReportName{"RELATORIO DE ORDENACAO DOS ERROS", "error-ranking report name"};
const InputItem kConfidence{"NIVEL DE CONFIANCA", "confidence level"};
const InputItem kForecastWeek{"SEMANA DA PREVISAO", "forecast week"};
const InputItem kForecastYear{"ANO DA PREVISAO", "forecast year"};
const InputItem kTrendSource{"ORIGEM DA TENDENCIA", "trend source"};
const InputItem kRecentFlowName{"ARQUIVO VAZPASTS", "recent-flow file name"};
const InputItem kEstimationYear{"ANO FINAL PARA ESTIMACAO", "last estimation year"};
const InputItem kStation{"NUMERO DO POSTO", "station number"};
const InputItem kVariability{"OPCAO DE VARIABILIDADE", "variability option"};
const InputItem kPercentileName{"ARQUIVO DE PERCENTIS", "percentile file name"};
const InputItem kWeeksPerYear{"SEMANAS POR ANO", "weeks per year"};

std::string read_text(InputFile& file, const char* layout, const InputItem& item) {
  return as_text(read_required_line(file, Layout(layout), item)[0]);
}

int read_integer(InputFile& file, const char* layout, const InputItem& item) {
  return as_int(read_required_line(file, Layout(layout), item)[0]);
}

void require(bool ok, const InputFile& file, const InputItem& item, const std::string& console_text,
             const std::string& reason) {
  if (!ok) refuse_input(file.name(), file.line_number(), item, console_text, reason);
}

std::string outside(int value, const char* range) { return std::to_string(value) + " is outside " + range; }

void skip_line(InputFile& file, const InputItem& item) { read_required_line(file, Layout("(A1)"), item); }

void read_lines_1_to_14(CaseSettings& c, InputFile& file) {
  c.report_name = read_text(file, case_data_line::kReportName.layout, kReportName);
  const auto dot = c.report_name.find_last_of('.');
  require(dot != std::string::npos && dot < kLastDotLimit, file, kReportName,
          "O NOME DO RELATORIO PRECISA DE UM '.' ATE O NONO CARACTERE",
          "\"" + printable(trimmed(c.report_name)) + "\" needs a \".\" within its first 9 characters");
  c.print_parameters = read_text(file, case_data_line::kPrintParameters.layout, kPrintParameters)[0];
  c.history_name = read_text(file, case_data_line::kHistoryName.layout, kHistoryName);
  c.TIPOTRANS = read_integer(file, case_data_line::kTransformation.layout, kTransformation);
  require(c.TIPOTRANS >= 0 && c.TIPOTRANS <= kCombinedOption, file, kTransformation,
          "TIPO DE TRANSFORMACAO FORA DE 0 A 5", outside(c.TIPOTRANS, "0..5"));
  c.start_month = read_integer(file, case_data_line::kStartMonth.layout, kStartMonth);
  require(c.start_month >= 1 && c.start_month <= 12, file, kStartMonth, "MES DE INICIO FORA DE 1 A 12",
          outside(c.start_month, "1..12"));
  c.forecast_file_name = read_text(file, case_data_line::kForecastFileName.layout, kForecastFileName);
  c.ranking_report_name = read_text(file, case_data_line::kRankingReportName.layout, kRankingReportName);
  c.confidence_level = read_integer(file, case_data_line::kConfidence.layout, kConfidence);
  const double probability = 1.0 - (1.0 - c.confidence_level / 100.0) / 2.0;
  const NormalQuantile quantile = NDTRI(probability);
  require(quantile.IER == 0, file, kConfidence, "NIVEL DE CONFIANCA ACIMA DE 100",
          outside(c.confidence_level, "0..99"));
  c.ZCONF = quantile.X;
  c.SEMPREV = read_integer(file, case_data_line::kForecastWeek.layout, kForecastWeek);
  require(c.SEMPREV >= 1 && c.SEMPREV <= kMaxWeeks, file, kForecastWeek, "SEMANA DA PREVISAO FORA DE 1 A 53",
          outside(c.SEMPREV, "1..53"));
  c.ANOPREV = read_integer(file, case_data_line::kForecastYear.layout, kForecastYear);
  c.trend_source = read_integer(file, case_data_line::kTrendSource.layout, kTrendSource);
  if (c.trend_source == 0) {
    c.vazpasts_name = read_text(file, case_data_line::kRecentFlowName.layout, kRecentFlowName);
    c.ANOFEST = read_integer(file, case_data_line::kEstimationYear.layout, kEstimationYear);
  } else {
    skip_line(file, kRecentFlowName);
    skip_line(file, kEstimationYear);
    c.ANOFEST = c.ANOPREV - 1;
  }
  c.station_number = read_integer(file, case_data_line::kStation.layout, kStation);
  require(c.trend_source != 0 || (c.station_number >= 1 && c.station_number <= kMaxStations), file, kStation,
          "NUMERO DO POSTO FORA DE 1 A 600", outside(c.station_number, "1..600"));
}

void read_optional_lines(CaseSettings& c, InputFile& file) {
  const auto option = read_optional_line(file, Layout(case_data_line::kVariability.layout), kVariability);
  if (!option) return;
  c.variability_option = as_int((*option)[0]);
  if (c.variability_option != 1 && c.variability_option != 2) c.variability_option = 0;
  if (c.variability_option != 0) {
    const auto name = read_optional_line(file, Layout(case_data_line::kPercentileName.layout), kPercentileName);
    if (!name) return;
    c.percentile_name = as_text((*name)[0]);
  } else if (!read_optional_line(file, Layout("(A1)"), kPercentileName)) {
    return;
  }
  const auto weeks = read_optional_line(file, Layout(case_data_line::kWeeksPerYear.layout), kWeeksPerYear);
  if (weeks && as_int((*weeks)[0]) == 1) c.NSEM = 53;
}

// ------------------------------------------------------- output names --

bool same_file(const std::filesystem::path& folder, const std::string& a, const std::string& b) {
  if (a == b) return true;
  std::error_code ec;
  return std::filesystem::equivalent(file_in(folder, a), file_in(folder, b), ec) && !ec;
}

// Why `name` cannot be the name of a file that the run writes, or "" when it
// can: it must be a plain file name of the working folder, and nothing but a
// regular file may have it.
std::string output_name_fault(const std::filesystem::path& folder, const std::string& name) {
  if (name.empty()) return "is blank";
  for (const char c : name) {
    if (c == '/' || c == '\\') return "must be a plain file name in the working folder (no \"/\" or \"\\\")";
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return "holds a control character";
  }
  if (name == "." || name == "..") return "names a folder";
  const std::string kind = irregular_kind(file_in(folder, name), false);
  if (kind == "a folder") return "names an existing folder";
  if (!kind.empty()) return "names " + kind + ", not a regular file";
  return "";
}

// The name of `file` as a message gives it: "X.BCX" (the Box-Cox report
// named after it) for a derived name.
std::string shown(const RunFileName& file) {
  std::string text = "\"" + printable(file.name) + "\"";
  if (file.derived) text += " (the " + file.what + " named after it)";
  return text;
}

// The other file of a clash: "the appended forecast file (line 6)".
std::string other(const RunFileName& file) {
  std::string text = "the " + file.what;
  if (file.line > 0) text += file.derived ? " (named after line " : " (line ";
  if (file.line > 0) text += std::to_string(file.line) + ")";
  return text;
}

// The item of the line that names a file.
const InputItem& name_item(int line) {
  switch (line) {
    case case_data_line::kReportName.number: return kReportName;
    case case_data_line::kHistoryName.number: return kHistoryName;
    case case_data_line::kForecastFileName.number: return kForecastFileName;
    case case_data_line::kRankingReportName.number: return kRankingReportName;
    case case_data_line::kRecentFlowName.number: return kRecentFlowName;
    case case_data_line::kPercentileName.number: return kPercentileName;
    default: return kCaseFileName;
  }
}

[[noreturn]] void refuse_name(const CaseSettings& c, const RunFileName& file, const std::string& fault) {
  refuse_input(c.case_file_name, file.line, name_item(file.line), "NOME DE ARQUIVO DE SAIDA INVALIDO '" + printable(file.name) + "'",
               shown(file) + " " + fault);
}

// Every output named in the case is a plain name that no other file of the
// run has: not an input, not a fixed output, not another output of the case.
void check_output_names(const std::filesystem::path& folder, const CaseSettings& c) {
  const std::vector<RunFileName> inputs = case_inputs(c);
  std::vector<RunFileName> taken = fixed_outputs();
  for (const RunFileName& output : case_outputs(c)) {
    const std::string fault = output_name_fault(folder, output.name);
    if (!fault.empty()) refuse_name(c, output, fault);
    if (output.name == kCaseIndexFileName) refuse_name(c, output, "is the name of an input file of the run");
    for (const RunFileName& input : inputs) {
      if (!input.name.empty() && same_file(folder, output.name, input.name)) {
        refuse_name(c, output, "is the name of an input file of the run");
      }
    }
    for (const RunFileName& earlier : taken) {
      if (same_file(folder, output.name, earlier.name)) refuse_name(c, output, "is also the name of " + other(earlier));
    }
    taken.push_back(output);
  }
}

// An input named like a fixed output would be written over by the run.
void check_input_names(const std::filesystem::path& folder, const CaseSettings& c) {
  for (const RunFileName& input : case_inputs(c)) {
    for (const RunFileName& output : fixed_outputs()) {
      if (input.name.empty() || !same_file(folder, input.name, output.name)) continue;
      const bool in_index = input.line == 0;
      refuse_input(in_index ? kCaseIndexFileName : c.case_file_name, in_index ? 1 : input.line, name_item(input.line),
                   "NOME DE ARQUIVO DE ENTRADA INVALIDO '" + printable(input.name) + "'",
                   "\"" + printable(input.name) + "\" is the name of the " + output.what + ", which the run writes");
    }
  }
}

}  // namespace

CaseDataFile open_case_data_file(const std::filesystem::path& folder) {
  InputFile index(file_in(folder, kCaseIndexFileName));
  if (!index.is_open()) refuse_unreadable_file(kCaseIndexFileName, index);
  const std::string name = trimmed(as_text(read_required_line(index, Layout(kCaseIndexLine), kCaseFileName)[0]));
  if (name.empty()) {
    refuse_input(kCaseIndexFileName, 1, kCaseFileName, "NOME DO ARQUIVO DO CASO EM BRANCO", "the name is blank");
  }
  CaseDataFile case_file{name, InputFile(file_in(folder, name))};
  if (!case_file.file.is_open()) refuse_unreadable_file(name, case_file.file);
  return case_file;
}

CaseSettings read_case_settings(const std::filesystem::path& folder, CaseDataFile& case_file) {
  CaseSettings c;
  c.case_file_name = case_file.name;
  read_lines_1_to_14(c, case_file.file);
  read_optional_lines(c, case_file.file);
  check_input_names(folder, c);
  check_output_names(folder, c);
  return c;
}

}  // namespace darcalim
