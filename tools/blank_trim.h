// The text of a field or a line of the files the companion tools read,
// without the blanks around it.
#pragma once

#include <string>
#include <string_view>

namespace darcalim {

// `text` without the spaces, tabs and carriage returns (the rest of a CR-LF
// line end) at either end; inner ones are kept. Empty when nothing else is
// left.
std::string without_blanks(std::string_view text);

}  // namespace darcalim
