// Refusal of input that the run cannot use: an orderly stop whose console
// message names the file, the line where one is at fault, and what is wrong,
// and whose diagnostic (one line on standard error) says the same in words.
#pragma once

#include <ostream>
#include <string>

#include "common/input_file.h"
#include "common/layout.h"
#include "driver/run.h"
#include "common/run_stop.h"

namespace darcalim {

// What a line of an input file holds: its name in the console messages and
// in the diagnostics.
struct InputItem {
  const char* console_name;  // e.g. "TIPO DE TRANSFORMACAO"
  const char* name;          // e.g. "transformation option"
};

// A file that cannot be opened for reading: "NAME: file not found or not
// readable", or "NAME: not a regular file (a FIFO has its name)".
[[noreturn]] void refuse_unreadable_file(const std::string& file_name, const InputFile& file);
// Console: " ERRO NO ARQUIVO F, LINHA N: <console_text>"; standard error:
// "F, line N (<item>): <reason>".
[[noreturn]] void refuse_input(const std::string& file_name, int line, const InputItem& item,
                               const std::string& console_text, const std::string& reason);

// Reads one line through `layout`; a missing or unreadable line is refused.
FieldValues read_required_line(InputFile& file, const Layout& layout, const InputItem& item);

// Reads one line through `layout`; nothing at the end of the file, and an
// unreadable line is refused.
std::optional<FieldValues> read_optional_line(InputFile& file, const Layout& layout, const InputItem& item);

// The diagnostic of an unreadable field: `"1O2.0" is not a number`.
std::string not_a_number(const std::string& field_text);

// Writes a warning about the input as one line on the error stream
// `diagnostics` (the run's, standard error unless the caller gives another).
void warn(std::ostream& diagnostics, const std::string& diagnostic);

// The diagnostic of a stop: its own, or, for a stop whose reason a phase
// wrote only to the run report (a week of zero variance, an unusable
// transformation), the history file, that reason and the report's name.
std::string stop_diagnostic(const Run& run, const RunStop& stop);

inline int as_int(const FieldValue& v) { return static_cast<int>(std::get<std::int64_t>(v)); }
inline double as_real(const FieldValue& v) { return std::get<double>(v); }
inline const std::string& as_text(const FieldValue& v) { return std::get<std::string>(v); }

}  // namespace darcalim
