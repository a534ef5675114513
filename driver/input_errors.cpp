#include "driver/input_errors.h"

#include <sstream>

namespace darcalim {

void refuse_unreadable_file(const std::string& file_name, const InputFile& file) {
  throw RunStop(" ERRO: ARQUIVO NAO ENCONTRADO OU ILEGIVEL: " + printable(file_name),
                printable(file_name) + ": " + file.fault());
}

void refuse_input(const std::string& file_name, int line, const InputItem& item, const std::string& console_text,
                  const std::string& reason) {
  throw RunStop(" ERRO NO ARQUIVO " + printable(file_name) + ", LINHA " + std::to_string(line) + ": " + console_text,
                located(printable(file_name), line) + " (" + item.name + "): " + reason);
}

std::string not_a_number(const std::string& field_text) {
  const std::size_t first = field_text.find_first_not_of(' ');
  const std::string text = first == std::string::npos ? "" : field_text.substr(first, field_text.find_last_not_of(' ') + 1 - first);
  return "\"" + printable(text) + "\" is not a number";
}

namespace {

std::optional<FieldValues> read_line(InputFile& file, const Layout& layout, const InputItem& item, bool required) {
  FieldValues values;
  const ReadOutcome outcome = layout.read_record(file, values);
  switch (outcome.status) {
    case ReadOutcome::Status::kOk:
      return values;
    case ReadOutcome::Status::kEndOfFile:
      if (!required) return std::nullopt;
      refuse_input(file.name(), outcome.line_number + 1, item,
                   "LINHA AUSENTE (" + std::string(item.console_name) + ")", "the file ends before this line");
    case ReadOutcome::Status::kBadField:
      refuse_input(file.name(), outcome.line_number, item,
                   "VALOR ILEGIVEL '" + printable(outcome.field_text) + "' (" + item.console_name + ")",
                   not_a_number(outcome.field_text));
  }
  return std::nullopt;
}

// A line of a report made short for a diagnostic: without the asterisks
// that frame it and with single blanks.
std::string plain_words(const std::string& line) {
  std::istringstream words(line);
  std::string text;
  for (std::string word; words >> word;) {
    if (word.find_first_not_of('*') == std::string::npos) continue;
    if (!text.empty()) text += ' ';
    text += word;
  }
  return text;
}

}  // namespace

FieldValues read_required_line(InputFile& file, const Layout& layout, const InputItem& item) {
  return *read_line(file, layout, item, true);
}

std::optional<FieldValues> read_optional_line(InputFile& file, const Layout& layout, const InputItem& item) {
  return read_line(file, layout, item, false);
}

void warn(std::ostream& diagnostics, const std::string& diagnostic) { diagnostics << "darcalim: " << diagnostic << "\n"; }

std::string stop_diagnostic(const Run& run, const RunStop& stop) {
  if (!stop.diagnostic().empty()) return stop.diagnostic();
  const std::string message = plain_words(stop.what());
  if (!message.empty()) return printable(message, 200);
  const std::string reason = plain_words(run.run_report.last_line());
  const std::string history = printable(trimmed(run.CASO.history_name));
  if (reason.empty() || history.empty()) return "stopped";
  return history + ": " + printable(reason, 200) + "; stopped (details in " +
         printable(trimmed(run.CASO.report_name)) + ")";
}

}  // namespace darcalim
