#include "driver/input_errors.h"

#include "common/run_stop.h"

namespace darcalim {

void refuse_missing_file(const std::string& file_name) {
  throw RunStop(" ERRO: ARQUIVO NAO ENCONTRADO OU ILEGIVEL: " + file_name);
}

void refuse_input(const std::string& file_name, int line, const std::string& what) {
  throw RunStop(" ERRO NO ARQUIVO " + file_name + ", LINHA " + std::to_string(line) + ": " + what);
}

namespace {

std::optional<FieldValues> read_line(InputFile& file, const Layout& layout, const std::string& item,
                                     bool required) {
  FieldValues values;
  const ReadOutcome outcome = layout.read_record(file, values);
  switch (outcome.status) {
    case ReadOutcome::Status::kOk:
      return values;
    case ReadOutcome::Status::kEndOfFile:
      if (!required) return std::nullopt;
      refuse_input(file.name(), outcome.line_number + 1, "LINHA AUSENTE (" + item + ")");
    case ReadOutcome::Status::kBadField:
      refuse_input(file.name(), outcome.line_number,
                   "VALOR ILEGIVEL '" + outcome.field_text + "' (" + item + ")");
  }
  return std::nullopt;
}

}  // namespace

FieldValues read_required_line(InputFile& file, const Layout& layout, const std::string& item) {
  return *read_line(file, layout, item, true);
}

std::optional<FieldValues> read_optional_line(InputFile& file, const Layout& layout, const std::string& item) {
  return read_line(file, layout, item, false);
}

}  // namespace darcalim
