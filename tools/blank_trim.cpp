#include "tools/blank_trim.h"

namespace darcalim {

namespace {

constexpr std::string_view kBlanks = " \t\r";

}  // namespace

std::string without_blanks(std::string_view text) {
  const auto first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return "";
  return std::string(text.substr(first, text.find_last_not_of(kBlanks) - first + 1));
}

}  // namespace darcalim
