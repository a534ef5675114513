// The layouts of the output records that are read back: the record of the
// appended forecast file, the line of the model file and the lines of the
// error-ranking report. The program writes them through these layouts, and
// the run as a library call and the tools read them back through the same.
//
// Reading takes the fields as written (Layout::read_fields): the numbers as
// their text, and their value unless the field shows asterisks. A reader
// returns the outcome of the layout reading: kEndOfFile when the lines end
// within the record, kBadField when a literal of the layout does not stand in
// its columns (its line in line_number).
#pragma once

#include <array>
#include <string>
#include <vector>

#include "common/field_codecs.h"
#include "common/forecast_tables.h"
#include "common/layout.h"
#include "common/table_sizes.h"

namespace darcalim {

// --------------------------------------------- headers of the appended files --
// The first line of the appended forecast file and of the model file,
// written when the file is created.

const Layout& forecast_file_header_layout();
const Layout& model_file_header_layout();

// ----------------------------------------------- appended forecast record --
// Three lines: station code, year, month and week of the first forecast week
// and the six forecasts; "LIM. INFERIOR" and the six lower limits (floored at
// 0); "LIM. SUPERIOR" and the six upper limits.

inline constexpr int kForecastRecordLines = 3;
inline constexpr const char* kLowerLimitLabel = "LIM. INFERIOR";
inline constexpr const char* kUpperLimitLabel = "LIM. SUPERIOR";

const Layout& forecast_record_layout();

// The values of the record: the leads' PREV, LINF0 and LSUP.
FieldValues forecast_record_values(int station_code, int year, int month, int week, const LeadResults& lead);

// A record read back: the four integers as the texts of their fields.
struct ForecastRecordFields {
  std::string station_code;
  std::string year;
  std::string month;
  std::string week;
  std::array<WrittenNumber, kLeads> forecast;
  std::array<WrittenNumber, kLeads> lower;
  std::array<WrittenNumber, kLeads> upper;
};

ReadOutcome read_forecast_record(LineSource& source, ForecastRecordFields& out);

// ----------------------------------------------------- model-file line --
// Station code, year, month and week as in the forecast record, then for
// each lead the first 14 characters of the model kept, "(", CODESC and ")".

const Layout& model_line_layout();

FieldValues model_line_values(int station_code, int year, int month, int week, const LeadResults& lead);

// The models a line names, lead by lead, without blanks ("" for a blank field).
ReadOutcome read_model_line(LineSource& source, std::array<std::string, kLeads>& models);

// ------------------------------------------------ error-ranking report --
// A title, the overall section (" GERAL "), a section per month (" MES ")
// and per week ("  SEMANA ", then "REMQ    " before the errors), each a
// record of sorted errors (F7.3 and a comma, 47 to a line) followed by a
// record of model names (A14 and a comma, `names(n)` with n to a line); a
// week's section ends with its " MELHOR MODELO, " and " MELHOR MODELO APOS
// ANALISE, " lines, and with the variability check a target week's also with
// " MELHOR MODELO APOS LIMITES, ".

namespace ranking_layouts {

inline constexpr int kErrorsPerLine = 47;

const Layout& title();
const Layout& general();
const Layout& month();
const Layout& week();
Layout names(int per_line);
const Layout& best();
const Layout& chosen();
const Layout& after_limits();

// The lines of a week section, one by one, for reading it back: the
// "  SEMANA " line, the first line of errors (after "REMQ    ") and a further
// line of errors.
const Layout& week_title_line();
const Layout& first_errors_line();
const Layout& errors_line();

}  // namespace ranking_layouts

// The leading non-blank fields of `line` read through `layout`, without
// blanks; nothing when a literal of the layout does not stand in its columns.
std::optional<std::vector<std::string>> line_fields(const Layout& layout, const std::string& line);

}  // namespace darcalim
