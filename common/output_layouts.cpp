#include "common/output_layouts.h"

#include "common/input_file.h"
#include "common/model_names.h"

namespace darcalim {

namespace {

constexpr std::size_t kRecordHead = 4;  // station code, year, month, week
constexpr std::size_t kModelLineFieldsPerLead = 4;  // name, "(", CODESC, ")"

// The notation of the week section's lines, written as one record.
constexpr const char* kWeekTitle = "1X ' SEMANA ' I2";
constexpr const char* kErrorsHead = "'REMQ    '";
constexpr const char* kErrors = "47(F7.3 ',')";

FieldValues record_head(int station_code, int year, int month, int week) {
  return {std::int64_t{station_code}, std::int64_t{year}, std::int64_t{month}, std::int64_t{week}};
}

}  // namespace

const Layout& forecast_file_header_layout() {
  static const Layout kHeader(
      "(2X,'CODIGO',3X,'ANO',2X,'MES',2X,'SEM',4X,'PREV1',4X,'PREV2',4X,'PREV3',4X,'PREV4',4X,'PREV5',4X,"
      "'PREV6')");
  return kHeader;
}

const Layout& model_file_header_layout() {
  static const Layout kHeader(
      "(2X,'CODIGO',3X,'ANO',2X,'MES',2X,'SEM',5X,'PREVIS\xC3O1',12X,'PREVIS\xC3O2',12X,'PREVIS\xC3O3',12X,"
      "'PREVIS\xC3O4',12X,'PREVIS\xC3O5',12X,'PREVIS\xC3O6')");
  return kHeader;
}

const Layout& forecast_record_layout() {
  static const Layout kRecord(
      "(I8,2X,I4,3X,I2,3X,I2,6F9.1,/,'LIM. INFERIOR',11X,6F9.1,/,'LIM. SUPERIOR',11X,6F9.1)");
  return kRecord;
}

FieldValues forecast_record_values(int station_code, int year, int month, int week, const LeadResults& lead) {
  FieldValues v = record_head(station_code, year, month, week);
  for (int k = 1; k <= kLeads; ++k) v.emplace_back(lead.PREV(k));
  for (int k = 1; k <= kLeads; ++k) v.emplace_back(lead.LINF0(k));
  for (int k = 1; k <= kLeads; ++k) v.emplace_back(lead.LSUP(k));
  return v;
}

ReadOutcome read_forecast_record(LineSource& source, ForecastRecordFields& out) {
  std::vector<std::string> fields;
  const ReadOutcome outcome = forecast_record_layout().read_fields(source, fields);
  if (!outcome.ok()) return outcome;
  out.station_code = fields[0];
  out.year = fields[1];
  out.month = fields[2];
  out.week = fields[3];
  for (std::size_t k = 0; k < kLeads; ++k) {
    out.forecast[k] = read_written_number(fields[kRecordHead + k]);
    out.lower[k] = read_written_number(fields[kRecordHead + kLeads + k]);
    out.upper[k] = read_written_number(fields[kRecordHead + 2 * kLeads + k]);
  }
  return outcome;
}

const Layout& model_line_layout() {
  static const Layout kLine("(I8,2X,I4,3X,I2,3X,I2,5X,6(A14,A1,I3,A1,2X))");
  return kLine;
}

FieldValues model_line_values(int station_code, int year, int month, int week, const LeadResults& lead) {
  FieldValues v = record_head(station_code, year, month, week);
  for (int k = 1; k <= kLeads; ++k) {
    v.emplace_back(lead.ESCOLHA(k).substr(0, kShortNameWidth));
    v.emplace_back(std::string("("));
    v.emplace_back(std::int64_t{lead.CODESC(k)});
    v.emplace_back(std::string(")"));
  }
  return v;
}

ReadOutcome read_model_line(LineSource& source, std::array<std::string, kLeads>& models) {
  std::vector<std::string> fields;
  const ReadOutcome outcome = model_line_layout().read_fields(source, fields);
  if (!outcome.ok()) return outcome;
  for (std::size_t k = 0; k < kLeads; ++k) models[k] = trimmed(fields[kRecordHead + k * kModelLineFieldsPerLead]);
  return outcome;
}

namespace ranking_layouts {

const Layout& title() {
  static const Layout kTitle("'ORDENACAO DOS ERROS PELO CRITERIO DA RAIZ QUADRADA DO ERRO MEDIO QUADRATICO' /");
  return kTitle;
}
const Layout& general() {
  static const Layout kGeneral(std::string("' GERAL ' / ") + kErrors);
  return kGeneral;
}
const Layout& month() {
  static const Layout kMonth(std::string("/ ' MES ' I2 / ") + kErrors);
  return kMonth;
}
const Layout& week() {
  static const Layout kWeek(std::string("/ ") + kWeekTitle + " / " + kErrorsHead + " " + kErrors);
  return kWeek;
}
Layout names(int per_line) { return Layout(std::to_string(per_line) + "(A14 ',')"); }
const Layout& best() {
  static const Layout kBest("' MELHOR MODELO, ' A14");
  return kBest;
}
const Layout& chosen() {
  static const Layout kChosen("' MELHOR MODELO APOS ANALISE, ' A14");
  return kChosen;
}
const Layout& after_limits() {
  static const Layout kLimits("' MELHOR MODELO APOS LIMITES, ' A14");
  return kLimits;
}
const Layout& week_title_line() {
  static const Layout kLine(kWeekTitle);
  return kLine;
}
const Layout& first_errors_line() {
  static const Layout kLine(std::string(kErrorsHead) + " " + kErrors);
  return kLine;
}
const Layout& errors_line() {
  static const Layout kLine(kErrors);
  return kLine;
}

}  // namespace ranking_layouts

std::optional<std::vector<std::string>> line_fields(const Layout& layout, const std::string& line) {
  TextLines lines(line);
  std::vector<std::string> fields;
  if (!layout.read_fields(lines, fields).ok()) return std::nullopt;
  std::vector<std::string> present;
  for (const std::string& field : fields) {
    std::string text = trimmed(field);
    if (text.empty()) break;
    present.push_back(std::move(text));
  }
  return present;
}

}  // namespace darcalim
