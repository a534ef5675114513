// Refusal of input that the run cannot use: an orderly stop whose message
// names the file, the line where one is at fault, and what is wrong.
#pragma once

#include <string>

#include "common/input_file.h"
#include "common/layout.h"

namespace darcalim {

[[noreturn]] void refuse_missing_file(const std::string& file_name);
[[noreturn]] void refuse_input(const std::string& file_name, int line, const std::string& what);

// Reads one line through `layout`; a missing or unreadable line is refused
// with `item` naming what the line holds.
FieldValues read_required_line(InputFile& file, const Layout& layout, const std::string& item);

// Reads one line through `layout`; nothing at the end of the file, and an
// unreadable line is refused.
std::optional<FieldValues> read_optional_line(InputFile& file, const Layout& layout, const std::string& item);

inline int as_int(const FieldValue& v) { return static_cast<int>(std::get<std::int64_t>(v)); }
inline double as_real(const FieldValue& v) { return std::get<double>(v); }
inline const std::string& as_text(const FieldValue& v) { return std::get<std::string>(v); }

}  // namespace darcalim
